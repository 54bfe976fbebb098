// The fragments of a topology that come within a distance of one of its fragments.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "redivi/topology.hpp"

namespace redivi {
namespace {

// The query reads every fragment atom's coordinates: the geometry must hold three values per atom and
// every fragment atom must be an atom of the topology.
std::optional<TopologyError> unreadable_geometry(const Topology& topology) {
  const std::size_t n = topology.symbols.size();
  if (topology.geometry.size() != 3 * n) {
    return TopologyError{TopologyError::InvalidGeometryLength{topology.geometry.size(), n}};
  }
  for (const Fragment& fragment : *topology.fragments) {
    for (const AtomRef atom : fragment) {
      if (atom >= n) return TopologyError{TopologyError::InvalidFragments{}};
    }
  }
  return std::nullopt;
}

// Marks every atom within distance of the given atom. The distance is computed in float as
// sqrt(((dx * dx) + (dy * dy)) + (dz * dz)) exactly, products and sums rounded one by one (this file
// is compiled without floating-point contraction), so that the threshold decides as documented.
void mark_near(const std::vector<float>& geometry, AtomRef atom, float distance, std::vector<std::uint8_t>& near) {
  const float* xyz = geometry.data();
  const float x = xyz[3 * std::size_t{atom}];
  const float y = xyz[3 * std::size_t{atom} + 1];
  const float z = xyz[3 * std::size_t{atom} + 2];
  const std::size_t n = near.size();
  for (std::size_t j = 0; j < n; ++j) {
    const float dx = xyz[3 * j] - x;
    const float dy = xyz[3 * j + 1] - y;
    const float dz = xyz[3 * j + 2] - z;
    const float d = std::sqrt(((dx * dx) + (dy * dy)) + (dz * dz));
    near[j] |= static_cast<std::uint8_t>(d <= distance);
  }
}

bool has_near_atom(const Fragment& fragment, const std::vector<std::uint8_t>& near) {
  for (const AtomRef atom : fragment) {
    if (near[atom] != 0) return true;
  }
  return false;
}

}  // namespace

std::expected<std::vector<std::uint32_t>, TopologyError> Topology::get_fragments_near_fragment(std::uint32_t fragment,
                                                                                              float distance) const {
  if (!fragments) return std::vector<std::uint32_t>{};
  if (fragment >= fragments->size()) return std::unexpected(TopologyError{TopologyError::InvalidFragmentRef{fragment}});
  if (const auto invalid = unreadable_geometry(*this)) return std::unexpected(*invalid);
  // One flag per atom: a byte each, so the distance loop stores without read-modify-write of bits.
  std::vector<std::uint8_t> near(symbols.size(), 0);
  for (const AtomRef atom : (*fragments)[fragment]) mark_near(geometry, atom, distance, near);
  std::vector<std::uint32_t> result;
  for (std::uint32_t i = 0; i < fragments->size(); ++i) {
    if (i != fragment && has_near_atom((*fragments)[i], near)) result.push_back(i);
  }
  return result;
}

}  // namespace redivi
