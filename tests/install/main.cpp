// Uses the installed library: parses an element and reads the clock.
#include <redivi/redivi.hpp>

#include <cstdio>

int main() {
  const auto carbon = redivi::Element::try_from("c");
  if (!carbon || carbon->atomic_number() != 6 || now() == 0) return 1;
  std::printf("redivi installed: %s, layout %s\n", std::string(carbon->symbol()).c_str(),
              redivi::current_schema_version().to_string().c_str());
  return 0;
}
