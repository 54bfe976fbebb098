// A chain's full sequence numbered against the residues a structure has for it: the rule that PDB
// SEQRES records and mmCIF polymer sequences share.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "structure/residue_key.hpp"

namespace redivi::structure::detail {

// The keys of one chain's residues among keys in key order; empty when the chain has none.
std::span<const ResidueKey> chain_residues(std::span<const ResidueKey> keys, std::string_view chain_id);

// The number of a sequence position counted from begin, in 32 bits that wrap around.
constexpr std::int32_t sequence_number(std::int32_t begin, std::size_t position) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(begin) + static_cast<std::uint32_t>(position));
}

// The number of the first position of names, placed so that the first name equal to the name of the
// chain's first residue gets that residue's number; nothing when no name is equal.
template <class Names>
std::optional<std::int32_t> sequence_begin(const Names& names, const ResidueKey& first) {
  const auto found = std::find(names.begin(), names.end(), first.res_name);
  if (found == names.end()) return std::nullopt;
  const auto position = static_cast<std::uint32_t>(found - names.begin());
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(first.res_seq) - position);
}

// A sequence position that no residue of the chain occupies, and its number.
struct SequenceGap {
  std::size_t position;
  std::int32_t res_seq;
};

// The positions 0 .. length - 1, numbered from begin, whose number none of the chain's residues
// (in key order) has, whatever its name and insertion code.
std::vector<SequenceGap> sequence_gaps(std::span<const ResidueKey> chain, std::int32_t begin, std::size_t length);

}  // namespace redivi::structure::detail
