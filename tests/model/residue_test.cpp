// Residue tables: joining, and subsets with labels.
#include "redivi/residue.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace redivi {
namespace {

using Labels = std::vector<std::vector<std::string>>;

// A table of residues with the given atom counts, atoms numbered from first_atom, named R0, R1, ...
Residues make_residues(const std::vector<std::size_t>& sizes, AtomRef first_atom = 0) {
  Residues table;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    Residue& residue = table.residues.emplace_back();
    for (std::size_t j = 0; j < sizes[i]; ++j) residue.push_back(first_atom++);
    table.seqs.push_back(std::string("R").append(std::to_string(i)));
    table.seq_ns.push_back(static_cast<std::int32_t>(i) + 1);
    table.insertion_codes.push_back(i == 0 ? "A" : "");
  }
  return table;
}

Residues labeled(Residues table, std::vector<ResidueRef> labeled_residues, Labels labels) {
  table.labeled = std::move(labeled_residues);
  table.labels = std::move(labels);
  return table;
}

TEST(ResiduesExtend, ShiftsAtomsByTheAtomsListedInTheReceiver) {
  Residues self = make_residues({3, 2});
  Residues other = make_residues({2, 1});
  other.residues[0] = {0, 1};
  other.residues[1] = {7};  // shifted as it is, whatever the atom count
  ASSERT_TRUE(self.extend(std::move(other)).has_value());
  EXPECT_EQ(self.residues, (std::vector<Residue>{{0, 1, 2}, {3, 4}, {5, 6}, {12}}));
  EXPECT_EQ(self.seqs, (std::vector<std::string>{"R0", "R1", "R0", "R1"}));
  EXPECT_EQ(self.seq_ns, (std::vector<std::int32_t>{1, 2, 1, 2}));
  EXPECT_EQ(self.insertion_codes, (std::vector<std::string>{"A", "", "A", ""}));
  EXPECT_FALSE(self.labeled.has_value());
  EXPECT_FALSE(self.labels.has_value());
}

TEST(ResiduesExtend, AppendsColumnsOfUnequalLengthAsTheyAre) {
  Residues self = make_residues({1});
  Residues other = make_residues({1, 1});
  other.seqs.pop_back();
  other.insertion_codes.clear();
  ASSERT_TRUE(self.extend(std::move(other)).has_value());
  EXPECT_EQ(self.residues.size(), 3u);
  EXPECT_EQ(self.seqs.size(), 2u);
  EXPECT_EQ(self.seq_ns.size(), 3u);
  EXPECT_EQ(self.insertion_codes.size(), 1u);
}

TEST(ResiduesExtend, JoinsLabelsByWhichFieldsArePresent) {
  struct Case {
    const char* name;
    Residues self, other;
    std::optional<std::vector<ResidueRef>> labeled;
    std::optional<Labels> labels;
  };
  const Residues three = make_residues({1, 1, 1});
  const Residues two = make_residues({1, 1});
  Residues self_labels_only = two;
  self_labels_only.labels = Labels{{"dropped"}};
  Residues self_labeled_only = two;
  self_labeled_only.labeled = std::vector<ResidueRef>{1};
  Residues other_labeled_only = two;
  other_labeled_only.labeled = std::vector<ResidueRef>{0};
  Case cases[] = {
      {"other without labels", labeled(three, {1}, {{"a"}}), two, std::vector<ResidueRef>{1}, Labels{{"a"}}},
      {"other's labels without labeled are dropped", three,
       [&] {
         Residues r = two;
         r.labels = Labels{{"x"}};
         return r;
       }(),
       std::nullopt, std::nullopt},
      {"self without labels takes other's, shifted", two, labeled(two, {1}, {{"x"}}), std::vector<ResidueRef>{3},
       Labels{{"x"}}},
      {"self's labels without labeled are replaced", self_labels_only, other_labeled_only, std::vector<ResidueRef>{2},
       std::nullopt},
      {"empty labeled still moves in", two, labeled(two, {}, {}), std::vector<ResidueRef>{}, Labels{}},
      {"self with labeled but no labels keeps its own", self_labeled_only, labeled(two, {0}, {{"x"}}),
       std::vector<ResidueRef>{1}, std::nullopt},
      {"merge into the first matching entry", labeled(three, {0}, {{"a"}}), labeled(two, {0, 0}, {{"b"}, {"c"}}),
       std::vector<ResidueRef>{0, 3}, Labels{{"a"}, {"b", "c"}}},
      {"other with empty labeled merges nothing", labeled(three, {0, 2, 0}, {{"a"}, {"b"}, {"c"}}),
       labeled(make_residues({}), {}, {}), std::vector<ResidueRef>{0, 2, 0}, Labels{{"a"}, {"b"}, {"c"}}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.self.extend(std::move(c.other)).has_value());
    EXPECT_EQ(c.self.labeled, c.labeled);
    EXPECT_EQ(c.self.labels, c.labels);
  }
}

TEST(ResiduesExtend, MissingLabelsInOtherFailAfterTheColumnsAreJoined) {
  Residues self = labeled(make_residues({2}), {0}, {{"a"}});
  Residues other = make_residues({1});
  other.labeled = std::vector<ResidueRef>{0};
  const auto result = self.extend(std::move(other));
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error(), ResiduesError{ResiduesError::LabelsMissing{}});
  EXPECT_EQ(self.residues, (std::vector<Residue>{{0, 1}, {2}}));
  EXPECT_EQ(self.seqs.size(), 2u);
  EXPECT_EQ(self.labeled, (std::vector<ResidueRef>{0}));
  EXPECT_EQ(self.labels, (Labels{{"a"}}));
}

TEST(ResiduesExtend, MismatchedLabelListsNeitherCrashNorMispair) {
  // other has two labeled residues but texts for one: the entry without texts is dropped.
  Residues self = labeled(make_residues({1}), {0}, {{"a"}});
  ASSERT_TRUE(self.extend(labeled(make_residues({1, 1}), {0, 1}, {{"b"}})).has_value());
  EXPECT_EQ(self.labeled, (std::vector<ResidueRef>{0, 1}));
  EXPECT_EQ(self.labels, (Labels{{"a"}, {"b"}}));

  // self has texts for fewer entries than it labels: the missing texts become empty entries.
  Residues short_self = labeled(make_residues({1, 1}), {0, 1}, {{"a"}});
  ASSERT_TRUE(short_self.extend(labeled(make_residues({1}), {0}, {{"c"}})).has_value());
  EXPECT_EQ(short_self.labeled, (std::vector<ResidueRef>{0, 1, 2}));
  EXPECT_EQ(short_self.labels, (Labels{{"a"}, {}, {"c"}}));
}

TEST(ResiduesSubset, RenumbersAtomsInTheOrderOfTheReferences) {
  Residues source = make_residues({3, 1, 2});
  source.residues[2] = {9, 4};  // only the count of a residue's atoms matters
  const Residues subset = source.new_residues_from_subset({2, 0, 2});
  EXPECT_EQ(subset.residues, (std::vector<Residue>{{0, 1}, {2, 3, 4}, {5, 6}}));
  EXPECT_EQ(subset.seqs, (std::vector<std::string>{"R2", "R0", "R2"}));
  EXPECT_EQ(subset.seq_ns, (std::vector<std::int32_t>{3, 1, 3}));
  EXPECT_EQ(subset.insertion_codes, (std::vector<std::string>{"", "A", ""}));
  EXPECT_EQ(source.new_residues_from_subset({}), Residues{});
}

TEST(ResiduesSubset, CarriesTheLabelsOfSelectedResidues) {
  struct Case {
    const char* name;
    std::optional<std::vector<ResidueRef>> labeled;
    std::optional<Labels> labels;
    std::vector<ResidueRef> refs;
    std::optional<std::vector<ResidueRef>> subset_labeled;
    std::optional<Labels> subset_labels;
  };
  const Case cases[] = {
      {"selected and labeled",
       std::vector<ResidueRef>{0, 2},
       Labels{{"a"}, {"c"}},
       {2, 1, 0},
       std::vector<ResidueRef>{0, 2},
       Labels{{"c"}, {"a"}}},
      {"first entry wins, twice selected twice labeled",
       std::vector<ResidueRef>{1, 1},
       Labels{{"x"}, {"y"}},
       {1, 1},
       std::vector<ResidueRef>{0, 1},
       Labels{{"x"}, {"x"}}},
      {"none of the selected labeled", std::vector<ResidueRef>{0}, Labels{{"a"}}, {1, 2}, std::nullopt, std::nullopt},
      {"empty labeled", std::vector<ResidueRef>{}, Labels{}, {0}, std::nullopt, std::nullopt},
      {"labels without labeled ignored", std::nullopt, Labels{{"a"}}, {0}, std::nullopt, std::nullopt},
      {"labeled without labels", std::vector<ResidueRef>{0}, std::nullopt, {0}, std::nullopt, std::nullopt},
      {"labeled longer than labels",
       std::vector<ResidueRef>{1, 0},
       Labels{{"b"}},
       {0, 1},
       std::vector<ResidueRef>{1},
       Labels{{"b"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Residues source = make_residues({1, 1, 1});
    source.labeled = c.labeled;
    source.labels = c.labels;
    const Residues subset = source.new_residues_from_subset(c.refs);
    EXPECT_EQ(subset.labeled, c.subset_labeled);
    EXPECT_EQ(subset.labels, c.subset_labels);
  }
}

TEST(ResiduesSubset, ReferencesPastTheColumnsGiveEmptyEntries) {
  Residues source = make_residues({2, 1});
  source.seqs.pop_back();
  source.seq_ns.clear();
  source.labeled = std::vector<ResidueRef>{5};
  source.labels = Labels{{"far"}};
  const Residues subset = source.new_residues_from_subset({1, 5, 0});
  EXPECT_EQ(subset.residues, (std::vector<Residue>{{0}, {}, {1, 2}}));
  EXPECT_EQ(subset.seqs, (std::vector<std::string>{"", "", "R0"}));
  EXPECT_EQ(subset.seq_ns, (std::vector<std::int32_t>{0, 0, 0}));
  EXPECT_EQ(subset.insertion_codes, (std::vector<std::string>{"", "", "A"}));
  EXPECT_EQ(subset.labeled, (std::vector<ResidueRef>{1}));
  EXPECT_EQ(subset.labels, (Labels{{"far"}}));
}

}  // namespace
}  // namespace redivi
