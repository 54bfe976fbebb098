// redivi/topology_error.hpp alone: every function it declares compiles and links.
#include "redivi/topology_error.hpp"

namespace header_check {

// Never run: building it is the check.
void topology_error_hpp() {
  to_string(redivi::TopologyError{});
  debug_string(redivi::TopologyError{});
}

}  // namespace header_check
