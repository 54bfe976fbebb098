// Runs the side-by-side comparisons of our readers and writers with the peer libraries.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace {

constexpr std::string_view usage =
    "usage: redivi_compare [--repetitions N] [--budget SECONDS] [NAME...]\n"
    "  runs the comparisons whose names contain one of the NAMEs (all without NAME):\n";

bool parse_count(std::string_view text, std::size_t& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc{} && end == text.data() + text.size() && out > 0;
}

bool selected(std::string_view name, const std::vector<std::string_view>& wanted) {
  if (wanted.empty()) return true;
  for (std::string_view word : wanted) {
    if (name.find(word) != std::string_view::npos) return true;
  }
  return false;
}

int print_usage() {
  std::fputs(usage.data(), stderr);
  for (const auto& comparison : redivi::compare::comparisons())
    std::fprintf(stderr, "    %s\n", comparison.name.data());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  redivi::compare::Options options;
  std::vector<std::string_view> wanted;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::size_t budget = 0;
    if (arg == "--repetitions" && i + 1 < argc) {
      if (!parse_count(argv[++i], options.repetitions)) return print_usage();
    } else if (arg == "--budget" && i + 1 < argc) {
      if (!parse_count(argv[++i], budget)) return print_usage();
      options.budget_seconds = static_cast<double>(budget);
    } else if (arg.starts_with("-")) {
      return print_usage();
    } else {
      wanted.push_back(arg);
    }
  }
  std::printf(
      "Median wall time of %zu runs (fewer for a side slower than %.0f s in total); each peer's time\n"
      "is shown as a multiple of ours.\n\n",
      options.repetitions, options.budget_seconds);
  const std::string_view legend = redivi::compare::chemfiles_legend();
  std::fwrite(legend.data(), 1, legend.size(), stdout);
  for (const auto& comparison : redivi::compare::comparisons()) {
    if (selected(comparison.name, wanted)) comparison.run(options);
  }
  return 0;
}
