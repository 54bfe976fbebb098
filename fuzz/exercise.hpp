// Runs the structure operations on whatever a reader returned, stopping the fuzzer when one misbehaves.
#pragma once

#include "redivi/topology.hpp"
#include "redivi/trc.hpp"

namespace redivi::fuzz {

// Stops the fuzzer when a promise of the library is broken, so that it records the input that led here.
void require(bool holds, const char* promise);

// Checks the topology, joins it to a copy of itself and queries the fragments near its first and last.
void exercise(const Topology& topology);

// The topology's operations, then the structure's: the check, a join with itself and a subset of every
// other residue. A structure that passes its check must still pass it after the join and the subset.
void exercise(const TRC& trc);

}  // namespace redivi::fuzz
