// What the PDB and mmCIF readers share in placing helices and sheet strands on a structure's residues.
#pragma once

#include <cstdint>
#include <optional>

#include "redivi/chain.hpp"
#include "structure/residue_key.hpp"
#include "structure/residue_tables.hpp"

namespace redivi::structure::detail {

// The chain and the first and last residue of a helix or strand, as indices.
struct ResidueSpan {
  std::uint32_t chain;
  ResidueRef start, end;
};

// The chain of the start residue and both residues, when the structure has all three; texts must
// match byte for byte, residue names included. The end's chain is not compared with the start's.
std::optional<ResidueSpan> resolve_span(const StructureIndex& index, const ResidueKey& start, const ResidueKey& end);

// The helix class of a class number, 1 to 10; other numbers name none.
std::optional<HelixClass> helix_class(std::int32_t number);

}  // namespace redivi::structure::detail
