// Fuzz target: SDF text, read, operated on and written back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exercise.hpp"
#include "redivi/convert/sdf.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto read = redivi::sdf::from_sdf({reinterpret_cast<const char*>(data), size});
  if (!read) return 0;
  const auto& [trcs, extras] = *read;
  for (const redivi::TRC& trc : trcs) redivi::fuzz::exercise(trc);
  std::string text;
  (void)redivi::sdf::to_sdf(trcs, extras, text);
  return 0;
}
