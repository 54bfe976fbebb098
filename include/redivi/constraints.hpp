// Constraints: the tethered-atom groups of one SDF molecule, kept beside its structure.
#pragma once

#include <cstdint>
#include <vector>

namespace redivi {

struct Constraints {
  // Each group lists 1-based atom numbers exactly as the file writes them.
  std::vector<std::vector<std::uint32_t>> tethered_atoms;

  friend bool operator==(const Constraints&, const Constraints&) = default;
};

}  // namespace redivi
