// The residue key that the PDB and mmCIF readers group atoms by, and the bytewise text order it sorts in.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace redivi::structure::detail {

// Equality of short texts without a call to memcmp: the hot loop compares a few bytes per atom, most
// often a view with itself, as atoms of one residue keep the same views.
constexpr bool same_text(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.data() == b.data()) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// Bytewise order of short texts (a prefix first), also without a call to memcmp.
constexpr std::strong_ordering compare_text(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) <=> static_cast<unsigned char>(b[i]);
  }
  return a.size() <=> b.size();
}

// Atoms with equal keys form one residue; residues are ordered by key, the fields compared in turn.
// The texts are views into the reader's input.
struct ResidueKey {
  std::string_view chain_id;
  std::int32_t res_seq = 0;
  std::string_view i_code;  // "~" for none, which sorts after letters and digits
  std::string_view res_name;

  friend constexpr std::strong_ordering operator<=>(const ResidueKey& a, const ResidueKey& b) {
    if (const auto order = compare_text(a.chain_id, b.chain_id); order != 0) return order;
    return compare_within_chain(a, b);
  }
  // The order of two keys of one chain: the chain identifiers are not compared.
  friend constexpr std::strong_ordering compare_within_chain(const ResidueKey& a, const ResidueKey& b) {
    if (const auto order = a.res_seq <=> b.res_seq; order != 0) return order;
    if (const auto order = compare_text(a.i_code, b.i_code); order != 0) return order;
    return compare_text(a.res_name, b.res_name);
  }
  friend constexpr bool operator==(const ResidueKey& a, const ResidueKey& b) {
    return a.res_seq == b.res_seq && same_text(a.chain_id, b.chain_id) && same_text(a.i_code, b.i_code) &&
           same_text(a.res_name, b.res_name);
  }
};

}  // namespace redivi::structure::detail
