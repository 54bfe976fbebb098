// Reads a PDB file and prints, per structure, its atoms, residues, chains, bonds, helices and strands.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <redivi/redivi.hpp>

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "examples/data/peptide.pdb";
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot open %s\n", path);
    return 1;
  }
  const std::string contents{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};

  // The library reads text, not files; include_seqres adds the residues SEQRES lists without atoms.
  const auto structures = redivi::pdb::from_pdb_with_options(contents, true);
  if (!structures) {
    std::fprintf(stderr, "PDB parse error: %s\n", redivi::pdb::to_string(structures.error()).c_str());
    return 1;
  }
  for (std::size_t i = 0; i < structures->size(); ++i) {
    const redivi::TRC& trc = (*structures)[i];
    const auto& helices = trc.chains.alpha_helices;
    const auto& sheets = trc.chains.beta_sheets;
    std::printf("structure %zu: %zu atoms, %zu residues, %zu chains, %zu bonds, %zu helices, %zu strands\n", i + 1,
                trc.topology.symbols.size(), trc.residues.residues.size(), trc.chains.chains.size(),
                trc.topology.connectivity ? trc.topology.connectivity->size() : 0,
                helices ? helices->helix_ids.size() : 0, sheets ? sheets->sheet_ids.size() : 0);
  }
  return 0;
}
