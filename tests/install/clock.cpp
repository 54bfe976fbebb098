// Reads the library's clock through the header that declares it.
#include <redivi/ts.hpp>

#include <cstdint>

std::uint64_t library_now() { return now(); }
