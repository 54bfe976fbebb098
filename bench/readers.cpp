// Our readers, reduced to counts for the drivers, and looked up by file extension.
#include "readers.hpp"

#include <algorithm>

#include <redivi/convert/mmcif.hpp>
#include <redivi/convert/pdb.hpp>
#include <redivi/convert/sdf.hpp>
#include <redivi/convert/xyz.hpp>

namespace redivi::bench {
namespace {

constexpr Reader readers[] = {
    {"PDB", {".pdb", ".ent"}, &read_pdb},
    {"mmCIF", {".cif", ".mmcif"}, &read_mmcif},
    {"SDF", {".sdf", ".mol"}, &read_sdf},
    {"XYZ", {".xyz", ".xyz"}, &read_xyz},
};

}  // namespace

ReadResult counted(std::span<const TRC> structures) {
  ReadResult result{structures.size(), 0, {}};
  for (const TRC& trc : structures) result.atoms += trc.topology.symbols.size();
  return result;
}

ReadResult read_pdb(std::string_view text) {
  const auto structures = pdb::from_pdb_with_options(text, true);
  if (!structures) return {0, 0, to_string(structures.error())};
  return counted(*structures);
}

ReadResult read_mmcif(std::string_view text) {
  const auto structures = mmcif::from_mmcif(text);
  if (!structures) return {0, 0, to_string(structures.error())};
  return counted(*structures);
}

ReadResult read_sdf(std::string_view text) {
  const auto read = sdf::from_sdf(text);
  if (!read) return {0, 0, to_string(read.error())};
  return counted(read->first);
}

ReadResult read_xyz(std::string_view text) {
  const auto topology = xyz::from_xyz(text);
  if (!topology) return {0, 0, to_string(topology.error())};
  return {1, topology->symbols.size(), {}};
}

const Reader* reader_for(std::string_view path) {
  if (path.ends_with(".gz")) path.remove_suffix(3);
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return nullptr;
  const std::string_view extension = path.substr(dot);
  for (const Reader& reader : readers) {
    if (std::ranges::find(reader.extensions, extension) != reader.extensions.end()) return &reader;
  }
  return nullptr;
}

}  // namespace redivi::bench
