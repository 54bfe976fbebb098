// mmCIF reading speed: the CIF document alone and the whole reader, on the largest corpus files.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "cif/document.hpp"
#include "redivi/convert/mmcif.hpp"
#include "test_data.hpp"

namespace {

// Each file is read from disk once, on first use; empty when the corpus is absent.
const std::string& corpus_text(std::string_view file) {
  static std::map<std::string, std::string, std::less<>> texts;
  auto found = texts.find(file);
  if (found == texts.end()) {
    found = texts.emplace(std::string(file), redivi::test::read_corpus_file(file).value_or("")).first;
  }
  return found->second;
}

void set_counters(benchmark::State& state, const std::string& text, std::uint64_t atoms) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["atoms/s"] =
      benchmark::Counter(static_cast<double>(atoms * state.iterations()), benchmark::Counter::kIsRate);
}

void ReadMmcif(benchmark::State& state, std::string_view file) {
  const std::string& text = corpus_text(file);
  if (text.empty()) {
    state.SkipWithError("corpus file absent");
    return;
  }
  std::uint64_t atoms = 0;
  for (auto _ : state) {
    auto structures = redivi::mmcif::from_mmcif(text);
    benchmark::DoNotOptimize(structures);
    atoms = 0;
    if (structures) {
      for (const redivi::TRC& trc : *structures) atoms += trc.topology.symbols.size();
    }
  }
  set_counters(state, text, atoms);
}

void TokenizeMmcif(benchmark::State& state, std::string_view file) {
  const std::string& text = corpus_text(file);
  if (text.empty()) {
    state.SkipWithError("corpus file absent");
    return;
  }
  for (auto _ : state) {
    auto blocks = redivi::mmcif::detail::parse_mmcif(text);
    benchmark::DoNotOptimize(blocks);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK_CAPTURE(ReadMmcif, 2L6N, "cif/2L6N.cif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadMmcif, 1xnr, "cif/1xnr.cif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadMmcif, 1gya, "cif/1gya.cif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadMmcif, 4zxb, "cif/4zxb.cif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TokenizeMmcif, 2L6N, "cif/2L6N.cif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TokenizeMmcif, 1xnr, "cif/1xnr.cif")->Unit(benchmark::kMillisecond);

}  // namespace
