// PDB reading: ours against gemmi, RDKit and Open Babel on the largest corpus files and on the
// one-million-atom text.
#include <array>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

constexpr std::array<std::string_view, 6> files = {
    "pdb/1aon.pdb.gz", "pdb/BaceCgSystemAtomistic.pdb", "pdb/adk_oplsaa.pdb",
    "pdb/6cvm.pdb",    "pdb/pdb1aq5.ent.gz",            "pdb/1gya.pdb",
};

void compare_pdb_read(const Options& options) {
  for (const Input& input : load_inputs(files, &bench::large_pdb, "1M-atom PDB")) {
    const std::string_view text = input.text;
    run_side_by_side(options, "PDB read: " + input.name, "atoms", text.size(),
                     {
                         {"redivi", [text] { return atoms_of(bench::read_pdb(text)); }},
                         {"gemmi", [text] { return atoms_of(gemmi_read_pdb(text)); }},
                         {"RDKit", [text] { return atoms_of(rdkit_read_pdb(text)); }},
                         {"Open Babel", [text] { return atoms_of(openbabel_read(text, "pdb")); }},
                     },
                     input.expected);
  }
}

const bool registered = register_comparison({10, "pdb-read", &compare_pdb_read});

}  // namespace
}  // namespace redivi::compare
