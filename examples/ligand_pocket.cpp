// Finds the residues within a distance of a ligand, writes them and the ligand as a PDB pocket, reads it back.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <redivi/redivi.hpp>

namespace {

std::string read_file(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// "TYR 113": a residue's name, number and insertion code.
std::string residue_name(const redivi::Residues& residues, redivi::ResidueRef r) {
  return residues.seqs[r] + " " + std::to_string(residues.seq_ns[r]) + residues.insertion_codes[r];
}

int fail(const char* what, const std::string& why) {
  std::fprintf(stderr, "%s: %s\n", what, why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: ligand_pocket FILE.pdb LIGAND_NAME DISTANCE OUT.pdb\n");
    return 2;
  }
  const std::string ligand_name = argv[2];
  const float distance = std::strtof(argv[3], nullptr);

  // Without the residues that only SEQRES lists, every residue has atoms, and fragment i (the reader
  // makes one per residue with atoms) holds the atoms of residue i.
  const auto structures = redivi::pdb::from_pdb_with_options(read_file(argv[1]), /*include_seqres=*/false);
  if (!structures) return fail("PDB read error", to_string(structures.error()));
  if (structures->empty()) return fail(argv[1], "no structure");
  const redivi::TRC& trc = structures->front();  // the first model

  const std::vector<std::string>& names = trc.residues.seqs;
  const auto found = std::find(names.begin(), names.end(), ligand_name);
  if (found == names.end()) return fail(argv[2], "no residue of that name");
  const auto ligand = static_cast<redivi::ResidueRef>(found - names.begin());

  // The other fragments with an atom within the distance of a ligand atom, in ascending order.
  const auto near = trc.topology.get_fragments_near_fragment(ligand, distance);
  if (!near) return fail("fragment query error", to_string(near.error()));
  // Waters are residues like any other; this pocket leaves them out.
  std::vector<redivi::ResidueRef> pocket;
  for (const std::uint32_t r : *near) {
    if (names[r] != "HOH") pocket.push_back(r);
  }
  std::printf("%s has %zu atoms; %zu residues other than water lie within %.1f A:\n",
              residue_name(trc.residues, ligand).c_str(), trc.residues.residues[ligand].size(), pocket.size(),
              static_cast<double>(distance));
  for (const redivi::ResidueRef r : pocket) std::printf("  %s", residue_name(trc.residues, r).c_str());
  std::printf("\n");

  // The pocket: those residues and the ligand, in the structure's order, atoms renumbered from 0.
  pocket.insert(std::upper_bound(pocket.begin(), pocket.end(), ligand), ligand);
  const auto subset = trc.new_trc_from_residue_subset(pocket);
  if (!subset) return fail("subset error", to_string(subset.error()));
  const auto text = redivi::pdb::to_pdb(*subset);
  if (!text) return fail("PDB write error", to_string(text.error()));
  std::ofstream(argv[4], std::ios::binary) << *text;

  const auto reread = redivi::pdb::from_pdb_with_options(*text, false);
  if (!reread) return fail("PDB read error", to_string(reread.error()));
  const redivi::TRC& back = reread->front();
  std::printf("pocket written to %s: %zu residues, %zu atoms, %zu bonds; read back: %zu residues, %zu atoms\n", argv[4],
              subset->residues.residues.size(), subset->topology.symbols.size(), subset->topology.connectivity->size(),
              back.residues.residues.size(), back.topology.symbols.size());
  return 0;
}
