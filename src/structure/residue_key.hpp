// The residue key that the PDB and mmCIF readers group atoms by, and the order it sorts in.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/text.hpp"

namespace redivi::structure::detail {

// Atoms with equal keys form one residue; residues are ordered by key, the fields compared in turn.
// The texts are views into the reader's input.
struct ResidueKey {
  std::string_view chain_id;
  std::int32_t res_seq = 0;
  std::string_view i_code;  // "~" for none, which sorts after letters and digits
  std::string_view res_name;

  friend constexpr std::strong_ordering operator<=>(const ResidueKey& a, const ResidueKey& b) {
    if (const auto order = text::compare_short(a.chain_id, b.chain_id); order != 0) return order;
    return compare_within_chain(a, b);
  }
  // The order of two keys of one chain: the chain identifiers are not compared.
  friend constexpr std::strong_ordering compare_within_chain(const ResidueKey& a, const ResidueKey& b) {
    if (const auto order = a.res_seq <=> b.res_seq; order != 0) return order;
    if (const auto order = text::compare_short(a.i_code, b.i_code); order != 0) return order;
    return text::compare_short(a.res_name, b.res_name);
  }
  friend constexpr bool operator==(const ResidueKey& a, const ResidueKey& b) {
    return a.res_seq == b.res_seq && text::equal_short(a.chain_id, b.chain_id) &&
           text::equal_short(a.i_code, b.i_code) && text::equal_short(a.res_name, b.res_name);
  }
};

}  // namespace redivi::structure::detail
