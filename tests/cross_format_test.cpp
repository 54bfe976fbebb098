// The same entry read from PDB and from mmCIF text gives the same residues, chains and atoms.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "listed_file.hpp"
#include "redivi/convert/mmcif.hpp"
#include "redivi/convert/pdb.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

// One atom as both readers see it: name, element and coordinates.
using AtomFacts = std::tuple<std::string, std::uint8_t, float, float, float>;
// A residue with atoms, by chain identifier, number, insertion code and name, with its atoms in order.
using ResidueFacts = std::tuple<std::string, std::int32_t, std::string, std::string, std::vector<AtomFacts>>;

// Every residue that holds atoms, in structure order; both readers order residues by the same key.
std::vector<ResidueFacts> residue_facts(const TRC& trc) {
  std::vector<std::string> chain_of(trc.residues.residues.size());
  for (std::size_t c = 0; c < trc.chains.chains.size(); ++c) {
    for (const ResidueRef r : trc.chains.chains[c]) chain_of[r] = (*trc.chains.labels)[c].front();
  }
  const Topology& topology = trc.topology;
  std::vector<ResidueFacts> facts;
  for (std::size_t r = 0; r < trc.residues.residues.size(); ++r) {
    if (trc.residues.residues[r].empty()) continue;
    std::vector<AtomFacts> atoms;
    for (const AtomRef a : trc.residues.residues[r]) {
      atoms.emplace_back((*topology.labels)[a], topology.symbols[a].atomic_number(), topology.geometry[3 * a],
                         topology.geometry[3 * a + 1], topology.geometry[3 * a + 2]);
    }
    facts.emplace_back(chain_of[r], trc.residues.seq_ns[r], trc.residues.insertion_codes[r], trc.residues.seqs[r],
                       std::move(atoms));
  }
  return facts;
}

TEST(CrossFormat, PdbAndMmcifOfOneEntryAgree) {
  const std::pair<std::string_view, std::string_view> entries[] = {
      {"pdb/1A8O.pdb", "cif/1A8O.cif"}, {"pdb/1LCD.pdb", "cif/1LCD.cif"}, {"pdb/2BEG.pdb", "cif/2BEG.cif"},
      {"pdb/2XHE.pdb", "cif/2XHE.cif"}, {"pdb/1aki.pdb", "cif/1aki.cif"}, {"pdb/1gya.pdb", "cif/1gya.cif"},
      {"pdb/1l2y.pdb", "cif/1l2y.cif"}, {"pdb/3o5r.pdb", "cif/3o5r.cif"}, {"pdb/5ugo.pdb", "cif/5ugo.cif"},
      {"pdb/4lzt.pdb", "cif/4LZT.cif"}};
  std::size_t compared = 0;
  for (const auto& [pdb_path, cif_path] : entries) {
    SCOPED_TRACE(pdb_path);
    const auto pdb_text = test::read_listed_file(pdb_path);
    const auto cif_text = test::read_listed_file(cif_path);
    if (!pdb_text || !cif_text) continue;
    ++compared;
    const auto from_pdb = pdb::from_pdb_with_options(*pdb_text, true);
    const auto from_cif = mmcif::from_mmcif(*cif_text);
    ASSERT_TRUE(from_pdb.has_value()) << to_string(from_pdb.error());
    ASSERT_TRUE(from_cif.has_value()) << to_string(from_cif.error());
    ASSERT_FALSE(from_pdb->empty());
    ASSERT_FALSE(from_cif->empty());
    // Some PDB files of the corpus hold only the first model of the entry.
    const std::size_t models = std::min(from_pdb->size(), from_cif->size());
    for (std::size_t model = 0; model < models; ++model) {
      SCOPED_TRACE(model);
      EXPECT_EQ(residue_facts((*from_pdb)[model]), residue_facts((*from_cif)[model]));
    }
  }
  EXPECT_GT(compared, 0u);
}

}  // namespace
}  // namespace redivi
