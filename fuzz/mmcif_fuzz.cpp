// Fuzz target: mmCIF text, read, operated on and written as PDB.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exercise.hpp"
#include "redivi/convert/mmcif.hpp"
#include "redivi/convert/pdb.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto trcs = redivi::mmcif::from_mmcif({reinterpret_cast<const char*>(data), size});
  if (!trcs) return 0;
  for (const redivi::TRC& trc : *trcs) {
    redivi::fuzz::exercise(trc);
    (void)redivi::pdb::to_pdb(trc);
  }
  return 0;
}
