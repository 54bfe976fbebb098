// Joining two structures and taking a structure's subset by residues.
#include <cstddef>
#include <utility>
#include <vector>

#include "redivi/trc.hpp"
#include "model/topology_subset.hpp"

namespace redivi {

std::expected<void, TRCError> TRC::extend(TRC&& other) {
  // Joining a structure to itself appends a copy: a list cannot be appended from its own elements.
  if (&other == this) return extend(TRC{other});
  topology.extend(std::move(other.topology));
  if (auto joined = residues.extend(std::move(other.residues)); !joined) {
    return std::unexpected(TRCError{TRCError::InvalidResidues{joined.error()}});
  }
  if (auto joined = chains.extend(std::move(other.chains)); !joined) {
    return std::unexpected(TRCError{TRCError::InvalidChains{joined.error()}});
  }
  return {};
}

// Every reference is checked against the residues before anything is built, and every selected atom
// against the topology, so a bad reference gives an error and never a partial structure.
std::expected<TRC, TRCError> TRC::new_trc_from_residue_subset(std::span<const ResidueRef> refs) const {
  std::size_t atom_count = 0;
  for (const ResidueRef ref : refs) {
    if (ref >= residues.residues.size()) return std::unexpected(TRCError{TRCError::ResidueDoesNotExist{ref}});
    atom_count += residues.residues[ref].size();
  }
  std::vector<AtomRef> selection;
  selection.reserve(atom_count);
  for (const ResidueRef ref : refs) {
    const Residue& residue = residues.residues[ref];
    selection.insert(selection.end(), residue.begin(), residue.end());
  }
  auto subset_topology = detail::topology_from_selection(topology, selection);
  if (!subset_topology) return std::unexpected(subset_topology.error());
  const std::vector<ResidueRef> ref_list(refs.begin(), refs.end());
  return TRC{std::move(*subset_topology), residues.new_residues_from_subset(ref_list),
             chains.new_chains_from_residue_subset(refs)};
}

}  // namespace redivi
