#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "redivi/topology.hpp"

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

}  // namespace
}  // namespace redivi
