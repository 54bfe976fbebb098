// Our mmCIF reader, as the drivers call it.
#include "readers.hpp"

#include <redivi/convert/mmcif.hpp>

namespace redivi::bench {

ReadResult read_mmcif(std::string_view text) {
  const auto structures = mmcif::from_mmcif(text);
  if (!structures) return {0, 0, to_string(structures.error())};
  return counted(*structures);
}

namespace {
const bool registered = register_reader({"mmCIF", {".cif", ".mmcif"}, &read_mmcif});
}  // namespace

}  // namespace redivi::bench
