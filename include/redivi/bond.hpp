// Bonds between atoms, their orders and their stereochemistry flags.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "redivi/atom.hpp"
#include "redivi/export.hpp"

namespace redivi {

// The order of a bond: Single to Sextuple hold their order as value, the half orders and Ring sit at
// 250-255. PDB CONECT records give order n to a pair they list n times (at most 6); mmCIF gives Single to
// Quadruple; SDF bond types 1-3 read as Single to Triple and type 4 as Ring. No reader gives Unspecified.
enum class BondOrder : std::uint8_t {
  Unspecified = 0,
  Single = 1,
  Double = 2,
  Triple = 3,
  Quadruple = 4,
  Quintuple = 5,
  Sextuple = 6,
  FiveAndAHalf = 250,
  FourAndAHalf = 251,
  ThreeAndAHalf = 252,
  TwoAndAHalf = 253,
  OneAndAHalf = 254,
  Ring = 255,
};

// The bond order whose value is this byte; bytes 7 to 249 are no bond order.
constexpr std::optional<BondOrder> bond_order_from(std::uint8_t value) noexcept {
  if (value <= 6 || value >= 250) return static_cast<BondOrder>(value);
  return std::nullopt;
}

// The order's name: "Single", "OneAndAHalf", "Ring", ...
REDIVI_EXPORT std::string_view debug_string(BondOrder order) noexcept;

// The stereo flag of a bond. Only the SDF reader sets it, from the bond stereo codes 0 (NONE), 1 (Up),
// 6 (Down), 4 (Either) and 3 (CisOrTrans); the values here are not those codes.
enum class Stereochemistry : std::int8_t {
  NONE = 0,
  Up = 1,
  Down = -1,
  Either = 2,
  CisOrTrans = 3,
};

// A bond between two atoms of one topology.
struct Bond {
  AtomRef first = 0;   // 0-based atom index
  AtomRef second = 0;  // 0-based atom index
  BondOrder order = BondOrder::Unspecified;

  friend bool operator==(const Bond&, const Bond&) = default;
};

}  // namespace redivi
