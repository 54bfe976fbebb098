// Joining structures: topologies, residues and chains appended and shifted, padded fields, joins of real files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "listed_file.hpp"
#include "redivi/trc.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

// n carbon atoms at x = 0, 1, 2, ...
Topology atoms(std::uint32_t n) {
  Topology topology;
  for (std::uint32_t i = 0; i < n; ++i) {
    topology.symbols.push_back(Element::C);
    topology.geometry.insert(topology.geometry.end(), {static_cast<float>(i), 0.0f, 0.0f});
  }
  return topology;
}

TEST(TopologyExtend, AppendsTheOthersAtomsAndShiftsItsBondsAndFragments) {
  Topology receiver = atoms(2);
  receiver.schema_version.patch = 9;
  receiver.connectivity = std::vector<Bond>{{0, 1, BondOrder::Single}};
  receiver.fragments = std::vector<Fragment>{{0, 1}};
  Topology other = atoms(3);
  other.symbols[2] = Element::O;
  other.connectivity = std::vector<Bond>{{0, 1, BondOrder::Double}};
  other.fragments = std::vector<Fragment>{{0, 1, 2}};

  receiver.extend(std::move(other));

  EXPECT_EQ(receiver.symbols, (std::vector<Element>{Element::C, Element::C, Element::C, Element::C, Element::O}));
  EXPECT_EQ(receiver.geometry, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 2, 0, 0}));
  EXPECT_EQ(receiver.connectivity, (std::vector<Bond>{{0, 1, BondOrder::Single}, {2, 3, BondOrder::Double}}));
  EXPECT_EQ(receiver.fragments, (std::vector<Fragment>{{0, 1}, {2, 3, 4}}));
  EXPECT_EQ(receiver.schema_version.patch, 9u);
}

TEST(TopologyExtend, PadsFieldsOnlyTheReceiverHasAndDropsFieldsOnlyTheOtherHas) {
  Topology receiver = atoms(1);
  receiver.labels = std::vector<std::string>{"CA"};
  receiver.partial_charges = std::vector<float>{0.5f};
  receiver.formal_charges = std::vector<std::int32_t>{1};
  receiver.velocities = std::vector<float>{1, 2, 3};
  receiver.connectivity = std::vector<Bond>{};
  Topology other = atoms(3);
  other.stereochemistry = std::vector<Stereochemistry>{};
  other.fragments = std::vector<Fragment>{{0, 1, 2}};
  other.fragment_multiplicities = std::vector<std::uint8_t>{2};

  receiver.extend(Topology{other});
  EXPECT_EQ(receiver.labels, (std::vector<std::string>{"CA", "", "", ""}));
  EXPECT_EQ(receiver.partial_charges, (std::vector<float>{0.5f, 0, 0, 0}));
  EXPECT_EQ(receiver.formal_charges, (std::vector<std::int32_t>{1, 0, 0, 0}));
  EXPECT_EQ(receiver.velocities, (std::vector<float>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(receiver.connectivity, std::vector<Bond>{});
  EXPECT_FALSE(receiver.stereochemistry.has_value());
  EXPECT_FALSE(receiver.fragments.has_value());
  EXPECT_FALSE(receiver.fragment_multiplicities.has_value());

  Topology bare = atoms(1);
  other.labels = std::vector<std::string>{"A", "B", "C"};
  other.velocities = std::vector<float>(9, 1.0f);
  bare.extend(std::move(other));
  Topology only_atoms;
  only_atoms.symbols = bare.symbols;
  only_atoms.geometry = bare.geometry;
  EXPECT_EQ(bare.symbols.size(), 4u);
  EXPECT_EQ(bare, only_atoms);
}

TEST(TopologyExtend, GivesBondsWithoutStereochemistryTheValueNone) {
  struct Case {
    std::string name;
    std::optional<std::vector<Bond>> other_bonds;
    std::optional<std::vector<Stereochemistry>> other_stereo;
    std::vector<Stereochemistry> expected;
  };
  const std::vector<Bond> two_bonds{{0, 1, BondOrder::Single}, {1, 2, BondOrder::Single}};
  const Case cases[] = {
      {"both have it",
       two_bonds,
       std::vector{Stereochemistry::Down, Stereochemistry::Either},
       {Stereochemistry::Up, Stereochemistry::Down, Stereochemistry::Either}},
      {"other bonds without it",
       two_bonds,
       std::nullopt,
       {Stereochemistry::Up, Stereochemistry::NONE, Stereochemistry::NONE}},
      {"other without bonds", std::nullopt, std::nullopt, {Stereochemistry::Up}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Topology receiver = atoms(2);
    receiver.connectivity = std::vector<Bond>{{0, 1, BondOrder::Triple}};
    receiver.stereochemistry = std::vector{Stereochemistry::Up};
    Topology other = atoms(3);
    other.connectivity = c.other_bonds;
    other.stereochemistry = c.other_stereo;
    receiver.extend(std::move(other));
    EXPECT_EQ(receiver.stereochemistry, c.expected);
    EXPECT_EQ(receiver.stereochemistry->size(), receiver.connectivity->size());
  }
}

TEST(TopologyExtend, JoinsAnOtherWithoutFragmentsAsOneFragmentOfAllItsAtoms) {
  Topology receiver = atoms(2);
  receiver.fragments = std::vector<Fragment>{{0, 1}};
  receiver.fragment_formal_charges = std::vector<std::int32_t>{-2};
  receiver.fragment_partial_charges = std::vector<float>{0.25f};
  receiver.fragment_multiplicities = std::vector<std::uint8_t>{1};
  Topology other = atoms(3);
  other.formal_charges = std::vector<std::int32_t>{1, -1, 1};

  receiver.extend(std::move(other));
  EXPECT_EQ(receiver.fragments, (std::vector<Fragment>{{0, 1}, {2, 3, 4}}));
  EXPECT_EQ(receiver.fragment_formal_charges, (std::vector<std::int32_t>{-2, 1}));
  EXPECT_EQ(receiver.fragment_partial_charges, (std::vector<float>{0.25f, 0.0f}));
  EXPECT_EQ(receiver.fragment_multiplicities, (std::vector<std::uint8_t>{1, 0}));
}

TEST(TopologyExtend, SumsFormalChargesWithWrapAroundAndPartialChargesFromNegativeZero) {
  Topology receiver = atoms(0);
  receiver.fragments = std::vector<Fragment>{};
  receiver.fragment_formal_charges = std::vector<std::int32_t>{};
  receiver.fragment_partial_charges = std::vector<float>{};

  Topology empty = atoms(0);
  empty.partial_charges = std::vector<float>{};
  Topology overflowing = atoms(2);
  overflowing.formal_charges = std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::max(), 1};
  receiver.extend(std::move(empty));
  receiver.extend(std::move(overflowing));

  EXPECT_EQ(receiver.fragments, (std::vector<Fragment>{{}, {0, 1}}));
  EXPECT_EQ(receiver.fragment_formal_charges, (std::vector<std::int32_t>{0, std::numeric_limits<std::int32_t>::min()}));
  ASSERT_EQ(receiver.fragment_partial_charges->size(), 2u);
  EXPECT_TRUE(std::signbit((*receiver.fragment_partial_charges)[0]));
  EXPECT_FALSE(std::signbit((*receiver.fragment_partial_charges)[1]));  // no partial charges: plain 0
}

// An other whose fragments come without the receiver's value lists gets one value per fragment, so
// the joined lists stay as long as the fragments.
TEST(TopologyExtend, DerivesMissingFragmentValuesForEachOfTheOthersFragments) {
  Topology receiver = atoms(1);
  receiver.fragments = std::vector<Fragment>{{0}};
  receiver.fragment_formal_charges = std::vector<std::int32_t>{5};
  receiver.fragment_partial_charges = std::vector<float>{0.5f};
  receiver.fragment_multiplicities = std::vector<std::uint8_t>{3};
  Topology other = atoms(4);
  other.formal_charges = std::vector<std::int32_t>{1, 2, 3, 4};
  other.partial_charges = std::vector<float>{0.5f, 0.25f, 1.0f, 2.0f};
  other.fragments = std::vector<Fragment>{{3, 0}, {1, 2}};
  other.fragment_multiplicities = std::vector<std::uint8_t>{2, 1};

  receiver.extend(std::move(other));
  EXPECT_EQ(receiver.fragments, (std::vector<Fragment>{{0}, {4, 1}, {2, 3}}));
  EXPECT_EQ(receiver.fragment_formal_charges, (std::vector<std::int32_t>{5, 5, 5}));
  EXPECT_EQ(receiver.fragment_partial_charges, (std::vector<float>{0.5f, 2.5f, 1.25f}));
  EXPECT_EQ(receiver.fragment_multiplicities, (std::vector<std::uint8_t>{3, 2, 1}));
}

// Atoms 0..n-1 in one residue "ALA" of one chain labeled "A".
TRC one_residue(std::uint32_t n) {
  TRC trc;
  trc.topology = atoms(n);
  Residue residue(n);
  for (std::uint32_t i = 0; i < n; ++i) residue[i] = i;
  trc.residues.residues = {residue};
  trc.residues.seqs = {"ALA"};
  trc.residues.seq_ns = {1};
  trc.residues.insertion_codes = {""};
  trc.chains.chains = {{0}};
  trc.chains.labeled = std::vector<std::uint32_t>{0};
  trc.chains.labels = std::vector<std::vector<std::string>>{{"A"}};
  return trc;
}

TEST(TRCExtend, JoinsTopologyResiduesAndChainsInTurn) {
  TRC receiver = one_residue(2);
  TRC other = one_residue(3);
  other.chains.labels = std::vector<std::vector<std::string>>{{"B"}};
  ASSERT_TRUE(receiver.extend(std::move(other)).has_value());
  EXPECT_EQ(receiver.topology.symbols.size(), 5u);
  EXPECT_EQ(receiver.residues.residues, (std::vector<Residue>{{0, 1}, {2, 3, 4}}));
  EXPECT_EQ(receiver.chains.chains, (std::vector<Chain>{{0}, {1}}));
  EXPECT_EQ(receiver.chains.labels, (std::vector<std::vector<std::string>>{{"A"}, {"B"}}));
}

TEST(TRCExtend, StopsAtTheFirstPartThatFailsLeavingTheEarlierPartsJoined) {
  TRC receiver = one_residue(2);
  receiver.residues.labeled = std::vector<ResidueRef>{0};
  receiver.residues.labels = std::vector<std::vector<std::string>>{{"x"}};
  TRC other = one_residue(1);
  other.residues.labeled = std::vector<ResidueRef>{0};
  const auto residues_failed = receiver.extend(TRC{other});
  ASSERT_FALSE(residues_failed.has_value());
  EXPECT_EQ(residues_failed.error(),
            (TRCError{TRCError::InvalidResidues{ResiduesError{ResiduesError::LabelsMissing{}}}}));
  EXPECT_EQ(to_string(residues_failed.error()), "labels are missing");
  EXPECT_EQ(receiver.topology.symbols.size(), 3u);
  EXPECT_EQ(receiver.residues.residues.size(), 2u);
  EXPECT_EQ(receiver.chains.chains, (std::vector<Chain>{{0}}));

  TRC chains_receiver = one_residue(2);
  other.residues.labeled.reset();
  other.chains.labels.reset();
  const auto chains_failed = chains_receiver.extend(std::move(other));
  ASSERT_FALSE(chains_failed.has_value());
  EXPECT_EQ(chains_failed.error(), (TRCError{TRCError::InvalidChains{ChainsError::LabelsMissing}}));
  EXPECT_EQ(chains_receiver.residues.residues, (std::vector<Residue>{{0, 1}, {2}}));
  EXPECT_EQ(chains_receiver.chains.chains, (std::vector<Chain>{{0}}));
}

// A structure with every field, valid on its own, whose joins with partial structures must stay valid.
TRC full_structure() {
  TRC trc = one_residue(3);
  Topology& t = trc.topology;
  t.labels = std::vector<std::string>{"N", "CA", "C"};
  t.partial_charges = std::vector<float>{-0.5f, 0.25f, 0.25f};
  t.formal_charges = std::vector<std::int32_t>{1, 0, -1};
  t.connectivity = std::vector<Bond>{{0, 1, BondOrder::Single}, {1, 2, BondOrder::Double}};
  t.stereochemistry = std::vector{Stereochemistry::Up, Stereochemistry::NONE};
  t.velocities = std::vector<float>(9, 0.5f);
  t.fragments = std::vector<Fragment>{{0, 1}, {2}};
  t.fragment_formal_charges = std::vector<std::int32_t>{1, -1};
  t.fragment_partial_charges = std::vector<float>{-0.25f, 0.25f};
  t.fragment_multiplicities = std::vector<std::uint8_t>{1, 2};
  return trc;
}

TEST(TRCExtend, JoiningValidStructuresGivesAValidStructure) {
  struct Case {
    std::string name;
    void (*shape)(Topology&);
  };
  const Case cases[] = {
      {"every field", [](Topology&) {}},
      {"bare atoms", [](Topology& t) { t = atoms(3); }},
      {"bonds without stereochemistry", [](Topology& t) { t.stereochemistry.reset(); }},
      {"fragments without their values",
       [](Topology& t) {
         t.fragment_formal_charges.reset();
         t.fragment_partial_charges.reset();
         t.fragment_multiplicities.reset();
       }},
      {"no fragments",
       [](Topology& t) {
         t.fragments.reset();
         t.fragment_formal_charges.reset();
         t.fragment_partial_charges.reset();
         t.fragment_multiplicities.reset();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRC other = full_structure();
    c.shape(other.topology);
    TRC other_as_receiver = other;
    ASSERT_TRUE(other.check().has_value());

    TRC receiver = full_structure();
    ASSERT_TRUE(receiver.extend(std::move(other)).has_value());
    EXPECT_TRUE(receiver.check().has_value()) << debug_string(receiver.check().error());
    ASSERT_TRUE(other_as_receiver.extend(full_structure()).has_value());
    EXPECT_TRUE(other_as_receiver.check().has_value()) << debug_string(other_as_receiver.check().error());
  }
}

TEST(TRCExtend, JoinsAStructureToItselfAsToACopy) {
  TRC self = full_structure();
  TRC expected = full_structure();
  ASSERT_TRUE(expected.extend(full_structure()).has_value());
  ASSERT_TRUE(self.extend(std::move(self)).has_value());
  EXPECT_EQ(self, expected);
}

TEST(TRCExtend, SelfJoinsOfRealStructuresPassTheCheck) {
  for (const auto& [file, structure] : test::listed_valid_structures()) {
    SCOPED_TRACE(file);
    TRC joined = structure;
    TRC copy = structure;
    ASSERT_TRUE(joined.extend(std::move(copy)).has_value());
    EXPECT_EQ(joined.topology.symbols.size(), 2 * structure.topology.symbols.size());
    const auto joined_checked = joined.check();
    EXPECT_TRUE(joined_checked.has_value()) << debug_string(joined_checked.error());
  }
}

}  // namespace
}  // namespace redivi
