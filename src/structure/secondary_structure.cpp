// What the PDB and mmCIF readers share in placing helices and sheet strands on a structure's residues.
#include "structure/secondary_structure.hpp"

namespace redivi::structure::detail {

std::optional<ResidueSpan> resolve_span(const StructureIndex& index, const ResidueKey& start, const ResidueKey& end) {
  const auto chain = index.chain_index(start.chain_id);
  if (!chain) return std::nullopt;
  const auto start_residue = index.residue_index(start);
  if (!start_residue) return std::nullopt;
  const auto end_residue = index.residue_index(end);
  if (!end_residue) return std::nullopt;
  return ResidueSpan{*chain, *start_residue, *end_residue};
}

std::optional<HelixClass> helix_class(std::int32_t number) {
  if (number < 1 || number > 10) return std::nullopt;
  return static_cast<HelixClass>(number);
}

}  // namespace redivi::structure::detail
