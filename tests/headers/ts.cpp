// redivi/ts.hpp alone: the C clock it declares compiles and links.
#include "redivi/ts.hpp"

namespace header_check {

// Never run: building it is the check.
void ts_hpp() { now(); }

}  // namespace header_check
