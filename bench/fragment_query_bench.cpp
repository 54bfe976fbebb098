// The fragment query with every residue of a large protein as the query fragment, threshold 5.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "redivi/topology.hpp"
#include "test_data.hpp"

namespace {

constexpr std::uint32_t side = 40;
constexpr std::uint32_t atom_count = side * side * 38;  // 60,800 atoms
constexpr std::uint32_t residue_size = 8;

// A stand-in when the corpus is absent: atoms 2.2 Å apart on a jittered cubic grid, about the atom
// density of a folded protein; each run of eight consecutive atoms is a fragment.
redivi::Topology protein_sized_topology() {
  redivi::Topology topology;
  topology.symbols.assign(atom_count, redivi::Element::C);
  topology.geometry.reserve(3 * std::size_t{atom_count});
  std::mt19937 random(7);
  std::uniform_real_distribution<float> jitter(-0.5f, 0.5f);
  std::vector<redivi::Fragment> fragments(atom_count / residue_size);
  for (std::uint32_t i = 0; i < atom_count; ++i) {
    for (const std::uint32_t cell : {i % side, i / side % side, i / (side * side)}) {
      topology.geometry.push_back(2.2f * static_cast<float>(cell) + jitter(random));
    }
    fragments[i / residue_size].push_back(i);
  }
  topology.fragments = std::move(fragments);
  return topology;
}

// 1AON (58,870 atoms in 8,029 residues), one fragment per residue.
redivi::Topology large_protein() {
  const auto text = redivi::test::read_corpus_file("pdb/1aon.pdb.gz");
  auto structure = text ? redivi::test::first_structure("1aon.pdb", *text) : std::nullopt;
  return structure ? std::move(structure->topology) : protein_sized_topology();
}

void fragment_near_every_fragment(benchmark::State& state) {
  const redivi::Topology topology = large_protein();
  const auto fragment_count = static_cast<std::uint32_t>(topology.fragments->size());
  for (auto _ : state) {
    for (std::uint32_t fragment = 0; fragment < fragment_count; ++fragment) {
      auto near = topology.get_fragments_near_fragment(fragment, 5.0f);
      benchmark::DoNotOptimize(near);
    }
  }
  state.counters["atoms"] = static_cast<double>(topology.symbols.size());
  state.counters["queries"] = fragment_count;
  state.counters["time/query"] = benchmark::Counter(static_cast<double>(state.iterations()) * fragment_count,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(fragment_near_every_fragment)->Unit(benchmark::kMillisecond);

}  // namespace
