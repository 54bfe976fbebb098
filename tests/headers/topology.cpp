// redivi/topology.hpp alone: every function it declares compiles and links.
#include "redivi/topology.hpp"

namespace header_check {

// Never run: building it is the check.
void topology_hpp() {
  redivi::Topology topology;
  topology.check();
  topology.extend(redivi::Topology{});
  topology.new_topology_from_residue_subset({});
  topology.get_fragments_near_fragment(0, 1.0F);
}

}  // namespace header_check
