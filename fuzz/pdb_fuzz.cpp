// Fuzz target: PDB text, read with and without SEQRES residues, written back and operated on.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exercise.hpp"
#include "redivi/convert/pdb.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text{reinterpret_cast<const char*>(data), size};
  for (const bool include_seqres : {false, true}) {
    const auto trcs = redivi::pdb::from_pdb_with_options(text, include_seqres);
    if (!trcs) continue;
    for (const redivi::TRC& trc : *trcs) {
      redivi::fuzz::exercise(trc);
      (void)redivi::pdb::to_pdb(trc);
    }
  }
  return 0;
}
