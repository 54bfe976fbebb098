// The topology of a selection of atoms, shared by the subsets by residues.
#pragma once

#include <expected>
#include <span>

#include "redivi/topology.hpp"
#include "redivi/trc.hpp"

namespace redivi::detail {

// Atom k of the result is the source's atom selection[k]; bonds and fragments are kept when all their
// atoms are selected, each atom mapped to its first position in the selection.
std::expected<Topology, TRCError> topology_from_selection(const Topology& source, std::span<const AtomRef> selection);

}  // namespace redivi::detail
