// XYZ reader and writer speed on a text of over a million atoms built in memory.
#include <benchmark/benchmark.h>

#include <string>

#include "generate.hpp"
#include "redivi/convert/xyz.hpp"

namespace {

// One frame of at least a million atoms, repeating the atoms of a real file.
const std::string& large_xyz() {
  static const std::string text = [] {
    auto generated = redivi::bench::large_xyz();
    return generated ? std::move(generated->text) : std::string{};
  }();
  return text;
}

void xyz_read(benchmark::State& state) {
  const std::string& text = large_xyz();
  std::size_t atoms = 0;
  for (auto _ : state) {
    auto topology = redivi::xyz::from_xyz(text);
    if (!topology) {
      state.SkipWithError(to_string(topology.error()).c_str());
      return;
    }
    atoms = topology->symbols.size();
    benchmark::DoNotOptimize(topology);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * atoms));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(xyz_read)->Unit(benchmark::kMillisecond);

void xyz_write(benchmark::State& state) {
  const auto topology = redivi::xyz::from_xyz(large_xyz());
  if (!topology) {
    state.SkipWithError(to_string(topology.error()).c_str());
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto text = redivi::xyz::to_xyz(*topology);
    bytes = text ? text->size() : 0;
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * topology->symbols.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(xyz_write)->Unit(benchmark::kMillisecond);

}  // namespace
