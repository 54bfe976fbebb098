// redivi/constraints.hpp alone: it declares no function but the comparison of its one type.
#include "redivi/constraints.hpp"

namespace header_check {

// Never run: building it is the check.
bool constraints_hpp() { return redivi::Constraints{} == redivi::Constraints{{{1, 2}}}; }

}  // namespace header_check
