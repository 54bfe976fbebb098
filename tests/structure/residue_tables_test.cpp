// Residues in key order to residue and chain tables, and the formal charge of a residue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "structure/residue_tables.hpp"

namespace redivi::structure::detail {
namespace {

SortedResidues sorted(const std::vector<ResidueKey>& keys) {
  SortedResidues residues;
  AtomRef atom = 0;
  for (const ResidueKey& key : keys) residues.push_back(key, key.i_code == "~" ? "" : key.i_code, {atom++});
  return residues;
}

TEST(ResidueTables, MakeOneChainPerIdentifierLabelledWithIt) {
  const std::vector<ResidueKey> keys = {
      {"", 7, "~", "HOH"}, {"A", 1, "~", "MET"}, {"A", 52, "A", "GLY"}, {"A", 52, "~", "GLY"}, {"b", 1, "~", "ALA"}};
  Residues residues;
  Chains chains;
  const StructureIndex index = fill_residues_and_chains(sorted(keys), residues, chains);
  EXPECT_EQ(residues.residues, (std::vector<Residue>{{0}, {1}, {2}, {3}, {4}}));
  EXPECT_EQ(residues.seqs, (std::vector<std::string>{"HOH", "MET", "GLY", "GLY", "ALA"}));
  EXPECT_EQ(residues.seq_ns, (std::vector<std::int32_t>{7, 1, 52, 52, 1}));
  EXPECT_EQ(residues.insertion_codes, (std::vector<std::string>{"", "", "A", "", ""}));
  EXPECT_FALSE(residues.labeled.has_value());
  EXPECT_EQ(chains.chains, (std::vector<Chain>{{0}, {1, 2, 3}, {4}}));
  EXPECT_EQ(chains.labeled, (std::vector<std::uint32_t>{0, 1, 2}));
  EXPECT_EQ(chains.labels, (std::vector<std::vector<std::string>>{{""}, {"A"}, {"b"}}));
  EXPECT_EQ(index.chain_ids, (std::vector<std::string_view>{"", "A", "b"}));
  EXPECT_EQ(index.keys, keys);

  Chains none;
  fill_residues_and_chains(SortedResidues{}, residues, none);
  EXPECT_TRUE(none.chains.empty());
  EXPECT_EQ(none.labeled, std::vector<std::uint32_t>{});  // present and empty
}

TEST(ResidueTables, SumFormalChargesInThirtyTwoBits) {
  const std::vector<std::int32_t> charges = {1, -2, 2147483647, 1};
  struct Case {
    std::vector<AtomRef> atoms;
    std::optional<std::int32_t> sum;
  };
  const Case cases[] = {
      {{}, 0},
      {{0, 1}, -1},
      {{2, 3}, -2147483647 - 1},  // the low 32 bits of the sum
      {{0, 4}, std::nullopt},     // an atom without a charge
  };
  for (const Case& c : cases) EXPECT_EQ(formal_charge_sum(c.atoms, charges), c.sum);
}

}  // namespace
}  // namespace redivi::structure::detail
