// redivi/error.hpp alone: every function it declares compiles and links.
#include "redivi/error.hpp"

namespace header_check {

// Never run: building it is the check.
void error_hpp() {
  const redivi::error::Error error{redivi::error::Error::MissingAminoAcidTemplate{redivi::AminoAcidSeq::UNK}};
  to_string(error);
  debug_string(error);
}

}  // namespace header_check
