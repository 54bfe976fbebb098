// Fragments: groups of atoms that together partition a topology's atoms.
#pragma once

#include <cstdint>
#include <vector>

#include "redivi/atom.hpp"

namespace redivi {

// Messages show a fragment reference as FragmentRef(index).
using FragmentRef = std::uint32_t;

// The atoms of one fragment, in the order given.
using Fragment = std::vector<AtomRef>;

}  // namespace redivi
