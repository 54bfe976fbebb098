// XYZ reader and writer speed on a text of over a million atoms built in memory.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "redivi/convert/xyz.hpp"
#include "test_data.hpp"
#include "text.hpp"

namespace {

constexpr std::size_t minimum_atoms = 1'000'000;

// The atom lines of every frame of the trajectory, each atom name (H1, CH3, ...) replaced in
// place by its first letter, which is the element, so that the layout of the file is kept.
std::vector<std::string> trajectory_atom_lines(std::string_view trajectory) {
  std::vector<std::string> atom_lines;
  redivi::text::Lines lines{trajectory};
  std::string_view line;
  while (lines.next(line)) {
    std::size_t count = 0;
    if (!lines.next(line) || !redivi::text::parse_number(redivi::text::trim(line), count)) break;
    for (std::size_t atom = 0; atom < count && lines.next(line); ++atom) {
      std::string atom_line(line);
      const std::size_t name_start = atom_line.find_first_not_of(" \t");
      const std::size_t name_end = std::min(atom_line.find_first_of(" \t", name_start), atom_line.size());
      atom_line.replace(name_start + 1, name_end - name_start - 1, name_end - name_start - 1, ' ');
      atom_lines.push_back(std::move(atom_line));
    }
  }
  return atom_lines;
}

// Synthetic atoms when the trajectory is absent.
std::vector<std::string> synthetic_atom_lines() {
  std::vector<std::string> atom_lines;
  for (int atom = 0; atom < 1000; ++atom) {
    atom_lines.push_back(redivi::text::concat("C  ", atom % 97, ".125000 -", atom % 31, ".500000 ", atom, ".000001"));
  }
  return atom_lines;
}

// One frame of at least a million atoms, repeating the atoms of a real trajectory.
const std::string& large_xyz() {
  static const std::string text = [] {
    const auto trajectory = redivi::test::read_corpus_file("xyz/frame0.xyz");
    std::vector<std::string> atom_lines = trajectory ? trajectory_atom_lines(*trajectory) : synthetic_atom_lines();
    if (atom_lines.empty()) atom_lines = synthetic_atom_lines();
    const std::size_t copies = (minimum_atoms + atom_lines.size() - 1) / atom_lines.size();
    std::string out = redivi::text::concat(copies * atom_lines.size(), "\nrepeated trajectory atoms\n");
    for (std::size_t copy = 0; copy < copies; ++copy) {
      for (const std::string& atom_line : atom_lines) out.append(atom_line).push_back('\n');
    }
    return out;
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
