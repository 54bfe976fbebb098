// redivi/atom.hpp alone: it declares no function, only the atom reference type.
#include "redivi/atom.hpp"

namespace header_check {

// Never run: building it is the check.
redivi::AtomRef atom_hpp() { return redivi::AtomRef{0}; }

}  // namespace header_check
