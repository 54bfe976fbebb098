// PDB reading: ours against gemmi, RDKit, Open Babel and chemfiles on the largest corpus files, the
// one-million-atom text and the text whose chain identifiers recur.
#include <array>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

// The largest corpus files that the reader accepts (BaceCgSystemAtomistic.pdb and adk_oplsaa.pdb
// leave the element columns blank, water_hex.pdb.gz has hexadecimal serials). pdb1aq5 and 1gya
// hold 20 and 18 models, of which RDKit reads the first.
constexpr std::array<std::string_view, 6> files = {
    "pdb/1aon.pdb.gz", "pdb/6cvm.pdb", "pdb/pdb1aq5.ent.gz", "pdb/1gya.pdb", "pdb/3wip.pdb", "pdb/1igy.pdb",
};
constexpr std::array<Generator, 2> generated = {{
    {&bench::large_pdb, "1M-atom PDB"},
    {&bench::recurring_chain_pdb, "recurring-chain PDB"},
}};

// Open Babel's PDB reading time grows with the square of the atom count (measured: 4.5 s for
// 117,740 atoms, 14.5 s for 176,610, 50 s for 294,350), which would make one run on the
// one-million-atom text last many minutes.
constexpr std::size_t openbabel_max_bytes = 30'000'000;

std::string openbabel_skipped(std::string_view text) {
  return text.size() > openbabel_max_bytes ? "its time grows with the square of the atom count" : "";
}

void compare_pdb_read(const Options& options) {
  for (const Input& input : load_inputs(files, generated)) {
    const std::string_view text = input.text;
    run_side_by_side(
        options, "PDB read: " + input.name, "atoms", text.size(),
        joined(
            {
                {"redivi", [text] { return atoms_of(bench::read_pdb(text)); }},
                {"gemmi", [text] { return atoms_of(gemmi_read_pdb(text)); }},
                {"RDKit", [text] { return atoms_of(rdkit_read_pdb(text)); }},
                {"Open Babel", [text] { return atoms_of(openbabel_read(text, "pdb")); }, openbabel_skipped(text)},
            },
            chemfiles_readers(text, "PDB", &atoms_of)),
        input.expected);
  }
}

const bool registered = register_comparison({10, "pdb-read", &compare_pdb_read});

}  // namespace
}  // namespace redivi::compare
