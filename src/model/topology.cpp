// The consistency check of a topology's lists.
#include "redivi/topology.hpp"

#include "model/partition.hpp"

namespace redivi {
namespace {

using Result = std::expected<void, TopologyError>;

Result fail(auto variant) { return std::unexpected(TopologyError{variant}); }

// Whether an optional list is absent or has the expected length.
template <class T>
bool absent_or_sized(const std::optional<std::vector<T>>& list, std::size_t expected) {
  return !list || list->size() == expected;
}

Result check_atom_lists(const Topology& topology) {
  const std::size_t n = topology.symbols.size();
  if (topology.geometry.size() != 3 * n) return fail(TopologyError::InvalidGeometryLength{topology.geometry.size(), n});
  if (!absent_or_sized(topology.labels, n)) return fail(TopologyError::InvalidLabelsLength{topology.labels->size(), n});
  if (!absent_or_sized(topology.partial_charges, n)) {
    return fail(TopologyError::InvalidPartialChargesLength{topology.partial_charges->size(), n});
  }
  if (!absent_or_sized(topology.formal_charges, n)) {
    return fail(TopologyError::InvalidFormalChargesLength{topology.formal_charges->size(), n});
  }
  return {};
}

Result check_bonds(const Topology& topology) {
  const std::size_t n = topology.symbols.size();
  if (!topology.connectivity) {
    if (topology.stereochemistry) return fail(TopologyError::InvalidStereochemistryExistence{});
    return {};
  }
  for (const Bond& bond : *topology.connectivity) {
    if (bond.first >= n || bond.second >= n || bond.first == bond.second) {
      return fail(TopologyError::InvalidConnectivity{bond.first, bond.second});
    }
  }
  const std::size_t bond_count = topology.connectivity->size();
  if (!absent_or_sized(topology.stereochemistry, bond_count)) {
    return fail(TopologyError::InvalidStereochemistryLength{topology.stereochemistry->size(), bond_count});
  }
  return {};
}

// A topology without fragments has none, so fragment value lists beside it must be empty.
Result check_fragments(const Topology& topology) {
  std::size_t fragment_count = 0;
  if (topology.fragments) {
    if (!partition::check(*topology.fragments, topology.symbols.size()).complete) {
      return fail(TopologyError::InvalidFragments{});
    }
    fragment_count = topology.fragments->size();
  }
  if (!absent_or_sized(topology.fragment_formal_charges, fragment_count)) {
    return fail(
        TopologyError::InvalidFragmentFormalChargesLength{topology.fragment_formal_charges->size(), fragment_count});
  }
  if (!absent_or_sized(topology.fragment_partial_charges, fragment_count)) {
    return fail(
        TopologyError::InvalidFragmentPartialChargesLength{topology.fragment_partial_charges->size(), fragment_count});
  }
  if (!absent_or_sized(topology.fragment_multiplicities, fragment_count)) {
    return fail(
        TopologyError::InvalidFragmentMultiplicitiesLength{topology.fragment_multiplicities->size(), fragment_count});
  }
  return {};
}

}  // namespace

std::expected<void, TopologyError> Topology::check() const {
  if (auto result = check_atom_lists(*this); !result) return result;
  if (auto result = check_bonds(*this); !result) return result;
  const std::size_t n = symbols.size();
  if (!absent_or_sized(velocities, 3 * n)) return fail(TopologyError::InvalidVelocitiesLength{velocities->size(), n});
  return check_fragments(*this);
}

}  // namespace redivi
