// Bonds between atoms, their orders and their stereochemistry flags.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "redivi/atom.hpp"
#include "redivi/export.hpp"

namespace redivi {

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

enum class Stereochemistry : std::int8_t {
  NONE = 0,
  Up = 1,
  Down = -1,
  Either = 2,
  CisOrTrans = 3,
};

struct Bond {
  AtomRef first = 0;
  AtomRef second = 0;
  BondOrder order = BondOrder::Unspecified;

  friend bool operator==(const Bond&, const Bond&) = default;
};

}  // namespace redivi
