// The fragment query: its rules on small inputs, and agreement with the pairwise scan on real and random structures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "listed_file.hpp"
#include "redivi/topology.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

using Indices = std::vector<std::uint32_t>;

// One atom per point, the fragments as given.
Topology points(const std::vector<std::vector<float>>& xyz, std::vector<Fragment> fragments) {
  Topology topology;
  for (const auto& point : xyz) {
    topology.symbols.push_back(Element::C);
    topology.geometry.insert(topology.geometry.end(), point.begin(), point.end());
  }
  topology.fragments = std::move(fragments);
  return topology;
}

// Six atoms on the x axis at 0, 1, 2, 4, 8, 3; fragment 5 sits at 3, between 1 and 2.
Topology row() {
  return points({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {4, 0, 0}, {8, 0, 0}, {3, 0, 0}}, {{1}, {0}, {}, {4}, {3, 2}, {5}});
}

TEST(FragmentQuery, FindsTheOtherFragmentsWithinTheDistanceInAscendingOrder) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    std::string name;
    std::uint32_t fragment;
    float distance;
    Indices expected;
  };
  const Case cases[] = {
      {"distance reached exactly", 5, 1.0f, {4}},
      {"just short of it", 5, 0.99f, {}},
      {"sorted", 4, 1.0f, {0, 5}},
      {"never itself", 0, 100.0f, {1, 3, 4, 5}},
      {"empty query fragment", 2, 100.0f, {}},
      {"negative distance", 0, -1.0f, {}},
      {"NaN distance", 0, nan, {}},
      {"zero distance", 0, 0.0f, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto near = row().get_fragments_near_fragment(c.fragment, c.distance);
    ASSERT_TRUE(near.has_value());
    EXPECT_EQ(*near, c.expected);
  }
  const Topology shared = points({{1, 2, 3}, {1, 2, 3}, {1, 2, 3.5f}}, {{0}, {2}, {1}});
  EXPECT_EQ(shared.get_fragments_near_fragment(0, 0.0f), Indices{2});
}

TEST(FragmentQuery, ReportsAFragmentIndexPastTheEnd) {
  const Topology three = points({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {{0}, {1}, {2}});
  const auto missing = three.get_fragments_near_fragment(3, 1.0f);
  ASSERT_FALSE(missing.has_value());
  EXPECT_EQ(missing.error(), (TopologyError{TopologyError::InvalidFragmentRef{3}}));
  EXPECT_EQ(to_string(missing.error()), "invalid fragment reference: 3");

  Topology without = three;
  without.fragments.reset();
  for (const std::uint32_t fragment : {0u, 7u}) {
    EXPECT_EQ(without.get_fragments_near_fragment(fragment, 9.0f), Indices{});
  }
}

TEST(FragmentQuery, RejectsGeometryItCannotReadInsteadOfReadingPastIt) {
  Topology short_geometry = points({{0, 0, 0}, {1, 1, 1}}, {{0}, {1}});
  short_geometry.geometry.pop_back();
  const auto geometry = short_geometry.get_fragments_near_fragment(0, 1.0f);
  ASSERT_FALSE(geometry.has_value());
  EXPECT_EQ(geometry.error(), (TopologyError{TopologyError::InvalidGeometryLength{5, 2}}));

  for (const std::uint32_t fragment : {0u, 1u}) {
    SCOPED_TRACE(fragment);
    const Topology outside = points({{0, 0, 0}, {1, 1, 1}}, {{0}, {1, 2}});
    const auto result = outside.get_fragments_near_fragment(fragment, 1.0f);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), (TopologyError{TopologyError::InvalidFragments{}}));
  }
}

// The distance is sqrt(((dx * dx) + (dy * dy)) + (dz * dz)) in float, every step rounded: a threshold
// equal to that float is reached and the next float below it is not.
TEST(FragmentQuery, ComparesTheFloatDistanceRoundedStepByStep) {
  const float a[3] = {0.1f, 0.7f, -1.3f};
  const float b[3] = {2.3f, -0.9f, 1.7f};
  volatile float dx = b[0] - a[0];
  volatile float dy = b[1] - a[1];
  volatile float dz = b[2] - a[2];
  volatile float xx = dx * dx;
  volatile float yy = dy * dy;
  volatile float zz = dz * dz;
  volatile float sum = xx + yy;
  volatile float total = sum + zz;
  const float distance = std::sqrt(static_cast<float>(total));
  const Topology pair = points({{a[0], a[1], a[2]}, {b[0], b[1], b[2]}}, {{0}, {1}});
  EXPECT_EQ(pair.get_fragments_near_fragment(0, distance), Indices{1});
  EXPECT_EQ(pair.get_fragments_near_fragment(0, std::nextafter(distance, 0.0f)), Indices{});
}

// The float distance of two atoms, rounded step by step. This file is compiled without floating-point
// contraction, like the library's distance code.
float float_distance(const std::vector<float>& g, std::size_t a, std::size_t b) {
  const float dx = g[3 * b] - g[3 * a];
  const float dy = g[3 * b + 1] - g[3 * a + 1];
  const float dz = g[3 * b + 2] - g[3 * a + 2];
  return std::sqrt(((dx * dx) + (dy * dy)) + (dz * dz));
}

// The query as defined, at each distance: every query atom against every atom, then the fragments
// holding a near atom.
std::vector<Indices> pairwise_near(const Topology& topology, std::uint32_t fragment,
                                   const std::vector<float>& distances) {
  const std::size_t n = topology.symbols.size();
  std::vector<std::uint8_t> near(distances.size() * n, 0);
  for (const AtomRef a : (*topology.fragments)[fragment]) {
    for (std::size_t j = 0; j < n; ++j) {
      const float d = float_distance(topology.geometry, a, j);
      for (std::size_t k = 0; k < distances.size(); ++k)
        near[k * n + j] |= static_cast<std::uint8_t>(d <= distances[k]);
    }
  }
  std::vector<Indices> results(distances.size());
  for (std::size_t k = 0; k < distances.size(); ++k) {
    for (std::uint32_t i = 0; i < topology.fragments->size(); ++i) {
      const Fragment& atoms = (*topology.fragments)[i];
      if (i != fragment &&
          std::any_of(atoms.begin(), atoms.end(), [&](AtomRef atom) { return near[k * n + atom] != 0; })) {
        results[k].push_back(i);
      }
    }
  }
  return results;
}

// Every stride-th fragment as the query, at each distance.
void expect_pairwise_results(const Topology& topology, const std::vector<float>& distances, std::uint32_t stride = 1) {
  ASSERT_TRUE(topology.fragments.has_value());
  for (std::uint32_t fragment = 0; fragment < topology.fragments->size(); fragment += stride) {
    const std::vector<Indices> expected = pairwise_near(topology, fragment, distances);
    for (std::size_t k = 0; k < distances.size(); ++k) {
      const auto near = topology.get_fragments_near_fragment(fragment, distances[k]);
      ASSERT_TRUE(near.has_value());
      ASSERT_EQ(*near, expected[k]) << "fragment " << fragment << ", distance " << distances[k];
    }
  }
}

const std::vector<float> distances = {0.0f, 1.5f, 3.7f, 5.0f, 8.0f, -1.0f};

TEST(FragmentQuery, AgreesWithThePairwiseScanOnRealStructures) {
  struct Case {
    std::string file;
    std::uint32_t stride;
  };
  // 1AON has 58,870 atoms: every 293rd of its 8,029 fragments keeps the pairwise scan quick under the
  // sanitizers.
  const Case cases[] = {
      {"pdb/1CRN.pdb", 1}, {"pdb/1aki.pdb", 1}, {"pdb/3o5r.pdb", 1}, {"cif/1A8O.cif", 1}, {"pdb/1aon.pdb.gz", 293}};
  std::size_t read = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto text = test::read_listed_file(c.file);
    if (!text) continue;
    ++read;
    const auto structure = test::first_structure(c.file, *text);
    ASSERT_TRUE(structure.has_value());
    expect_pairwise_results(structure->topology, distances, c.stride);
  }
  EXPECT_GT(read, 0u);
}

// Random atoms in a 12 Å cube, in fragments of 0 to 12 atoms. The distances include the float
// distances of some atom pairs, reached exactly, and the floats just below them.
TEST(FragmentQuery, AgreesWithThePairwiseScanOnRandomAtomsAtTheirExactDistances) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> coordinate(-6.0f, 6.0f);
  std::uniform_int_distribution<std::uint32_t> size(0, 12);
  Topology topology;
  std::vector<Fragment> fragments;
  for (std::uint32_t atom = 0; atom < 600;) {
    Fragment& fragment = fragments.emplace_back();
    for (std::uint32_t k = size(random); k > 0; --k, ++atom) {
      fragment.push_back(atom);
      topology.symbols.push_back(Element::C);
      for (int axis = 0; axis < 3; ++axis) topology.geometry.push_back(coordinate(random));
    }
  }
  topology.fragments = std::move(fragments);
  std::vector<float> exact = distances;
  for (const std::size_t far : {1u, 17u, 301u, 599u}) {
    const float d = float_distance(topology.geometry, 0, far);
    exact.insert(exact.end(), {d, std::nextafter(d, 0.0f)});
  }
  expect_pairwise_results(topology, exact);
}

// Values where a box test on rounded bounds could lose a pair the distance test accepts: squares that
// underflow to zero, squares that overflow to infinity at an infinite distance, infinite and NaN
// coordinates, and coordinates so large that a small distance is below their spacing.
TEST(FragmentQuery, AgreesWithThePairwiseScanAtExtremeValues) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = 3e38f;
  const float tiny = 1e-30f;
  const Topology extremes = points({{0, 0, 0},
                                    {tiny, -tiny, tiny},
                                    {1e-19f, 0, 0},
                                    {big, 0, 0},
                                    {-big, big, 0},
                                    {inf, 0, 0},
                                    {nan, 0, 0},
                                    {0, nan, 1},
                                    {1e6f, 1e6f, 1e6f},
                                    {1e6f + 0.0625f, 1e6f, 1e6f},
                                    {-inf, -inf, -inf}},
                                   {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}, {9}, {10}, {}, {1, 3}});
  expect_pairwise_results(extremes, {0.0f, -0.0f, 1e-38f, 1e-20f, 0.0625f, 0.06f, 1.0f, 3.4e38f, inf, -inf, nan});
}

}  // namespace
}  // namespace redivi
