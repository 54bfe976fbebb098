// Uses the installed library: parses an element and reads the clock, beside a global now() of its own.
#include <redivi/redivi.hpp>

#include <cstdint>
#include <cstdio>
#include <string>

// The library's clock, read in clock.cpp through redivi/ts.hpp.
std::uint64_t library_now();

// The umbrella header leaves the library's C clock out, so a program may define a now() of its own.
int now() { return 7; }

int main() {
  const auto carbon = redivi::Element::try_from("c");
  if (!carbon || carbon->atomic_number() != 6 || library_now() == 0 || now() != 7) return 1;
  std::printf("redivi installed: %s, layout %s\n", std::string(carbon->symbol()).c_str(),
              redivi::current_schema_version().to_string().c_str());
  return 0;
}
