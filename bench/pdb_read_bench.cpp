// Throughput of the PDB reader on the largest PDB files of the shared corpus, read into memory once.
#include <benchmark/benchmark.h>

#include <string>

#include "generate.hpp"
#include "redivi/convert/pdb.hpp"
#include "test_data.hpp"
#include "text/text.hpp"

namespace {

// The lines before line_number (1-based).
std::string first_lines(const std::string& text, std::uint64_t line_number) {
  std::size_t end = 0;
  for (std::uint64_t n = 1; n < line_number && end != std::string::npos; ++n) {
    end = text.find('\n', end);
    if (end != std::string::npos) ++end;
  }
  return text.substr(0, end);
}

// Atom lines written without columns 77-78 get the unknown element "X" there, so that files written
// by simulation programs can be timed too.
std::string with_element_column(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 5);
  redivi::text::Lines lines{text};
  std::string_view line;
  while (lines.next(line)) {
    const bool atom = line.starts_with("ATOM  ") || line.starts_with("HETATM");
    if (atom && redivi::text::trim(redivi::text::columns(line, 77, 78)).empty()) {
      out.append(line.substr(0, std::min<std::size_t>(line.size(), 76)))
          .append(76 - std::min<std::size_t>(line.size(), 76), ' ');
      out.append(" X").append(line.size() > 78 ? line.substr(78) : std::string_view{});
    } else {
      out.append(line);
    }
    out.push_back('\n');
  }
  return out;
}

void time_read(benchmark::State& state, const std::string& text) {
  std::size_t atoms = 0;
  for (auto _ : state) {
    auto structures = redivi::pdb::from_pdb_with_options(text, true);
    if (!structures) {
      state.SkipWithError(("read fails: " + redivi::pdb::to_string(structures.error())).c_str());
      return;
    }
    atoms = 0;
    for (const redivi::TRC& trc : *structures) atoms += trc.topology.symbols.size();
    benchmark::DoNotOptimize(structures);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["atoms/s"] =
      benchmark::Counter(static_cast<double>(atoms), benchmark::Counter::kIsIterationInvariantRate);
}

// The whole file; where the reader rejects a line near the end (water_hex's hexadecimal serials past
// 99999), the lines before it.
void read_pdb(benchmark::State& state, const std::string& path) {
  const auto text = redivi::test::read_corpus_file(path);
  if (!text) {
    state.SkipWithError("file not found in the corpus");
    return;
  }
  const auto whole = redivi::pdb::from_pdb_with_options(*text, true);
  if (whole) return time_read(state, *text);
  const auto* fault = std::get_if<redivi::pdb::Error::ExpectedInt>(&whole.error().value);
  if (fault == nullptr) return time_read(state, *text);
  const std::string prefix = first_lines(*text, fault->line);
  state.SetLabel("first " + std::to_string(fault->line - 1) + " lines");
  time_read(state, prefix);
}

void read_pdb_element_filled(benchmark::State& state, const std::string& path) {
  const auto text = redivi::test::read_corpus_file(path);
  if (!text) {
    state.SkipWithError("file not found in the corpus");
    return;
  }
  state.SetLabel("element column filled with X");
  time_read(state, with_element_column(*text));
}

// Chains that recur: each of 42 chain identifiers in fifteen runs over a million atoms.
void read_recurring_chains(benchmark::State& state) {
  static const auto generated = redivi::bench::recurring_chain_pdb();
  if (!generated) {
    state.SkipWithError("pdb/1aon.pdb.gz not found in the corpus");
    return;
  }
  time_read(state, generated->text);
}

BENCHMARK(read_recurring_chains)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, water_hex, std::string("pdb/water_hex.pdb.gz"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, 1aon, std::string("pdb/1aon.pdb.gz"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, BaceCgSystemAtomistic, std::string("pdb/BaceCgSystemAtomistic.pdb"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb_element_filled, BaceCgSystemAtomistic, std::string("pdb/BaceCgSystemAtomistic.pdb"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, adk_oplsaa, std::string("pdb/adk_oplsaa.pdb"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb_element_filled, adk_oplsaa, std::string("pdb/adk_oplsaa.pdb"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(read_pdb, 6cvm, std::string("pdb/6cvm.pdb"))->Unit(benchmark::kMillisecond);

}  // namespace
