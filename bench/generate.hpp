// Large benchmark inputs made in memory by replicating real structure files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace redivi::bench {

// A generated text and the number of atom records (molecules for SDF) it holds.
struct Generated {
  std::string text;
  std::size_t count = 0;
};

// The ATOM, HETATM and TER records of the source's first model, copied until at least min_atoms
// atoms are written, then END. Each copy starts a new single-character chain identifier and numbers
// its residues 1, 2, ... (a chain that reaches 9999 residues continues under the next identifier),
// so that no two copies share a residue. Serials count every atom and TER record and wrap after
// 99999 to 0, as five-column fields do. Nothing when the source has no atom record.
std::optional<Generated> replicate_pdb(std::string_view source, std::size_t min_atoms);

// The same records copied `copies` times, where each run of one source chain within a copy takes the
// next of chain_count identifiers in turn, so that each identifier recurs in several runs, as when the
// ligands and waters of every chain follow all the polymers. An identifier's residues are numbered on
// from its previous run. TER records are copied as in replicate_pdb. Nothing when the source has no
// atom record or chain_count is 0 or above 62.
std::optional<Generated> replicate_pdb_recurring_chains(std::string_view source, std::size_t copies,
                                                        std::size_t chain_count);

// The source with the rows of its "_atom_site" loop copied until at least min_atoms rows are
// written. Copy k > 0 renames every label_asym_id and auth_asym_id to the original name followed by
// "_k" (X_k for a null name); ids count the rows from 1. Nothing when the source has no such loop or
// one of its rows is not a single line of as many cells as the loop has tags.
std::optional<Generated> replicate_mmcif(std::string_view source, std::size_t min_atoms);

// The source's entries ("$$$$"-closed) repeated until at least min_molecules are written.
std::optional<Generated> replicate_sdf(std::string_view source, std::size_t min_molecules);

// One frame holding the atom lines of every frame of the source, repeated until at least
// min_atoms lines are written.
std::optional<Generated> replicate_xyz(std::string_view source, std::size_t min_atoms);

// The inputs the benchmarks share, made from the corpus files; nothing when a file is absent.
inline constexpr std::size_t large_atom_count = 1'000'000;
inline constexpr std::size_t large_molecule_count = 100'000;
std::optional<Generated> large_pdb();            // from pdb/1aon.pdb.gz
std::optional<Generated> recurring_chain_pdb();  // 18 copies of pdb/1aon.pdb.gz under 42 recurring chains
std::optional<Generated> large_mmcif();          // from cif/4zxb.cif
std::optional<Generated> large_sdf();            // from sdf/mols.1000.sdf.gz
std::optional<Generated> small_molecule_sdf();   // sdf/solubility.train.sdf (1,025 molecules) 100 times
std::optional<Generated> large_xyz();            // from xyz/ligs3d.xyz

}  // namespace redivi::bench
