// redivi/bond.hpp alone: every function it declares compiles and links.
#include "redivi/bond.hpp"

namespace header_check {

// Never run: building it is the check.
void bond_hpp() {
  debug_string(redivi::bond_order_from(1).value_or(redivi::BondOrder::Unspecified));
  [[maybe_unused]] const bool same = redivi::Bond{} == redivi::Bond{0, 1, redivi::BondOrder::Single};
}

}  // namespace header_check
