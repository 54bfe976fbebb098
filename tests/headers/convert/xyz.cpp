// redivi/convert/xyz.hpp alone: every function it declares compiles and links.
#include "redivi/convert/xyz.hpp"

namespace header_check {

// Never run: building it is the check.
void xyz_hpp() {
  const auto topology = redivi::xyz::from_xyz("");
  if (!topology) {
    to_string(topology.error());
    debug_string(topology.error());
    return;
  }
  redivi::xyz::to_xyz(*topology);
}

}  // namespace header_check
