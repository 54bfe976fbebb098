// Residues in key order to a structure's residue and chain tables, and the lookups of both by key.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "redivi/chain.hpp"
#include "redivi/residue.hpp"
#include "structure/residue_key.hpp"
#include "structure/residue_runs.hpp"

namespace redivi::structure::detail {

// The chain identifiers and residue keys of a structure in ascending order, so that a chain's or a
// residue's position among them is its index.
struct StructureIndex {
  std::vector<std::string_view> chain_ids;
  std::vector<ResidueKey> keys;

  std::optional<std::uint32_t> chain_index(std::string_view chain_id) const;
  std::optional<ResidueRef> residue_index(const ResidueKey& key) const;
};

// Fills the residue table in key order and one chain per chain identifier, in bytewise order of the
// identifiers, labelled with its identifier. Returns the index of both.
StructureIndex fill_residues_and_chains(SortedResidues&& sorted, Residues& residues, Chains& chains);

// The sum of the atoms' formal charges, kept to its low 32 bits; nothing when an atom has no charge.
inline std::optional<std::int32_t> formal_charge_sum(std::span<const AtomRef> atoms,
                                                     std::span<const std::int32_t> formal_charges) {
  std::int64_t sum = 0;
  for (const AtomRef atom : atoms) {
    if (atom >= formal_charges.size()) return std::nullopt;
    sum += formal_charges[atom];
  }
  return static_cast<std::int32_t>(sum);
}

}  // namespace redivi::structure::detail
