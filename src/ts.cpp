// The wall clock as nanoseconds since the UNIX epoch.
#include "redivi/ts.hpp"

#include <chrono>

extern "C" std::uint64_t now(void) {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  if (since_epoch.count() < 0) return 0;
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since_epoch);
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch - seconds);
  return static_cast<std::uint64_t>(seconds.count()) * 1'000'000'000u + static_cast<std::uint64_t>(nanoseconds.count());
}
