// The consistency checks of a topology and of a whole structure, and the list lengths a subset relies on.
#include "model/check.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "redivi/trc.hpp"

namespace redivi {
namespace {

// Whether groups of indices (residues, fragments) list each index below a count exactly once.
struct Partition {
  // The first index met a second time, walking the groups in order and each group in order.
  std::optional<std::uint32_t> repeated;
  // Without a repeat: whether every index below the count is listed.
  bool complete = false;
};

// Whether the groups list 0, 1, 2, ... count - 1 in this order, as readers build them: then every index
// is listed once and none lies past the count, which needs no bitmap to see.
bool lists_in_order(const std::vector<std::vector<std::uint32_t>>& groups, std::size_t count) {
  std::size_t next = 0;
  for (const auto& group : groups) {
    for (const std::uint32_t index : group) {
      if (index != next) return false;
      ++next;
    }
  }
  return next == count;
}

// Indices below the count are marked in a bitmap; those at or past it, which only broken tables
// hold, are kept in a hash set so that a repeat among them is found in walk order too. A table
// listing such an index is never complete: an index past the count stands for a missing atom.
Partition partition(const std::vector<std::vector<std::uint32_t>>& groups, std::size_t count) {
  if (lists_in_order(groups, count)) return {std::nullopt, true};
  std::vector<bool> seen(count);
  std::unordered_set<std::uint32_t> beyond;
  std::size_t distinct = 0;
  for (const auto& group : groups) {
    for (const std::uint32_t index : group) {
      if (index >= count) {
        if (!beyond.insert(index).second) return {index, false};
        continue;
      }
      if (seen[index]) return {index, false};
      seen[index] = true;
      ++distinct;
    }
  }
  return {std::nullopt, distinct == count && beyond.empty()};
}

// The topology rules: its lists against the atoms, bonds and fragments they describe.

using TopologyResult = std::expected<void, TopologyError>;

TopologyResult topology_error(auto variant) { return std::unexpected(TopologyError{variant}); }

// Whether an optional list is absent or has the expected length.
template <class T>
bool absent_or_sized(const std::optional<std::vector<T>>& list, std::size_t expected) {
  return !list || list->size() == expected;
}

TopologyResult check_atom_lists(const Topology& topology) {
  using E = TopologyError;
  const std::size_t n = topology.symbols.size();
  if (topology.geometry.size() != 3 * n) return topology_error(E::InvalidGeometryLength{topology.geometry.size(), n});
  if (!absent_or_sized(topology.labels, n)) return topology_error(E::InvalidLabelsLength{topology.labels->size(), n});
  if (!absent_or_sized(topology.partial_charges, n)) {
    return topology_error(E::InvalidPartialChargesLength{topology.partial_charges->size(), n});
  }
  if (!absent_or_sized(topology.formal_charges, n)) {
    return topology_error(E::InvalidFormalChargesLength{topology.formal_charges->size(), n});
  }
  return {};
}

// One stereochemistry entry per bond, when there are bonds.
TopologyResult check_stereochemistry_length(const Topology& topology) {
  if (!topology.connectivity) return {};
  const std::size_t bond_count = topology.connectivity->size();
  if (!absent_or_sized(topology.stereochemistry, bond_count)) {
    return topology_error(TopologyError::InvalidStereochemistryLength{topology.stereochemistry->size(), bond_count});
  }
  return {};
}

TopologyResult check_bonds(const Topology& topology) {
  const std::size_t n = topology.symbols.size();
  if (!topology.connectivity) {
    if (topology.stereochemistry) return topology_error(TopologyError::InvalidStereochemistryExistence{});
    return {};
  }
  for (const Bond& bond : *topology.connectivity) {
    if (bond.first >= n || bond.second >= n || bond.first == bond.second) {
      return topology_error(TopologyError::InvalidConnectivity{bond.first, bond.second});
    }
  }
  return check_stereochemistry_length(topology);
}

TopologyResult check_velocities(const Topology& topology) {
  const std::size_t n = topology.symbols.size();
  if (!absent_or_sized(topology.velocities, 3 * n)) {
    return topology_error(TopologyError::InvalidVelocitiesLength{topology.velocities->size(), n});
  }
  return {};
}

// A topology without fragments has none, so fragment value lists beside it must be empty.
TopologyResult check_fragment_lists(const Topology& topology) {
  using E = TopologyError;
  const std::size_t count = topology.fragments ? topology.fragments->size() : 0;
  if (!absent_or_sized(topology.fragment_formal_charges, count)) {
    return topology_error(E::InvalidFragmentFormalChargesLength{topology.fragment_formal_charges->size(), count});
  }
  if (!absent_or_sized(topology.fragment_partial_charges, count)) {
    return topology_error(E::InvalidFragmentPartialChargesLength{topology.fragment_partial_charges->size(), count});
  }
  if (!absent_or_sized(topology.fragment_multiplicities, count)) {
    return topology_error(E::InvalidFragmentMultiplicitiesLength{topology.fragment_multiplicities->size(), count});
  }
  return {};
}

TopologyResult check_fragments(const Topology& topology) {
  if (topology.fragments && !partition(*topology.fragments, topology.symbols.size()).complete) {
    return topology_error(TopologyError::InvalidFragments{});
  }
  return check_fragment_lists(topology);
}

// The structure rules: residues and chains, and how they cover the atoms and each other.

using TRCResult = std::expected<void, TRCError>;

TRCResult trc_error(auto variant) { return std::unexpected(TRCError{variant}); }
TRCResult residues_error(auto variant) { return trc_error(TRCError::InvalidResidues{ResiduesError{variant}}); }
TRCResult chains_error(ChainsError error) { return trc_error(TRCError::InvalidChains{error}); }

TRCResult check_residue_labels(const Residues& residues) {
  if (!residues.labeled) {
    if (residues.labels) return residues_error(ResiduesError::LabeledMissing{});
    return {};
  }
  if (!residues.labels) return residues_error(ResiduesError::LabelsMissing{});
  const std::size_t labeled_length = residues.labeled->size();
  const std::size_t residue_count = residues.residues.size();
  if (labeled_length != residues.labels->size()) {
    return residues_error(ResiduesError::LabelMismatch{labeled_length, residues.labels->size()});
  }
  for (const ResidueRef residue : *residues.labeled) {
    if (residue >= residue_count) return residues_error(ResiduesError::InvalidLabel{labeled_length, residue_count});
  }
  return {};
}

TRCResult check_residue_columns(const Residues& residues) {
  const std::size_t seqs_length = residues.seqs.size();
  if (seqs_length != residues.residues.size()) {
    return residues_error(ResiduesError::InvalidSeqsLength{seqs_length, residues.residues.size()});
  }
  if (residues.seq_ns.size() != seqs_length) {
    return residues_error(ResiduesError::InvalidSeqNLength{residues.seq_ns.size(), seqs_length});
  }
  if (residues.insertion_codes.size() != seqs_length) {
    return residues_error(ResiduesError::InvalidInsertionCodesLength{residues.insertion_codes.size(), seqs_length});
  }
  return {};
}

// Unlike the residues' labels, a chain label naming no chain is a mismatch, with no counts to report.
TRCResult check_chain_labels(const Chains& chains) {
  if (!chains.labeled) {
    if (chains.labels) return chains_error(ChainsError::LabeledMissing);
    return {};
  }
  if (!chains.labels) return chains_error(ChainsError::LabelsMissing);
  if (chains.labeled->size() != chains.labels->size()) return chains_error(ChainsError::LabelMismatch);
  for (const std::uint32_t chain : *chains.labeled) {
    if (chain >= chains.chains.size()) return chains_error(ChainsError::LabelMismatch);
  }
  return {};
}

TRCResult check_atoms_in_residues(const TRC& trc) {
  const Partition outcome = partition(trc.residues.residues, trc.topology.symbols.size());
  if (outcome.repeated) return trc_error(TRCError::AtomDoesNotExist{*outcome.repeated});
  if (!outcome.complete) return trc_error(TRCError::AtomsNotInResidues{});
  return {};
}

// A bitmap of the residues the chains list stands in for a search of every chain per residue.
TRCResult check_residues_in_chains(const TRC& trc) {
  const std::size_t residue_count = trc.residues.residues.size();
  if (lists_in_order(trc.chains.chains, residue_count)) return {};
  std::vector<bool> in_chain(residue_count);
  for (const Chain& chain : trc.chains.chains) {
    for (const ResidueRef residue : chain) {
      if (residue < residue_count) in_chain[residue] = true;
    }
  }
  for (std::size_t residue = 0; residue < residue_count; ++residue) {
    if (!in_chain[residue]) return trc_error(TRCError::ResidueNotInChain{static_cast<ResidueRef>(residue)});
  }
  return {};
}

TRCResult check_chain_references(const TRC& trc) {
  for (const Chain& chain : trc.chains.chains) {
    for (const ResidueRef residue : chain) {
      if (residue >= trc.residues.residues.size()) return trc_error(TRCError::ResidueDoesNotExist{residue});
    }
  }
  return {};
}

TRCResult check_membership(const TRC& trc) {
  if (trc.residues.residues.empty()) {
    if (!trc.topology.symbols.empty()) return trc_error(TRCError::AtomsNotInResidues{});
    return {};
  }
  if (auto result = check_atoms_in_residues(trc); !result) return result;
  return check_residues_in_chains(trc);
}

}  // namespace

std::expected<void, TopologyError> Topology::check() const {
  if (auto result = check_atom_lists(*this); !result) return result;
  if (auto result = check_bonds(*this); !result) return result;
  if (auto result = check_velocities(*this); !result) return result;
  return check_fragments(*this);
}

std::expected<void, TRCError> TRC::check() const {
  if (auto result = topology.check(); !result) return trc_error(TRCError::InvalidTopology{result.error()});
  if (auto result = check_residue_labels(residues); !result) return result;
  if (auto result = check_residue_columns(residues); !result) return result;
  if (auto result = check_chain_labels(chains); !result) return result;
  if (auto result = check_membership(*this); !result) return result;
  return check_chain_references(*this);
}

namespace detail {

std::expected<void, TopologyError> check_list_lengths(const Topology& topology) {
  if (auto result = check_atom_lists(topology); !result) return result;
  if (auto result = check_stereochemistry_length(topology); !result) return result;
  if (auto result = check_velocities(topology); !result) return result;
  if (!topology.fragments) return {};
  return check_fragment_lists(topology);
}

}  // namespace detail

}  // namespace redivi
