// redivi/redivi.hpp alone: it declares no function of its own, and every header it includes compiles in it.
#include "redivi/redivi.hpp"
