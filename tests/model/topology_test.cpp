// The topology check: consistent topologies pass, and the first disagreement between lists is reported.
#include "redivi/topology.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace redivi {
namespace {

using E = TopologyError;

// A topology of n carbon atoms with a well-formed geometry and no optional fields.
Topology atoms(std::size_t n) {
  Topology topology;
  topology.symbols.assign(n, Element::C);
  topology.geometry.assign(3 * n, 0.0f);
  return topology;
}

Topology with(Topology topology, const std::function<void(Topology&)>& change) {
  change(topology);
  return topology;
}

TEST(TopologyCheck, AcceptsConsistentTopologies) {
  const Topology cases[] = {
      atoms(0),
      atoms(2),
      with(atoms(0), [](Topology& t) { t.fragments.emplace(); }),
      with(atoms(3),
           [](Topology& t) {
             t.labels = std::vector<std::string>{"N", "CA", "C"};
             t.partial_charges = std::vector<float>{0.1f, 0.2f, -0.3f};
             t.formal_charges = std::vector<std::int32_t>{1, 0, -1};
             t.connectivity = std::vector<Bond>{{0, 1, BondOrder::Single}, {2, 1, BondOrder::Double}};
             t.stereochemistry = std::vector<Stereochemistry>{Stereochemistry::Up, Stereochemistry::Down};
             t.velocities = std::vector<float>(9, 1.0f);
             t.fragments = std::vector<Fragment>{{2, 0}, {}, {1}};
             t.fragment_formal_charges = std::vector<std::int32_t>{0, 0, 0};
             t.fragment_partial_charges = std::vector<float>{0, 0, 0};
             t.fragment_multiplicities = std::vector<std::uint8_t>{1, 1, 1};
           }),
      // Fragment values present and empty beside absent fragments: nothing to disagree with.
      with(atoms(1), [](Topology& t) { t.fragment_formal_charges.emplace(); }),
  };
  for (const Topology& topology : cases) {
    const auto result = topology.check();
    EXPECT_TRUE(result.has_value()) << debug_string(result.error());
  }
}

TEST(TopologyCheck, ReportsTheFirstDisagreement) {
  struct Case {
    const char* name;
    Topology topology;
    E expected;
  };
  const Case cases[] = {
      {"seven coordinates",
       with(atoms(2), [](Topology& t) { t.geometry.push_back(1); }),
       {E::InvalidGeometryLength{7, 2}}},
      {"five coordinates",
       with(atoms(2), [](Topology& t) { t.geometry.pop_back(); }),
       {E::InvalidGeometryLength{5, 2}}},
      {"geometry before labels",
       with(atoms(2),
            [](Topology& t) {
              t.geometry.clear();
              t.labels.emplace();
            }),
       {E::InvalidGeometryLength{0, 2}}},
      {"empty labels", with(atoms(2), [](Topology& t) { t.labels.emplace(); }), {E::InvalidLabelsLength{0, 2}}},
      {"partial charges",
       with(atoms(2), [](Topology& t) { t.partial_charges = std::vector<float>(3); }),
       {E::InvalidPartialChargesLength{3, 2}}},
      {"formal charges",
       with(atoms(2), [](Topology& t) { t.formal_charges = std::vector<std::int32_t>(1); }),
       {E::InvalidFormalChargesLength{1, 2}}},
      {"bond to itself",
       with(atoms(2),
            [](Topology& t) {
              t.connectivity = std::vector<Bond>{{0, 1}, {1, 1}};
            }),
       {E::InvalidConnectivity{1, 1}}},
      {"bond past the atoms",
       with(atoms(2),
            [](Topology& t) {
              t.connectivity = std::vector<Bond>{{2, 0}, {0, 0}};
            }),
       {E::InvalidConnectivity{2, 0}}},
      {"bond before stereochemistry",
       with(atoms(2),
            [](Topology& t) {
              t.connectivity = std::vector<Bond>{{0, 5}};
              t.stereochemistry.emplace();
            }),
       {E::InvalidConnectivity{0, 5}}},
      {"stereochemistry length",
       with(atoms(2),
            [](Topology& t) {
              t.connectivity = std::vector<Bond>{{0, 1}};
              t.stereochemistry.emplace();
            }),
       {E::InvalidStereochemistryLength{0, 1}}},
      {"stereochemistry without bonds",
       with(atoms(2), [](Topology& t) { t.stereochemistry.emplace(); }),
       {E::InvalidStereochemistryExistence{}}},
      {"velocities",
       with(atoms(3), [](Topology& t) { t.velocities = std::vector<float>(3); }),
       {E::InvalidVelocitiesLength{3, 3}}},
      {"atom in two fragments",
       with(atoms(2),
            [](Topology& t) {
              t.fragments = std::vector<Fragment>{{0}, {0, 1}};
            }),
       {E::InvalidFragments{}}},
      {"atom twice in one fragment",
       with(atoms(2),
            [](Topology& t) {
              t.fragments = std::vector<Fragment>{{1, 1}};
            }),
       {E::InvalidFragments{}}},
      {"atom in no fragment",
       with(atoms(2), [](Topology& t) { t.fragments = std::vector<Fragment>{{0}}; }),
       {E::InvalidFragments{}}},
      {"atoms in order, then one past them",
       with(atoms(2),
            [](Topology& t) {
              t.fragments = std::vector<Fragment>{{0, 1, 2}};
            }),
       {E::InvalidFragments{}}},
      {"no fragments for atoms", with(atoms(1), [](Topology& t) { t.fragments.emplace(); }), {E::InvalidFragments{}}},
      // As many distinct atoms as the topology has, but one of them does not exist.
      {"fragment atom past the atoms",
       with(atoms(2),
            [](Topology& t) {
              t.fragments = std::vector<Fragment>{{0}, {5}};
            }),
       {E::InvalidFragments{}}},
      {"fragment formal charges",
       with(atoms(2),
            [](Topology& t) {
              t.fragments = std::vector<Fragment>{{0}, {1}};
              t.fragment_formal_charges = std::vector<std::int32_t>{0};
              t.fragment_partial_charges = std::vector<float>{0};
            }),
       {E::InvalidFragmentFormalChargesLength{1, 2}}},
      {"fragment partial charges",
       with(atoms(2),
            [](Topology& t) {
              t.fragments = std::vector<Fragment>{{0, 1}};
              t.fragment_partial_charges = std::vector<float>{0, 0};
              t.fragment_multiplicities.emplace();
            }),
       {E::InvalidFragmentPartialChargesLength{2, 1}}},
      {"fragment multiplicities",
       with(atoms(2),
            [](Topology& t) {
              t.fragments = std::vector<Fragment>{{0, 1}};
              t.fragment_multiplicities.emplace();
            }),
       {E::InvalidFragmentMultiplicitiesLength{0, 1}}},
      {"fragment values without fragments",
       with(atoms(2), [](Topology& t) { t.fragment_partial_charges = std::vector<float>{0.5f}; }),
       {E::InvalidFragmentPartialChargesLength{1, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = c.topology.check();
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.expected) << debug_string(result.error());
  }
}

}  // namespace
}  // namespace redivi
