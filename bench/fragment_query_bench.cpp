// The fragment query on a synthetic topology of 100,000 atoms in fragments of 20.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "redivi/topology.hpp"

namespace {

constexpr std::uint32_t atom_count = 100'000;
constexpr std::uint32_t fragment_size = 20;

// Atoms on a 1 Å cubic grid, 50 × 50 per layer; each run of 20 consecutive atoms is a fragment.
redivi::Topology grid_topology() {
  redivi::Topology topology;
  topology.symbols.assign(atom_count, redivi::Element::C);
  topology.geometry.reserve(3 * std::size_t{atom_count});
  std::vector<redivi::Fragment> fragments(atom_count / fragment_size);
  for (std::uint32_t i = 0; i < atom_count; ++i) {
    topology.geometry.insert(topology.geometry.end(), {static_cast<float>(i % 50), static_cast<float>(i / 50 % 50),
                                                       static_cast<float>(i / 2500)});
    fragments[i / fragment_size].push_back(i);
  }
  topology.fragments = std::move(fragments);
  return topology;
}

void fragment_near_fragment(benchmark::State& state) {
  const redivi::Topology topology = grid_topology();
  const auto query = static_cast<std::uint32_t>(topology.fragments->size() / 2);
  for (auto _ : state) {
    auto near = topology.get_fragments_near_fragment(query, 5.0f);
    benchmark::DoNotOptimize(near);
  }
  // Distance tests: one per query atom and topology atom.
  state.SetItemsProcessed(state.iterations() * std::int64_t{fragment_size} * atom_count);
  state.counters["atoms/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * atom_count, benchmark::Counter::kIsRate);
}
BENCHMARK(fragment_near_fragment);

}  // namespace
