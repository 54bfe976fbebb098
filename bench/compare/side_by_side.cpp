// The side-by-side timing loop, its report, the inputs and the list of comparisons.
#include "side_by_side.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>

#include "test_data.hpp"

namespace redivi::compare {
namespace {

struct Timings {
  bool skipped = false;
  std::vector<double> seconds;
  Outcome last;
  double total = 0;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool wants_more(const Timings& timings, const Options& options) {
  if (timings.skipped || !timings.last.error.empty()) return false;
  return timings.seconds.size() < options.repetitions && timings.total < options.budget_seconds;
}

void time_once(const Side& side, Timings& timings) {
  const auto start = std::chrono::steady_clock::now();
  timings.last = side.run();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  timings.seconds.push_back(elapsed.count());
  timings.total += elapsed.count();
}

void print_side(const Side& side, const Timings& timings, std::string_view unit, double ours,
                std::optional<std::size_t> expected) {
  if (timings.skipped || !timings.last.error.empty()) {
    std::printf("  %-14s %s: %s\n", side.name.c_str(), timings.skipped ? "skipped" : "failed",
                timings.skipped ? side.skipped.c_str() : timings.last.error.c_str());
    return;
  }
  const double ms = median(timings.seconds) * 1e3;
  std::printf("  %-14s %10.2f ms %10zu %-9.*s (%zu runs)", side.name.c_str(), ms, timings.last.count,
              static_cast<int>(unit.size()), unit.data(), timings.seconds.size());
  if (ours > 0) std::printf("  %6.2fx", ms / ours);
  if (expected && *expected != timings.last.count) std::printf("  expected %zu", *expected);
  std::printf("\n");
}

std::vector<Comparison>& registered() {
  static std::vector<Comparison> list;
  return list;
}

}  // namespace

Outcome atoms_of(const bench::ReadResult& result) { return {result.atoms, result.error}; }
Outcome structures_of(const bench::ReadResult& result) { return {result.structures, result.error}; }

void run_side_by_side(const Options& options, std::string_view title, std::string_view unit, std::size_t bytes,
                      const std::vector<Side>& sides, std::optional<std::size_t> expected) {
  std::printf("%.*s (%.2f MB)\n", static_cast<int>(title.size()), title.data(), static_cast<double>(bytes) / 1e6);
  std::fflush(stdout);
  std::vector<Timings> timings(sides.size());
  for (std::size_t i = 0; i < sides.size(); ++i) timings[i].skipped = !sides[i].skipped.empty();
  for (bool more = true; more;) {
    more = false;
    for (std::size_t i = 0; i < sides.size(); ++i) {
      if (!wants_more(timings[i], options)) continue;
      time_once(sides[i], timings[i]);
      more = true;
    }
  }
  const double ours = timings.front().last.error.empty() ? median(timings.front().seconds) * 1e3 : 0;
  for (std::size_t i = 0; i < sides.size(); ++i) print_side(sides[i], timings[i], unit, i == 0 ? 0 : ours, expected);
  std::fflush(stdout);
}

std::vector<Side> joined(std::vector<Side> sides, std::vector<Side> more) {
  sides.insert(sides.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
  return sides;
}

std::vector<Input> load_inputs(std::span<const std::string_view> corpus_files, std::span<const Generator> generators) {
  std::vector<Input> inputs;
  for (std::string_view file : corpus_files) {
    std::optional<std::string> text = test::read_corpus_file(file);
    if (text) inputs.push_back({std::string(file), std::move(*text), std::nullopt});
  }
  for (const Generator& generator : generators) {
    std::optional<bench::Generated> generated = generator.make();
    if (generated) inputs.push_back({std::string(generator.name), std::move(generated->text), generated->count});
  }
  if (inputs.empty()) std::printf("no input: the corpus folder %s is missing\n", REDIVI_DATA_DIR);
  return inputs;
}

bool register_comparison(const Comparison& comparison) {
  registered().push_back(comparison);
  return true;
}

std::vector<Comparison> comparisons() {
  std::vector<Comparison> list = registered();
  std::sort(list.begin(), list.end(), [](const Comparison& a, const Comparison& b) { return a.rank < b.rank; });
  return list;
}

}  // namespace redivi::compare
