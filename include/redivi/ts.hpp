// The wall clock, exported with C linkage for outside callers; redivi/redivi.hpp leaves it out, so that a
// program's own global now() does not clash with it.
#pragma once

#include <cstdint>

#include "redivi/export.hpp"

extern "C" {
// Nanoseconds since the UNIX epoch (0 when the clock reads a time before the epoch).
REDIVI_EXPORT std::uint64_t now(void);
}
