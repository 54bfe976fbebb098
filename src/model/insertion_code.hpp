// The insertion code that the PDB and mmCIF readers store for a residue that has none.
#pragma once

#include <string_view>

namespace redivi::detail {

// A blank or missing insertion code reads as this text; the PDB writer leaves its column blank for it.
inline constexpr std::string_view no_insertion_code = "~";

// The code as the readers store it: the text itself, or no_insertion_code for an empty one.
constexpr std::string_view stored_insertion_code(std::string_view code) {
  return code.empty() ? no_insertion_code : code;
}

}  // namespace redivi::detail
