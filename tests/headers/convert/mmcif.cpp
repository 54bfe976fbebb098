// redivi/convert/mmcif.hpp alone: every function it declares compiles and links.
#include "redivi/convert/mmcif.hpp"

namespace header_check {

// Never run: building it is the check.
void mmcif_hpp() {
  const auto structures = redivi::mmcif::from_mmcif("");
  if (!structures) {
    to_string(structures.error());
    debug_string(structures.error());
  }
}

}  // namespace header_check
