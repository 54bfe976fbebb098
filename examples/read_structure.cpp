// Reads structure files (PDB, mmCIF, SDF or XYZ, by extension), checks every structure and prints what it holds.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <redivi/redivi.hpp>

namespace {

void print_structure(std::size_t index, const redivi::TRC& trc) {
  const auto& helices = trc.chains.alpha_helices;
  const auto& sheets = trc.chains.beta_sheets;
  const auto checked = trc.check();
  std::printf("  structure %zu: %zu atoms, %zu residues, %zu chains, %zu bonds, %zu helices, %zu strands; check: %s\n",
              index + 1, trc.topology.symbols.size(), trc.residues.residues.size(), trc.chains.chains.size(),
              trc.topology.connectivity ? trc.topology.connectivity->size() : 0,
              helices ? helices->helix_ids.size() : 0, sheets ? sheets->sheet_ids.size() : 0,
              checked ? "ok" : to_string(checked.error()).c_str());
}

void print_structures(std::span<const redivi::TRC> structures) {
  for (std::size_t i = 0; i < structures.size(); ++i) print_structure(i, structures[i]);
}

// Reads the text in the format its file name says; false when the reader refuses it.
bool read(std::string_view path, std::string_view contents) {
  if (path.ends_with(".pdb") || path.ends_with(".ent")) {
    // include_seqres adds the residues that SEQRES lists without atoms, numbered one by one along SEQRES:
    // for chains numbered otherwise (insertion codes) it adds residues that do not exist.
    const auto structures = redivi::pdb::from_pdb_with_options(contents, true);
    if (!structures) return std::fprintf(stderr, "PDB parse error: %s\n", to_string(structures.error()).c_str()) < 0;
    print_structures(*structures);
  } else if (path.ends_with(".cif")) {
    const auto structures = redivi::mmcif::from_mmcif(contents);
    if (!structures) return std::fprintf(stderr, "mmCIF parse error: %s\n", to_string(structures.error()).c_str()) < 0;
    print_structures(*structures);
  } else if (path.ends_with(".sdf") || path.ends_with(".mol")) {
    const auto molecules = redivi::sdf::from_sdf(contents);
    if (!molecules) return std::fprintf(stderr, "SDF parse error: %s\n", to_string(molecules.error()).c_str()) < 0;
    print_structures(molecules->first);
  } else if (path.ends_with(".xyz")) {
    const auto topology = redivi::xyz::from_xyz(contents);
    if (!topology) return std::fprintf(stderr, "XYZ parse error: %s\n", to_string(topology.error()).c_str()) < 0;
    std::printf("  %zu atoms\n", topology->symbols.size());
  } else {
    std::fprintf(stderr, "unknown format: %.*s\n", static_cast<int>(path.size()), path.data());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> paths(argv + 1, argv + argc);
  if (paths.empty()) paths = {"examples/data/peptide.pdb"};
  bool all_read = true;
  for (const std::string& path : paths) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "cannot open %s\n", path.c_str());
      all_read = false;
      continue;
    }
    // The library reads text, not files.
    const std::string contents{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::printf("%s\n", path.c_str());
    all_read = read(path, contents) && all_read;
  }
  return all_read ? 0 : 1;
}
