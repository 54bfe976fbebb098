// References to atoms: 0-based indices into a structure's per-atom lists.
#pragma once

#include <cstdint>

namespace redivi {

// Messages show an atom reference as AtomRef(index).
using AtomRef = std::uint32_t;

}  // namespace redivi
