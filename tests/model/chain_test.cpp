// Chain tables: helix and strand stores, and joining chain tables with their helices, strands and labels.
#include "redivi/chain.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace redivi {
namespace {

using Labels = std::vector<std::vector<std::string>>;

Chains make_chains(std::vector<Chain> chains) {
  Chains table;
  table.chains = std::move(chains);
  return table;
}

Chains labeled(Chains table, std::vector<std::uint32_t> labeled_chains, Labels labels) {
  table.labeled = std::move(labeled_chains);
  table.labels = std::move(labels);
  return table;
}

AlphaHelices one_helix(std::string id, std::uint32_t chain, std::uint32_t start, std::uint32_t end) {
  AlphaHelices helices;
  helices.push(std::move(id), chain, start, end, HelixClass::RightHandedPi, 7);
  return helices;
}

BetaSheets one_strand(std::string sheet, std::uint32_t chain, std::uint32_t start, std::uint32_t end) {
  BetaSheets sheets;
  sheets.push(std::move(sheet), "1", 2, 3, chain, start, end, StrandSense::AntiParallel);
  return sheets;
}

TEST(HelicesAndSheets, PushAppendsOneEntryToEveryColumnInOrder) {
  AlphaHelices helices;
  helices.push("1", 0, 2, 9, HelixClass::RightHandedAlpha, 8);
  helices.push("2", 1, 12, 15, std::nullopt, std::nullopt);
  helices.push("1", 1, 20, 30, HelixClass::Polyproline, 0);
  EXPECT_EQ(helices.helix_ids, (std::vector<std::string>{"1", "2", "1"}));
  EXPECT_EQ(helices.chain_refs, (std::vector<std::uint32_t>{0, 1, 1}));
  EXPECT_EQ(helices.start_residues, (std::vector<std::uint32_t>{2, 12, 20}));
  EXPECT_EQ(helices.end_residues, (std::vector<std::uint32_t>{9, 15, 30}));
  EXPECT_EQ(helices.classes, (std::vector<std::optional<HelixClass>>{HelixClass::RightHandedAlpha, std::nullopt,
                                                                     HelixClass::Polyproline}));
  EXPECT_EQ(helices.lengths, (std::vector<std::optional<std::uint32_t>>{8, std::nullopt, 0}));

  BetaSheets sheets;
  sheets.push("A", "1", 1, 3, 0, 4, 6, StrandSense::First);
  sheets.push("A", "2", std::nullopt, std::nullopt, 2, 10, 7, std::nullopt);
  sheets.push("B", "1", 2, 3, 1, 8, 9, StrandSense::AntiParallel);
  EXPECT_EQ(sheets.sheet_ids, (std::vector<std::string>{"A", "A", "B"}));
  EXPECT_EQ(sheets.strand_ids, (std::vector<std::string>{"1", "2", "1"}));
  EXPECT_EQ(sheets.strand_ordinals, (std::vector<std::optional<std::uint32_t>>{1, std::nullopt, 2}));
  EXPECT_EQ(sheets.num_strands, (std::vector<std::optional<std::uint32_t>>{3, std::nullopt, 3}));
  EXPECT_EQ(sheets.chain_refs, (std::vector<std::uint32_t>{0, 2, 1}));
  EXPECT_EQ(sheets.start_residues, (std::vector<std::uint32_t>{4, 10, 8}));
  EXPECT_EQ(sheets.end_residues, (std::vector<std::uint32_t>{6, 7, 9}));
  EXPECT_EQ(sheets.senses,
            (std::vector<std::optional<StrandSense>>{StrandSense::First, std::nullopt, StrandSense::AntiParallel}));
  EXPECT_EQ(static_cast<int>(*sheets.senses[2]), 255);
}

TEST(ChainsExtend, ShiftsResiduesByTheResiduesListedInTheReceiver) {
  Chains self = make_chains({{0, 1}, {2}});
  ASSERT_TRUE(self.extend(make_chains({{0}, {1, 2}})).has_value());
  EXPECT_EQ(self.chains, (std::vector<Chain>{{0, 1}, {2}, {3}, {4, 5}}));

  Chains unchanged = labeled(make_chains({{0}}), {0}, {{"A"}});
  unchanged.alpha_helices = one_helix("H1", 0, 0, 0);
  const Chains before = unchanged;
  ASSERT_TRUE(unchanged.extend(Chains{}).has_value());
  EXPECT_EQ(unchanged, before);
}

TEST(ChainsExtend, ShiftsHelicesAndStrandsOfTheOther) {
  Chains other = make_chains({{0, 1}});
  other.alpha_helices = one_helix("H1", 0, 0, 1);
  other.beta_sheets = one_strand("S1", 0, 1, 0);

  Chains without = make_chains({{0, 1}, {2}});
  ASSERT_TRUE(without.extend(Chains{other}).has_value());
  EXPECT_EQ(without.alpha_helices, one_helix("H1", 2, 3, 4));
  EXPECT_EQ(without.beta_sheets, one_strand("S1", 2, 4, 3));

  Chains with = make_chains({{0, 1}, {2}});
  with.alpha_helices = one_helix("H1", 1, 2, 2);
  with.beta_sheets = one_strand("S0", 0, 0, 1);
  ASSERT_TRUE(with.extend(Chains{other}).has_value());
  AlphaHelices helices = one_helix("H1", 1, 2, 2);
  helices.push("H1", 2, 3, 4, HelixClass::RightHandedPi, 7);
  EXPECT_EQ(with.alpha_helices, helices);
  BetaSheets sheets = one_strand("S0", 0, 0, 1);
  sheets.push("S1", "1", 2, 3, 2, 4, 3, StrandSense::AntiParallel);
  EXPECT_EQ(with.beta_sheets, sheets);

  Chains keeps = make_chains({{0}});
  keeps.alpha_helices = one_helix("H9", 0, 0, 0);
  ASSERT_TRUE(keeps.extend(make_chains({{0}})).has_value());
  EXPECT_EQ(keeps.alpha_helices, one_helix("H9", 0, 0, 0));
  EXPECT_FALSE(keeps.beta_sheets.has_value());
}

TEST(ChainsExtend, AppendsHelixColumnsOfUnequalLengthAsTheyAre) {
  Chains self = make_chains({{0}});
  self.alpha_helices = one_helix("H1", 0, 0, 0);
  Chains other = make_chains({{0}});
  other.alpha_helices = one_helix("H2", 0, 0, 0);
  other.alpha_helices->lengths.clear();
  other.alpha_helices->helix_ids.push_back("H3");
  ASSERT_TRUE(self.extend(std::move(other)).has_value());
  EXPECT_EQ(self.alpha_helices->helix_ids, (std::vector<std::string>{"H1", "H2", "H3"}));
  EXPECT_EQ(self.alpha_helices->chain_refs, (std::vector<std::uint32_t>{0, 1}));
  EXPECT_EQ(self.alpha_helices->lengths.size(), 1u);
}

TEST(ChainsExtend, JoinsLabelsByWhichFieldsArePresent) {
  struct Case {
    const char* name;
    Chains self, other;
    std::optional<std::vector<std::uint32_t>> labeled;
    std::optional<Labels> labels;
  };
  const Chains one = make_chains({{0}});
  Chains other_labels_only = one;
  other_labels_only.labels = Labels{{"x"}};
  Chains other_labeled_only = one;
  other_labeled_only.labeled = std::vector<std::uint32_t>{0};
  Chains self_labeled_only = one;
  self_labeled_only.labeled = std::vector<std::uint32_t>{0};
  Case cases[] = {
      {"one label each", labeled(one, {0}, {{"A"}}), labeled(one, {0}, {{"B"}}), std::vector<std::uint32_t>{0, 1},
       Labels{{"A"}, {"B"}}},
      {"other's labels without labeled dropped", labeled(one, {0}, {{"A"}}), other_labels_only,
       std::vector<std::uint32_t>{0}, Labels{{"A"}}},
      {"self without labeled takes other's", one, other_labeled_only, std::vector<std::uint32_t>{1}, std::nullopt},
      {"self with labeled only keeps it", self_labeled_only, labeled(one, {0}, {{"B"}}), std::vector<std::uint32_t>{0},
       std::nullopt},
      {"other's repeated entry merged", labeled(one, {0}, {{"A"}}), labeled(one, {0, 0}, {{"B"}, {"C"}}),
       std::vector<std::uint32_t>{0, 1}, Labels{{"A"}, {"B", "C"}}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.self.extend(std::move(c.other)).has_value());
    EXPECT_EQ(c.self.labeled, c.labeled);
    EXPECT_EQ(c.self.labels, c.labels);
  }
}

TEST(ChainsExtend, MissingLabelsInOtherFailBeforeAnyChange) {
  Chains self = labeled(make_chains({{0}}), {0}, {{"A"}});
  self.beta_sheets = one_strand("S1", 0, 0, 0);
  const Chains before = self;
  Chains other = make_chains({{0}, {1}});
  other.labeled = std::vector<std::uint32_t>{1};
  other.alpha_helices = one_helix("H1", 0, 0, 1);
  const auto result = self.extend(std::move(other));
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error(), ChainsError::LabelsMissing);
  EXPECT_EQ(self, before);
}

}  // namespace
}  // namespace redivi
