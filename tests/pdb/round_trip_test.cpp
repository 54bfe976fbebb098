// Real PDB files read, written and read again: the structure must come back unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "redivi/amino_acid.hpp"
#include "redivi/convert/pdb.hpp"
#include "test_data.hpp"

namespace redivi::pdb {
namespace {

// Serials past 99999, sequence numbers wider than four columns and chain letters beyond ASCII
// widen the written lines, so their text no longer meets the columns the reader takes them from.
bool fits_pdb_columns(const TRC& trc) {
  const auto& seq_ns = trc.residues.seq_ns;
  return trc.topology.symbols.size() <= 100'000 && trc.chains.chains.size() <= 63 &&
         std::ranges::all_of(seq_ns, [](std::int32_t n) { return n >= -999 && n <= 9999; });
}

std::int32_t charge_of(const Topology& topology, AtomRef a) {
  return topology.formal_charges && a < topology.formal_charges->size() ? (*topology.formal_charges)[a] : 0;
}

// Compares atoms residue by residue; returns where each original atom went.
std::vector<AtomRef> expect_same_atoms(const TRC& original, const TRC& reread) {
  const Topology& before = original.topology;
  const Topology& after = reread.topology;
  std::vector<AtomRef> moved(before.symbols.size(), 0);
  for (std::size_t r = 0; r < original.residues.residues.size(); ++r) {
    const Residue& old_atoms = original.residues.residues[r];
    const Residue& new_atoms = reread.residues.residues[r];
    EXPECT_EQ(new_atoms.size(), old_atoms.size()) << "residue " << r;
    for (std::size_t k = 0; k < std::min(old_atoms.size(), new_atoms.size()); ++k) {
      const AtomRef a = old_atoms[k];
      const AtomRef b = new_atoms[k];
      moved[a] = b;
      EXPECT_EQ(after.symbols[b], before.symbols[a]) << "atom " << a;
      EXPECT_EQ((*after.labels)[b], (*before.labels)[a]) << "atom " << a;
      EXPECT_EQ(charge_of(after, b), charge_of(before, a)) << "atom " << a;
      for (std::size_t axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(after.geometry[3 * b + axis], before.geometry[3 * a + axis], 5e-4) << "atom " << a;
      }
    }
  }
  return moved;
}

// Bonds between two atoms of amino-acid residues are not written; every other bond comes back.
void expect_same_bonds(const TRC& original, const TRC& reread, const std::vector<AtomRef>& moved) {
  std::vector<bool> in_amino_acid(original.topology.symbols.size(), false);
  for (std::size_t r = 0; r < original.residues.residues.size(); ++r) {
    if (!AminoAcidSeq::is_amino_acid(original.residues.seqs[r])) continue;
    for (const AtomRef a : original.residues.residues[r]) in_amino_acid[a] = true;
  }
  std::vector<Bond> expected;
  for (const Bond& bond : original.topology.connectivity.value_or(std::vector<Bond>{})) {
    if (in_amino_acid[bond.first] && in_amino_acid[bond.second]) continue;
    const AtomRef a = moved[bond.first];
    const AtomRef b = moved[bond.second];
    expected.push_back({std::min(a, b), std::max(a, b), bond.order});
  }
  std::vector<Bond> found = reread.topology.connectivity.value_or(std::vector<Bond>{});
  const auto by_atoms = [](const Bond& x, const Bond& y) {
    return std::pair(x.first, x.second) < std::pair(y.first, y.second);
  };
  std::ranges::sort(expected, by_atoms);
  std::ranges::sort(found, by_atoms);
  EXPECT_EQ(found, expected);
}

void expect_same_structure(const TRC& original, const TRC& reread) {
  EXPECT_EQ(reread.residues.seqs, original.residues.seqs);
  EXPECT_EQ(reread.residues.seq_ns, original.residues.seq_ns);
  EXPECT_EQ(reread.residues.insertion_codes, original.residues.insertion_codes);
  EXPECT_EQ(reread.chains.chains, original.chains.chains);
  ASSERT_EQ(reread.residues.residues.size(), original.residues.residues.size());
  ASSERT_TRUE(original.topology.labels && reread.topology.labels);
  const std::vector<AtomRef> moved = expect_same_atoms(original, reread);
  expect_same_bonds(original, reread, moved);
}

TEST(PdbRoundTrip, RealFilesComeBackUnchanged) {
  const std::vector<std::string> files = test::corpus_files("pdb");
  ASSERT_FALSE(files.empty()) << "neither the shared corpus nor tests/data holds PDB files";
  std::size_t compared = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const auto text = test::read_corpus_file("pdb/" + file);
    ASSERT_TRUE(text.has_value());
    const auto models = from_pdb_with_options(*text, false);
    if (!models) continue;  // files the reader refuses are its own tests' concern
    for (const TRC& original : *models) {
      if (!fits_pdb_columns(original)) continue;
      const auto written = to_pdb(original);
      ASSERT_TRUE(written.has_value()) << written.error().message;
      const auto reread = from_pdb_with_options(*written, false);
      ASSERT_TRUE(reread.has_value()) << to_string(reread.error());
      ASSERT_EQ(reread->size(), 1U);
      expect_same_structure(original, reread->front());
      ++compared;
    }
  }
  EXPECT_GE(compared, files.size() / 2);  // most files read, each with a model or more
}

}  // namespace
}  // namespace redivi::pdb
