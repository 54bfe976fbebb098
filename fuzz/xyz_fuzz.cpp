// Fuzz target: XYZ text, read, operated on and written back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exercise.hpp"
#include "redivi/convert/xyz.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto topology = redivi::xyz::from_xyz({reinterpret_cast<const char*>(data), size});
  if (!topology) return 0;
  redivi::fuzz::exercise(*topology);
  const auto text = redivi::xyz::to_xyz(*topology);
  redivi::fuzz::require(text.has_value(), "a topology read from XYZ text is written");
  const auto back = redivi::xyz::from_xyz(*text);
  redivi::fuzz::require(back && back->symbols == topology->symbols, "written XYZ text reads back");
  return 0;
}
