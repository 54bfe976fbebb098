// Throughput of the PDB reader on the largest PDB files of the shared corpus, read into memory once.
#include <benchmark/benchmark.h>

#include <string>

#include "redivi/convert/pdb.hpp"
#include "test_data.hpp"

namespace {

void read_pdb(benchmark::State& state, const std::string& path) {
  const auto text = redivi::test::read_corpus_file(path);
  if (!text) {
    state.SkipWithError("file not found in the corpus");
    return;
  }
  std::size_t atoms = 0;
  for (auto _ : state) {
    auto structures = redivi::pdb::from_pdb_with_options(*text, true);
    if (!structures) {
      state.SkipWithError(("read fails: " + redivi::pdb::to_string(structures.error())).c_str());
      return;
    }
    atoms = 0;
    for (const redivi::TRC& trc : *structures) atoms += trc.topology.symbols.size();
    benchmark::DoNotOptimize(structures);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text->size()));
  state.counters["atoms/s"] = benchmark::Counter(static_cast<double>(atoms), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK_CAPTURE(read_pdb, water_hex, std::string("pdb/water_hex.pdb.gz"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, 1aon, std::string("pdb/1aon.pdb.gz"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, BaceCgSystemAtomistic, std::string("pdb/BaceCgSystemAtomistic.pdb"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, adk_oplsaa, std::string("pdb/adk_oplsaa.pdb"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, 6cvm, std::string("pdb/6cvm.pdb"))->Unit(benchmark::kMillisecond);

}  // namespace
