// redivi/diagnostics.hpp alone: every function it declares compiles and links.
#include "redivi/diagnostics.hpp"

namespace header_check {

// Never run: building it is the check.
void diagnostics_hpp() {
  using redivi::diagnostics::Level;
  redivi::diagnostics::set_sink([](const redivi::diagnostics::Event&) {}, Level::warn);
  if (redivi::diagnostics::enabled(Level::warn)) redivi::diagnostics::emit("header_check", Level::warn, "text");
  redivi::diagnostics::clear_sink();
}

}  // namespace header_check
