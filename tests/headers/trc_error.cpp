// redivi/trc_error.hpp alone: every function it declares compiles and links.
#include "redivi/trc_error.hpp"

namespace header_check {

// Never run: building it is the check.
void trc_error_hpp() {
  to_string(redivi::TRCError{});
  debug_string(redivi::TRCError{});
}

}  // namespace header_check
