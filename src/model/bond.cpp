// Names of the bond orders.
#include "redivi/bond.hpp"

namespace redivi {

std::string_view debug_string(BondOrder order) noexcept {
  switch (order) {
    case BondOrder::Unspecified: return "Unspecified";
    case BondOrder::Single: return "Single";
    case BondOrder::Double: return "Double";
    case BondOrder::Triple: return "Triple";
    case BondOrder::Quadruple: return "Quadruple";
    case BondOrder::Quintuple: return "Quintuple";
    case BondOrder::Sextuple: return "Sextuple";
    case BondOrder::FiveAndAHalf: return "FiveAndAHalf";
    case BondOrder::FourAndAHalf: return "FourAndAHalf";
    case BondOrder::ThreeAndAHalf: return "ThreeAndAHalf";
    case BondOrder::TwoAndAHalf: return "TwoAndAHalf";
    case BondOrder::OneAndAHalf: return "OneAndAHalf";
    case BondOrder::Ring: return "Ring";
  }
  return "Unspecified";
}

}  // namespace redivi
