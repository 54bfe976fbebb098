// SDF reading and writing speed on the largest corpus files: molecules/s and MB/s.
#include <benchmark/benchmark.h>

#include "redivi/convert/sdf.hpp"
#include "test_data.hpp"

namespace redivi::sdf {
namespace {

struct Corpus {
  std::string text;
  std::vector<TRC> trcs;
  std::vector<std::optional<DataBlocks>> extras;
};

// The file's text and the structures of every entry that reads, loaded once. Some entries of the
// PubChem set are refused (charge code 4), so entries are read one by one.
const Corpus* load(std::string_view name) {
  static std::vector<std::pair<std::string, Corpus>> loaded;
  for (const auto& [loaded_name, corpus] : loaded) {
    if (loaded_name == name) return &corpus;
  }
  auto text = test::read_corpus_file("sdf/" + std::string(name));
  if (!text) return nullptr;
  Corpus corpus{std::move(*text), {}, {}};
  for (const auto& item : sdf_entries(corpus.text)) {
    const auto* entry = std::get_if<SDFEntry>(&item);
    if (entry == nullptr) break;
    auto molecule = parse_sdf_entry(entry->text);
    if (!molecule) continue;
    auto converted = std::move(*molecule).try_into();
    if (!converted) continue;
    corpus.trcs.push_back(std::move(converted->first));
    corpus.extras.push_back(std::move(converted->second));
  }
  loaded.emplace_back(std::string(name), std::move(corpus));
  return &loaded.back().second;
}

void set_rates(benchmark::State& state, std::size_t molecules, std::size_t bytes) {
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["molecules/s"] =
      benchmark::Counter(iterations * static_cast<double>(molecules), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

// Reads every entry: split, parse, convert and check.
void BM_SdfRead(benchmark::State& state, std::string_view name) {
  const Corpus* corpus = load(name);
  if (corpus == nullptr) {
    state.SkipWithError("corpus file absent");
    return;
  }
  std::size_t molecules = 0;
  for (auto _ : state) {
    molecules = 0;
    for (const auto& item : sdf_entries(corpus->text)) {
      const auto* entry = std::get_if<SDFEntry>(&item);
      if (entry == nullptr) break;
      auto molecule = parse_sdf_entry(entry->text);
      if (!molecule) continue;
      auto converted = std::move(*molecule).try_into();
      molecules += converted.has_value();
      benchmark::DoNotOptimize(converted);
    }
  }
  set_rates(state, molecules, corpus->text.size());
}

// The whole-file entry point, on a file where every entry reads.
void BM_SdfFromSdf(benchmark::State& state, std::string_view name) {
  const Corpus* corpus = load(name);
  if (corpus == nullptr) {
    state.SkipWithError("corpus file absent");
    return;
  }
  for (auto _ : state) {
    auto result = from_sdf(corpus->text);
    benchmark::DoNotOptimize(result);
  }
  set_rates(state, corpus->trcs.size(), corpus->text.size());
}

void BM_SdfWrite(benchmark::State& state, std::string_view name) {
  const Corpus* corpus = load(name);
  if (corpus == nullptr) {
    state.SkipWithError("corpus file absent");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string out;
    auto written = to_sdf(corpus->trcs, corpus->extras, out);
    benchmark::DoNotOptimize(written);
    bytes = out.size();
  }
  set_rates(state, corpus->trcs.size(), bytes);
}

BENCHMARK_CAPTURE(BM_SdfRead, pubchem_hard_set, "pubchem-hard-set.sdf.gz")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SdfRead, mols_1000, "mols.1000.sdf.gz")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SdfFromSdf, mols_1000, "mols.1000.sdf.gz")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SdfWrite, pubchem_hard_set, "pubchem-hard-set.sdf.gz")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SdfWrite, mols_1000, "mols.1000.sdf.gz")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace redivi::sdf
