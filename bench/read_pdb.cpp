// Our PDB reader, as the drivers call it.
#include "readers.hpp"

#include <redivi/convert/pdb.hpp>

namespace redivi::bench {

ReadResult read_pdb(std::string_view text) {
  const auto structures = pdb::from_pdb_with_options(text, true);
  if (!structures) return {0, 0, to_string(structures.error())};
  return counted(*structures);
}

namespace {
const bool registered = register_reader({"PDB", {".pdb", ".ent"}, &read_pdb});
}  // namespace

}  // namespace redivi::bench
