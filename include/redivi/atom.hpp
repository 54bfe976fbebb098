// References to atoms: 0-based indices into a structure's per-atom lists.
#pragma once

#include <cstdint>

namespace redivi {

// Atom i of a topology: index i of its symbols, labels and charges, and of its geometry and velocities
// in steps of three. 0-based; messages show it as AtomRef(index).
using AtomRef = std::uint32_t;

}  // namespace redivi
