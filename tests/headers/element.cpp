// redivi/element.hpp alone: every function it declares compiles and links.
#include "redivi/element.hpp"

namespace header_check {

// Never run: building it is the check.
void element_hpp() {
  redivi::Element::try_from("C");
  redivi::Element::find("C");
  redivi::Element::from_atomic_number(6).value_or(redivi::Element::X).symbol();
  [[maybe_unused]] const bool ordered = redivi::Element::H < redivi::Element::C;
  redivi::Element::Og.atomic_number();
}

}  // namespace header_check
