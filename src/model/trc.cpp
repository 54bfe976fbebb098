// The consistency check of a whole structure: topology, residues and chains together.
#include "redivi/trc.hpp"

#include "model/partition.hpp"

namespace redivi {
namespace {

using Result = std::expected<void, TRCError>;

Result fail(auto variant) { return std::unexpected(TRCError{variant}); }
Result fail_residues(auto variant) { return fail(TRCError::InvalidResidues{ResiduesError{variant}}); }
Result fail_chains(ChainsError error) { return fail(TRCError::InvalidChains{error}); }

Result check_residue_labels(const Residues& residues) {
  if (!residues.labeled) {
    if (residues.labels) return fail_residues(ResiduesError::LabeledMissing{});
    return {};
  }
  if (!residues.labels) return fail_residues(ResiduesError::LabelsMissing{});
  const std::size_t labeled_length = residues.labeled->size();
  const std::size_t residue_count = residues.residues.size();
  if (labeled_length != residues.labels->size()) {
    return fail_residues(ResiduesError::LabelMismatch{labeled_length, residues.labels->size()});
  }
  for (const ResidueRef residue : *residues.labeled) {
    if (residue >= residue_count) return fail_residues(ResiduesError::InvalidLabel{labeled_length, residue_count});
  }
  return {};
}

Result check_residue_columns(const Residues& residues) {
  const std::size_t seqs_length = residues.seqs.size();
  if (seqs_length != residues.residues.size()) {
    return fail_residues(ResiduesError::InvalidSeqsLength{seqs_length, residues.residues.size()});
  }
  if (residues.seq_ns.size() != seqs_length) {
    return fail_residues(ResiduesError::InvalidSeqNLength{residues.seq_ns.size(), seqs_length});
  }
  if (residues.insertion_codes.size() != seqs_length) {
    return fail_residues(ResiduesError::InvalidInsertionCodesLength{residues.insertion_codes.size(), seqs_length});
  }
  return {};
}

Result check_chain_labels(const Chains& chains) {
  if (!chains.labeled) {
    if (chains.labels) return fail_chains(ChainsError::LabeledMissing);
    return {};
  }
  if (!chains.labels) return fail_chains(ChainsError::LabelsMissing);
  if (chains.labeled->size() != chains.labels->size()) return fail_chains(ChainsError::LabelMismatch);
  for (const std::uint32_t chain : *chains.labeled) {
    if (chain >= chains.chains.size()) return fail_chains(ChainsError::LabelMismatch);
  }
  return {};
}

Result check_atoms_in_residues(const TRC& trc) {
  const partition::Outcome outcome = partition::check(trc.residues.residues, trc.topology.symbols.size());
  if (outcome.repeated) return fail(TRCError::AtomDoesNotExist{*outcome.repeated});
  if (!outcome.complete) return fail(TRCError::AtomsNotInResidues{});
  return {};
}

// A bitmap of the residues the chains list stands in for a search of every chain per residue.
Result check_residues_in_chains(const TRC& trc) {
  const std::size_t residue_count = trc.residues.residues.size();
  if (partition::lists_in_order(trc.chains.chains, residue_count)) return {};
  std::vector<bool> in_chain(residue_count);
  for (const Chain& chain : trc.chains.chains) {
    for (const ResidueRef residue : chain) {
      if (residue < residue_count) in_chain[residue] = true;
    }
  }
  for (std::size_t residue = 0; residue < residue_count; ++residue) {
    if (!in_chain[residue]) return fail(TRCError::ResidueNotInChain{static_cast<ResidueRef>(residue)});
  }
  return {};
}

Result check_chain_references(const TRC& trc) {
  for (const Chain& chain : trc.chains.chains) {
    for (const ResidueRef residue : chain) {
      if (residue >= trc.residues.residues.size()) return fail(TRCError::ResidueDoesNotExist{residue});
    }
  }
  return {};
}

Result check_membership(const TRC& trc) {
  if (trc.residues.residues.empty()) {
    if (!trc.topology.symbols.empty()) return fail(TRCError::AtomsNotInResidues{});
    return {};
  }
  if (auto result = check_atoms_in_residues(trc); !result) return result;
  return check_residues_in_chains(trc);
}

}  // namespace

std::expected<void, TRCError> TRC::check() const {
  if (auto result = topology.check(); !result) return fail(TRCError::InvalidTopology{result.error()});
  if (auto result = check_residue_labels(residues); !result) return result;
  if (auto result = check_residue_columns(residues); !result) return result;
  if (auto result = check_chain_labels(chains); !result) return result;
  if (auto result = check_membership(*this); !result) return result;
  return check_chain_references(*this);
}

}  // namespace redivi
