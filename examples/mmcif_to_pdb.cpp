// Converts mmCIF text to PDB text: one PDB file per model, each read back.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <redivi/redivi.hpp>

namespace {

std::string read_file(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mmcif_to_pdb IN.cif OUT_PREFIX\n");
    return 2;
  }
  // One structure per model of each data block; text without atom sites gives none.
  const auto models = redivi::mmcif::from_mmcif(read_file(argv[1]));
  if (!models) {
    std::fprintf(stderr, "mmCIF read error: %s\n", to_string(models.error()).c_str());
    return 1;
  }
  for (std::size_t i = 0; i < models->size(); ++i) {
    const redivi::TRC& model = (*models)[i];
    // The writer writes no MODEL record: each model is a PDB text of its own.
    const auto text = redivi::pdb::to_pdb(model);
    if (!text) {
      std::fprintf(stderr, "PDB write error: %s\n", to_string(text.error()).c_str());
      return 1;
    }
    const std::string path = std::string(argv[2]) + "_model" + std::to_string(i + 1) + ".pdb";
    std::ofstream(path, std::ios::binary) << *text;
    const auto reread = redivi::pdb::from_pdb_with_options(*text, true);
    const auto& helices = model.chains.alpha_helices;
    std::printf("model %zu: %zu atoms, %zu residues, %zu helices -> %s (read back: %zu atoms)\n", i + 1,
                model.topology.symbols.size(), model.residues.residues.size(), helices ? helices->helix_ids.size() : 0,
                path.c_str(), reread && !reread->empty() ? reread->front().topology.symbols.size() : 0);
  }
  return 0;
}
