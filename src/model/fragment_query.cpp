// The fragments of a topology that come within a distance of one of its fragments.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "redivi/topology.hpp"

namespace redivi {
namespace {

// The distance test that decides: sqrt(((dx * dx) + (dy * dy)) + (dz * dz)) in float, every product and
// sum rounded on its own (this file is compiled without floating-point contraction), compared with <=.
bool within(const float* xyz, AtomRef query_atom, AtomRef atom, float distance) {
  const float* a = xyz + 3 * std::size_t{query_atom};
  const float* b = xyz + 3 * std::size_t{atom};
  const float dx = b[0] - a[0];
  const float dy = b[1] - a[1];
  const float dz = b[2] - a[2];
  return std::sqrt(((dx * dx) + (dy * dy)) + (dz * dz)) <= distance;
}

// How far beyond the query atoms' bounding box an atom may lie and still pass `within`.
// Let t be the distance and dx the float difference of an accepted pair. If |dx| >= 2^-60, dx * dx is
// a normal float, and its square, the two sums and the square root each round down by at most a factor
// (1 - 2^-24), so t >= |dx| (1 - 2^-24)^2.5 and |dx| <= t (1 + 2^-22); the difference itself is
// within a factor 2^-24 of the real one (a subnormal difference is exact), so the real gap is at most
// t (1 + 2^-21). If |dx| < 2^-60 (squares that underflow to zero), the gap is below 2^-59. A square that
// overflows gives an infinite distance, accepted only for an infinite t, whose margin is infinite too.
// The margin covers both bounds after its own rounding (a subnormal t gets the 2^-59).
float margin(float distance) { return std::max(distance * (1.0f + 0x1p-18f), 0x1p-59f); }

// The query atoms' bounding box widened by the margin, as lower and upper bounds per axis. A NaN
// coordinate is skipped: such an atom is near nothing. Rounding is monotone, so an atom whose real
// coordinate is within the margin of the box also passes the float comparisons with these bounds.
struct Box {
  float low[3];
  float high[3];
};

Box search_box(const float* xyz, const Fragment& query, float distance) {
  constexpr float infinity = std::numeric_limits<float>::infinity();
  Box box{{infinity, infinity, infinity}, {-infinity, -infinity, -infinity}};
  for (const AtomRef atom : query) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
      const float value = xyz[3 * std::size_t{atom} + axis];
      if (value < box.low[axis]) box.low[axis] = value;
      if (value > box.high[axis]) box.high[axis] = value;
    }
  }
  const float widen = margin(distance);
  for (std::size_t axis = 0; axis < 3; ++axis) {
    box.low[axis] -= widen;
    box.high[axis] += widen;
  }
  return box;
}

// One flag per atom: whether it lies in the box. The comparisons are "outside" tests so that a NaN
// bound (an infinite bound minus an infinite margin) rejects nothing and leaves the decision to the
// distance test. Free of branches, so that the compiler can vectorise it.
std::vector<std::uint8_t> in_box(const std::vector<float>& geometry, const Box& box) {
  std::vector<std::uint8_t> inside(geometry.size() / 3);
  const float* p = geometry.data();
  for (std::size_t j = 0; j < inside.size(); ++j, p += 3) {
    const bool outside = (p[0] < box.low[0]) | (p[0] > box.high[0]) | (p[1] < box.low[1]) | (p[1] > box.high[1]) |
                         (p[2] < box.low[2]) | (p[2] > box.high[2]);
    inside[j] = !outside;
  }
  return inside;
}

}  // namespace

std::expected<std::vector<std::uint32_t>, TopologyError> Topology::get_fragments_near_fragment(std::uint32_t fragment,
                                                                                               float distance) const {
  if (!fragments) return std::vector<std::uint32_t>{};
  if (fragment >= fragments->size()) return std::unexpected(TopologyError{TopologyError::InvalidFragmentRef{fragment}});
  const std::size_t n = symbols.size();
  if (geometry.size() != 3 * n) {
    return std::unexpected(TopologyError{TopologyError::InvalidGeometryLength{geometry.size(), n}});
  }
  const Fragment& query = (*fragments)[fragment];
  const auto outside_topology = [n](AtomRef atom) { return atom >= n; };
  if (std::any_of(query.begin(), query.end(), outside_topology)) {
    return std::unexpected(TopologyError{TopologyError::InvalidFragments{}});
  }
  // A negative or NaN distance is never reached (-0 is reached at distance 0, hence the >= test).
  const bool reachable = distance >= 0.0f;
  const std::vector<std::uint8_t> candidate = in_box(geometry, search_box(geometry.data(), query, distance));
  const auto near = [&](AtomRef atom) {
    return candidate[atom] != 0 && std::any_of(query.begin(), query.end(), [&](AtomRef query_atom) {
             return within(geometry.data(), query_atom, atom, distance);
           });
  };
  // The fragments' atoms are checked against the atom count in the pass that reads them anyway.
  std::vector<std::uint32_t> result;
  for (std::uint32_t i = 0; i < fragments->size(); ++i) {
    const Fragment& atoms = (*fragments)[i];
    std::uint8_t any_candidate = 0;
    for (const AtomRef atom : atoms) {
      if (atom >= n) return std::unexpected(TopologyError{TopologyError::InvalidFragments{}});
      any_candidate |= candidate[atom];
    }
    if (any_candidate != 0 && reachable && i != fragment && std::any_of(atoms.begin(), atoms.end(), near)) {
      result.push_back(i);
    }
  }
  return result;
}

}  // namespace redivi
