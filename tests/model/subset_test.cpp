// Subsets by residues: topology, chains and whole structures, their order, what survives and what is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "listed_file.hpp"
#include "redivi/trc.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

using Labels = std::vector<std::vector<std::string>>;

// Four atoms H, C, N, O at x = 0, 1, 2, 3 with labels, charges, velocities, two bonds with
// stereochemistry and fragments [0, 1] and [2, 3] with their values.
Topology four_atoms() {
  Topology t;
  t.symbols = {Element::H, Element::C, Element::N, Element::O};
  t.geometry = {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0};
  t.labels = std::vector<std::string>{"H", "C", "N", "O"};
  t.partial_charges = std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f};
  t.formal_charges = std::vector<std::int32_t>{1, 2, 3, 4};
  t.connectivity = std::vector<Bond>{{0, 1, BondOrder::Single}, {1, 2, BondOrder::Double}, {3, 2, BondOrder::Triple}};
  t.stereochemistry = std::vector{Stereochemistry::Up, Stereochemistry::Down, Stereochemistry::Either};
  t.velocities = std::vector<float>{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
  t.fragments = std::vector<Fragment>{{0, 1}, {3, 2}};
  t.fragment_formal_charges = std::vector<std::int32_t>{3, 7};
  t.fragment_partial_charges = std::vector<float>{0.3f, 0.7f};
  t.fragment_multiplicities = std::vector<std::uint8_t>{1, 2};
  return t;
}

std::expected<Topology, TRCError> subset(const Topology& source, std::vector<std::vector<AtomRef>> residues) {
  return source.new_topology_from_residue_subset(residues);
}

TEST(TopologySubset, LaysOutTheSelectedAtomsInSelectionOrder) {
  const auto result = subset(four_atoms(), {{3, 2}, {0}});
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->symbols, (std::vector<Element>{Element::O, Element::N, Element::H}));
  EXPECT_EQ(result->geometry, (std::vector<float>{3, 0, 0, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(result->labels, (std::vector<std::string>{"O", "N", "H"}));
  EXPECT_EQ(result->partial_charges, (std::vector<float>{0.4f, 0.3f, 0.1f}));
  EXPECT_EQ(result->formal_charges, (std::vector<std::int32_t>{4, 3, 1}));
  EXPECT_EQ(result->velocities, (std::vector<float>{3, 3, 3, 2, 2, 2, 0, 0, 0}));
  // Bonds (0, 1) and (1, 2) have an unselected atom; (3, 2) becomes (0, 1).
  EXPECT_EQ(result->connectivity, (std::vector<Bond>{{0, 1, BondOrder::Triple}}));
  EXPECT_EQ(result->stereochemistry, std::vector{Stereochemistry::Either});
  // Fragment [0, 1] is split: no fragment data at all.
  EXPECT_FALSE(result->fragments || result->fragment_formal_charges || result->fragment_partial_charges ||
               result->fragment_multiplicities);
}

TEST(TopologySubset, KeepsTheFragmentsWhollyInsideTheSelection) {
  struct Case {
    std::string name;
    std::vector<std::vector<AtomRef>> residues;
    std::vector<Fragment> fragments;
    std::vector<std::int32_t> formal;
  };
  const Case cases[] = {
      {"first fragment only", {{1, 0}}, {{1, 0}}, {3}},
      {"both, reordered", {{2, 3}, {0, 1}}, {{2, 3}, {1, 0}}, {3, 7}},
      {"nothing selected", {}, {}, {}},
      // A twice-selected atom maps to its first copy; the second copy has no bonds or fragments.
      {"twice", {{2, 3}, {3, 2}}, {{1, 0}}, {7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = subset(four_atoms(), c.residues);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->fragments, c.fragments);
    EXPECT_EQ(result->fragment_formal_charges, c.formal);
    EXPECT_EQ(result->fragment_multiplicities->size(), c.formal.size());
  }
  const auto twice = subset(four_atoms(), {{2, 3}, {3, 2}});
  EXPECT_EQ(twice->connectivity, (std::vector<Bond>{{1, 0, BondOrder::Triple}}));
  EXPECT_EQ(twice->symbols.size(), 4u);

  Topology with_empty = four_atoms();
  with_empty.fragments->push_back({});
  with_empty.fragment_formal_charges->push_back(0);
  with_empty.fragment_partial_charges->push_back(0);
  with_empty.fragment_multiplicities->push_back(0);
  EXPECT_EQ(subset(with_empty, {{0, 1, 2, 3}})->fragments, four_atoms().fragments);
}

TEST(TopologySubset, AnEmptySelectionKeepsEveryPresentListEmpty) {
  const auto result = subset(four_atoms(), {});
  ASSERT_TRUE(result.has_value());
  EXPECT_TRUE(result->symbols.empty() && result->geometry.empty());
  EXPECT_EQ(result->labels, std::vector<std::string>{});
  EXPECT_EQ(result->connectivity, std::vector<Bond>{});
  EXPECT_EQ(result->stereochemistry, std::vector<Stereochemistry>{});
  EXPECT_EQ(result->velocities, std::vector<float>{});
  EXPECT_EQ(result->fragment_partial_charges, std::vector<float>{});

  Topology bare = four_atoms();
  bare.labels.reset();
  bare.connectivity.reset();
  bare.fragments.reset();
  const auto without = subset(bare, {{0}});
  EXPECT_FALSE(without->labels || without->connectivity || without->stereochemistry || without->fragments ||
               without->fragment_formal_charges);
}

TEST(TopologySubset, RejectsSourcesItCannotReadInsteadOfReadingPastThem) {
  using E = TopologyError;
  struct Case {
    std::string name;
    void (*damage)(Topology&);
    std::vector<std::vector<AtomRef>> residues;
    TRCError error;
  };
  const Case cases[] = {
      {"atom beyond the topology", [](Topology&) {}, {{0}, {4}}, {TRCError::AtomDoesNotExist{4}}},
      {"short geometry",
       [](Topology& t) { t.geometry.pop_back(); },
       {{0}},
       {TRCError::InvalidTopology{E{E::InvalidGeometryLength{11, 4}}}}},
      {"short labels",
       [](Topology& t) { t.labels->pop_back(); },
       {{0}},
       {TRCError::InvalidTopology{E{E::InvalidLabelsLength{3, 4}}}}},
      {"short formal charges",
       [](Topology& t) { t.formal_charges->clear(); },
       {{0}},
       {TRCError::InvalidTopology{E{E::InvalidFormalChargesLength{0, 4}}}}},
      {"short stereochemistry",
       [](Topology& t) { t.stereochemistry->pop_back(); },
       {{0}},
       {TRCError::InvalidTopology{E{E::InvalidStereochemistryLength{2, 3}}}}},
      {"short velocities",
       [](Topology& t) { t.velocities->resize(4); },
       {{0}},
       {TRCError::InvalidTopology{E{E::InvalidVelocitiesLength{4, 4}}}}},
      {"short fragment multiplicities",
       [](Topology& t) { t.fragment_multiplicities->pop_back(); },
       {{0}},
       {TRCError::InvalidTopology{E{E::InvalidFragmentMultiplicitiesLength{1, 2}}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Topology source = four_atoms();
    c.damage(source);
    const auto result = subset(source, c.residues);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.error);
  }
  EXPECT_EQ(to_string(cases[1].error), "geometry length does not symbol length * 3: 11 != 4 * 3");
}

// Bonds and fragment atoms beyond the atom count only ever count as unselected.
TEST(TopologySubset, TreatsReferencesBeyondTheAtomsAsUnselected) {
  Topology source = four_atoms();
  source.connectivity->push_back({0, 99, BondOrder::Single});
  source.stereochemistry->push_back(Stereochemistry::Up);
  (*source.fragments)[1].push_back(99);
  const auto result = subset(source, {{0, 1, 2, 3}});
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->connectivity->size(), 3u);
  EXPECT_FALSE(result->fragments.has_value());
}

Chains chains_of(std::vector<Chain> chains) {
  Chains table;
  table.chains = std::move(chains);
  return table;
}

TEST(ChainsSubset, OrdersNewChainsByTheirFirstSelectedResidue) {
  struct Case {
    std::string name;
    std::vector<Chain> chains;
    std::vector<ResidueRef> refs;
    std::vector<Chain> expected;
  };
  const Case cases[] = {
      {"reordered", {{0, 1, 2}, {3, 4}}, {3, 0}, {{0}, {1}}},
      {"one chain", {{0, 1, 2}}, {2, 0}, {{0, 1}}},
      {"twice", {{0, 1}}, {1, 1}, {{0, 1}}},
      {"in two chains", {{0, 1}, {2}, {1, 2}}, {1, 2}, {{0}, {0, 1}, {1}}},
      {"listed twice in a chain", {{0, 0}}, {0}, {{0}}},
      {"in no chain", {{0}}, {7, 0}, {{1}}},
      {"empty refs", {{0}}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Chains result = chains_of(c.chains).new_chains_from_residue_subset(c.refs);
    EXPECT_EQ(result.chains, c.expected);
    EXPECT_FALSE(result.alpha_helices || result.beta_sheets || result.labeled || result.labels);
  }
}

TEST(ChainsSubset, KeepsHelicesAndStrandsWhoseChainAndEndsRemain) {
  Chains source = chains_of({{0, 1, 2, 3}, {4, 5}});
  source.alpha_helices.emplace();
  source.alpha_helices->push("H1", 0, 1, 3, HelixClass::RightHandedPi, 7);
  source.alpha_helices->push("H2", 1, 4, 5, std::nullopt, std::nullopt);
  source.beta_sheets.emplace();
  source.beta_sheets->push("S", "1", 1, 2, 0, 3, 1, StrandSense::AntiParallel);
  source.beta_sheets->push("S", "2", 2, 2, 1, 2, 3, StrandSense::Parallel);  // ends in chain 0

  const Chains kept = source.new_chains_from_residue_subset(std::vector<ResidueRef>{1, 2, 3, 1});
  AlphaHelices helix;
  helix.push("H1", 0, 0, 2, HelixClass::RightHandedPi, 7);
  EXPECT_EQ(kept.alpha_helices, helix);
  BetaSheets strand;
  strand.push("S", "1", 1, 2, 0, 2, 0, StrandSense::AntiParallel);
  EXPECT_EQ(kept.beta_sheets, strand);  // strand 2 goes with its chain, though both its ends remain

  const Chains dropped = source.new_chains_from_residue_subset(std::vector<ResidueRef>{1, 2, 4});
  EXPECT_FALSE(dropped.alpha_helices.has_value());  // H1 loses residue 3; H2 loses residue 5
  EXPECT_FALSE(dropped.beta_sheets.has_value());    // strand 2's chain remains, its end residue 3 does not

  // Columns of unequal length are read as far as the shortest goes.
  source.alpha_helices->lengths.pop_back();
  const Chains ragged = source.new_chains_from_residue_subset(std::vector<ResidueRef>{4, 5, 1, 3});
  EXPECT_EQ(ragged.alpha_helices->helix_ids, std::vector<std::string>{"H1"});
}

TEST(ChainsSubset, CarriesTheLabelsOfTheRemainingChainsInNewChainOrder) {
  struct Case {
    std::string name;
    std::vector<std::uint32_t> labeled;
    Labels labels;
    std::vector<ResidueRef> refs;
    std::optional<std::vector<std::uint32_t>> new_labeled;
    std::optional<Labels> new_labels;
  };
  const Case cases[] = {
      {"only chain 1 remains", {1}, {{"B"}}, {2}, std::vector<std::uint32_t>{0}, Labels{{"B"}}},
      {"labeled chain gone", {1}, {{"B"}}, {0}, std::nullopt, std::nullopt},
      {"new chain order",
       {0, 2, 1},
       {{"A"}, {"C"}, {"B"}},
       {3, 0, 2},
       std::vector<std::uint32_t>{0, 1, 2},
       Labels{{"C"}, {"A"}, {"B"}}},
      {"first entry of a chain wins", {0, 0}, {{"A"}, {"Z"}}, {0}, std::vector<std::uint32_t>{0}, Labels{{"A"}}},
      {"labels shorter than labeled", {0, 1}, {{"A"}}, {2, 0}, std::vector<std::uint32_t>{1}, Labels{{"A"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Chains source = chains_of({{0, 1}, {2}, {3}});
    source.labeled = c.labeled;
    source.labels = c.labels;
    const Chains result = source.new_chains_from_residue_subset(c.refs);
    EXPECT_EQ(result.labeled, c.new_labeled);
    EXPECT_EQ(result.labels, c.new_labels);
  }
  Chains labels_missing = chains_of({{0}});
  labels_missing.labeled = std::vector<std::uint32_t>{0};
  EXPECT_FALSE(labels_missing.new_chains_from_residue_subset(std::vector<ResidueRef>{0}).labeled.has_value());
}

// Residues 0 and 1 (chain A, atoms [1, 0] and [2, 3]) and residue 2 (chain B, atom [4]).
TRC small_structure() {
  TRC trc;
  trc.topology = four_atoms();
  trc.topology.symbols.push_back(Element::S);
  trc.topology.geometry.insert(trc.topology.geometry.end(), {4, 0, 0});
  trc.topology.labels->push_back("S");
  trc.topology.partial_charges->push_back(0.5f);
  trc.topology.formal_charges->push_back(5);
  trc.topology.velocities->insert(trc.topology.velocities->end(), {4, 4, 4});
  trc.topology.fragments->push_back({4});
  trc.topology.fragment_formal_charges->push_back(5);
  trc.topology.fragment_partial_charges->push_back(0.5f);
  trc.topology.fragment_multiplicities->push_back(3);
  trc.residues.residues = {{1, 0}, {2, 3}, {4}};
  trc.residues.seqs = {"GLY", "ALA", "HOH"};
  trc.residues.seq_ns = {1, 2, 3};
  trc.residues.insertion_codes = {"", "A", ""};
  trc.chains.chains = {{0, 1}, {2}};
  trc.chains.labeled = std::vector<std::uint32_t>{0, 1};
  trc.chains.labels = Labels{{"A"}, {"B"}};
  return trc;
}

TEST(TRCSubset, BuildsTheSubsetOfTheNamedResiduesInOrder) {
  const auto result = small_structure().new_trc_from_residue_subset(std::vector<ResidueRef>{2, 0});
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->topology.symbols, (std::vector<Element>{Element::S, Element::C, Element::H}));
  EXPECT_EQ(result->topology.connectivity, (std::vector<Bond>{{2, 1, BondOrder::Single}}));
  EXPECT_EQ(result->topology.fragments, (std::vector<Fragment>{{2, 1}, {0}}));
  EXPECT_EQ(result->topology.fragment_multiplicities, (std::vector<std::uint8_t>{1, 3}));
  EXPECT_EQ(result->residues.residues, (std::vector<Residue>{{0}, {1, 2}}));
  EXPECT_EQ(result->residues.seqs, (std::vector<std::string>{"HOH", "GLY"}));
  EXPECT_EQ(result->chains.chains, (std::vector<Chain>{{0}, {1}}));
  EXPECT_EQ(result->chains.labels, (Labels{{"B"}, {"A"}}));
}

// A residue named twice is the exception: its second copy lies in no fragment.
TEST(TRCSubset, SubsetsOfAValidStructureAreValid) {
  const std::vector<ResidueRef> selections[] = {{}, {0}, {1}, {2, 0}, {0, 1, 2}, {1, 0, 2}};
  ASSERT_TRUE(small_structure().check().has_value());
  for (const auto& refs : selections) {
    SCOPED_TRACE(testing::PrintToString(refs));
    const auto result = small_structure().new_trc_from_residue_subset(refs);
    ASSERT_TRUE(result.has_value());
    const auto checked = result->check();
    EXPECT_TRUE(checked.has_value()) << debug_string(checked.error());
  }
}

TEST(TRCSubset, ReportsReferencesOutsideTheStructure) {
  struct Case {
    std::string name;
    std::vector<ResidueRef> refs;
    TRCError error;
  };
  const Case cases[] = {
      {"residue past the end", {0, 3}, {TRCError::ResidueDoesNotExist{3}}},
      {"residue atom past the atoms", {1, 0}, {TRCError::AtomDoesNotExist{7}}},
  };
  EXPECT_EQ(to_string(cases[0].error), "referenced residue not in residues 'ResidueRef(3)'");
  EXPECT_EQ(debug_string(cases[1].error), "AtomDoesNotExist(AtomRef(7))");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRC source = small_structure();
    source.residues.residues[0].push_back(7);
    const auto result = source.new_trc_from_residue_subset(c.refs);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.error);
  }
}

TEST(TRCSubset, EveryOtherResidueOfRealStructuresPassesTheCheck) {
  for (const auto& [file, structure] : test::listed_valid_structures()) {
    SCOPED_TRACE(file);
    std::vector<ResidueRef> every_other;
    for (ResidueRef r = 0; r < structure.residues.residues.size(); r += 2) every_other.push_back(r);
    const auto subset = structure.new_trc_from_residue_subset(every_other);
    ASSERT_TRUE(subset.has_value());
    EXPECT_EQ(subset->residues.residues.size(), every_other.size());
    const auto subset_checked = subset->check();
    EXPECT_TRUE(subset_checked.has_value()) << debug_string(subset_checked.error());
  }
}

}  // namespace
}  // namespace redivi
