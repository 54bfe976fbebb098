// Constraints: the tethered-atom groups of one SDF molecule, kept beside its structure.
#pragma once

#include <cstdint>
#include <vector>

namespace redivi {

// The "TETHERED ATOMS" data item of an SDF molecule.
struct Constraints {
  // One group per line of the item, each a list of 1-based atom numbers exactly as the file writes them;
  // empty when the molecule has no such item.
  std::vector<std::vector<std::uint32_t>> tethered_atoms;

  friend bool operator==(const Constraints&, const Constraints&) = default;
};

}  // namespace redivi
