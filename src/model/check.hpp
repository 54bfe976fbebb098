// The part of the topology check that a subset needs before it reads a topology's lists.
#pragma once

#include <expected>

#include "redivi/topology.hpp"

namespace redivi::detail {

// The lengths that Topology::check tests, in its order, for the lists that are present: the atom lists,
// the stereochemistry beside bonds, the velocities and, when there are fragments, their value lists. Bond
// atoms and fragment membership are left alone, so that a subset can drop what it cannot keep.
std::expected<void, TopologyError> check_list_lengths(const Topology& topology);

}  // namespace redivi::detail
