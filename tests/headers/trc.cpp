// redivi/trc.hpp alone: every function it declares compiles and links.
#include "redivi/trc.hpp"

namespace header_check {

// Never run: building it is the check.
void trc_hpp() {
  redivi::TRC trc;
  trc.check();
  trc.extend(redivi::TRC{});
  trc.new_trc_from_residue_subset({});
}

}  // namespace header_check
