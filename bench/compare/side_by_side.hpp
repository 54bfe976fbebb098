// Times our reader or writer and the peers' on the same text in one run, and prints each peer's
// median time as a multiple of ours.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "generate.hpp"
#include "readers.hpp"

namespace redivi::compare {

// What one run of a side produced: a count to check the sides against each other, or an error.
struct Outcome {
  std::size_t count = 0;
  std::string error;  // empty on success
};

Outcome atoms_of(const bench::ReadResult& result);
Outcome structures_of(const bench::ReadResult& result);

struct Side {
  Side(std::string name_, std::function<Outcome()> run_, std::string skipped_ = {})
      : name(std::move(name_)), run(std::move(run_)), skipped(std::move(skipped_)) {}

  std::string name;
  std::function<Outcome()> run;
  std::string skipped;  // why the side is not run on this input; empty when it is run
};

struct Options {
  std::size_t repetitions = 7;
  double budget_seconds = 20;  // a slow side stops repeating once its runs took this long in all
};

// Runs the sides in turns, each up to the repetitions, and prints one line per side: its median
// time, its count in the unit given (flagged when it is not the expected one), and its time as a
// multiple of the first side's.
void run_side_by_side(const Options& options, std::string_view title, std::string_view unit, std::size_t bytes,
                      const std::vector<Side>& sides, std::optional<std::size_t> expected);

// The sides followed by more sides.
std::vector<Side> joined(std::vector<Side> sides, std::vector<Side> more);

// A text to compare on: a corpus file, or a generated one with the count it must give.
struct Input {
  std::string name;
  std::string text;
  std::optional<std::size_t> expected;
};

// A generated input and the name it is shown under.
struct Generator {
  std::optional<bench::Generated> (*make)();
  std::string_view name;
};

// The corpus files that are present, then the generated inputs whose sources are present.
std::vector<Input> load_inputs(std::span<const std::string_view> corpus_files, std::span<const Generator> generators);

// A group of comparisons, run in rank order.
struct Comparison {
  int rank;
  std::string_view name;
  void (*run)(const Options& options);
};

// Adds a comparison at program start; returns true so that it can initialise a constant.
bool register_comparison(const Comparison& comparison);

// The registered comparisons in rank order.
std::vector<Comparison> comparisons();

}  // namespace redivi::compare
