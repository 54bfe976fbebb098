// Runs the structure operations on whatever a reader returned, stopping the fuzzer when one misbehaves.
#include "exercise.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace redivi::fuzz {

void require(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", promise);
  std::abort();
}

namespace {

void query_fragments(const Topology& topology) {
  const std::size_t count = topology.fragments ? topology.fragments->size() : 0;
  for (const std::size_t fragment : {std::size_t{0}, count / 2, count}) {
    const auto near = topology.get_fragments_near_fragment(static_cast<std::uint32_t>(fragment), 4.0f);
    require(near.has_value() || topology.fragments, "a topology without fragments has no near fragments");
    require(fragment < count || !near.has_value() || !topology.fragments, "a fragment past the end is an error");
  }
}

void subset_every_other_residue(const TRC& trc, bool valid) {
  std::vector<ResidueRef> refs;
  for (std::size_t i = 0; i < trc.residues.residues.size(); i += 2) refs.push_back(static_cast<ResidueRef>(i));
  const auto subset = trc.new_trc_from_residue_subset(refs);
  if (subset) require(!valid || subset->check().has_value(), "a subset of a valid structure is valid");
  const ResidueRef past_end[] = {static_cast<ResidueRef>(trc.residues.residues.size())};
  require(!trc.new_trc_from_residue_subset(past_end).has_value(), "a residue past the end is an error");
}

}  // namespace

void exercise(const Topology& topology) {
  const bool valid = topology.check().has_value();
  Topology joined = topology;
  joined.extend(Topology{topology});
  require(!valid || joined.check().has_value(), "a valid topology joined to itself is valid");
  query_fragments(topology);
}

void exercise(const TRC& trc) {
  exercise(trc.topology);
  const bool valid = trc.check().has_value();
  TRC joined = trc;
  const auto extended = joined.extend(TRC{trc});
  if (extended) require(!valid || joined.check().has_value(), "a valid structure joined to itself is valid");
  subset_every_other_residue(trc, valid);
}

}  // namespace redivi::fuzz
