// redivi/version.hpp alone: every function it declares compiles and links.
#include "redivi/version.hpp"

namespace header_check {

// Never run: building it is the check.
void version_hpp() { redivi::current_schema_version().to_string(); }

}  // namespace header_check
