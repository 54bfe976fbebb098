// redivi/fragment.hpp alone: it declares no function, only the fragment types.
#include "redivi/fragment.hpp"

namespace header_check {

// Never run: building it is the check.
redivi::Fragment fragment_hpp(redivi::FragmentRef ref) { return redivi::Fragment{ref}; }

}  // namespace header_check
