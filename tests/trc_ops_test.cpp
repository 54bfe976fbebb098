// Joining and subsetting real structures keeps them valid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "redivi/trc.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

TEST(TRCOps, SubsetsAndSelfJoinsOfRealStructuresPassTheCheck) {
  const std::string files[] = {"pdb/1CRN.pdb", "pdb/1aki.pdb", "pdb/3o5r.pdb", "pdb/2XHE.pdb", "cif/1A8O.cif",
                               "cif/2BEG.cif"};
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const auto text = test::read_corpus_file(file);
    if (!text) GTEST_SKIP() << file << " absent";
    const auto structure = test::first_structure(file, *text);
    ASSERT_TRUE(structure.has_value());
    ASSERT_TRUE(structure->check().has_value());

    std::vector<ResidueRef> every_other;
    for (ResidueRef r = 0; r < structure->residues.residues.size(); r += 2) every_other.push_back(r);
    const auto subset = structure->new_trc_from_residue_subset(every_other);
    ASSERT_TRUE(subset.has_value());
    EXPECT_EQ(subset->residues.residues.size(), every_other.size());
    const auto subset_checked = subset->check();
    EXPECT_TRUE(subset_checked.has_value()) << debug_string(subset_checked.error());

    TRC joined = *structure;
    TRC copy = *structure;
    ASSERT_TRUE(joined.extend(std::move(copy)).has_value());
    EXPECT_EQ(joined.topology.symbols.size(), 2 * structure->topology.symbols.size());
    const auto joined_checked = joined.check();
    EXPECT_TRUE(joined_checked.has_value()) << debug_string(joined_checked.error());
  }
}

}  // namespace
}  // namespace redivi
