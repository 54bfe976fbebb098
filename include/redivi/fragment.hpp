// Fragments: groups of atoms that together partition a topology's atoms.
#pragma once

#include <cstdint>
#include <vector>

#include "redivi/atom.hpp"

namespace redivi {

// Fragment i of a topology: 0-based index into its fragments and their value lists; messages show it as
// FragmentRef(index).
using FragmentRef = std::uint32_t;

// The atoms of one fragment, in the order given; a fragment may hold none.
using Fragment = std::vector<AtomRef>;

}  // namespace redivi
