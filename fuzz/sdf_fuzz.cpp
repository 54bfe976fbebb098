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
  if (!redivi::sdf::to_sdf(trcs, extras, text)) return 0;
  // Text the writer writes, its reader reads back: the same molecules with the same titles and atoms.
  const auto back = redivi::sdf::from_sdf(text);
  redivi::fuzz::require(back && back->first.size() == trcs.size(), "written SDF text reads back");
  for (std::size_t i = 0; i < trcs.size(); ++i) {
    const redivi::TRC& again = back->first[i];
    redivi::fuzz::require(
        again.topology.symbols == trcs[i].topology.symbols && again.residues.labels == trcs[i].residues.labels,
        "written SDF text reads back as the molecules written");
  }
  return 0;
}
