// redivi/residue.hpp alone: every function it declares compiles and links.
#include "redivi/residue.hpp"

namespace header_check {

// Never run: building it is the check.
void residue_hpp() {
  redivi::Residues residues;
  residues.extend(redivi::Residues{});
  residues.new_residues_from_subset({});
  to_string(redivi::ResiduesError{});
  debug_string(redivi::ResiduesError{});
}

}  // namespace header_check
