// PDB writer speed in bytes of PDB text written per second: large synthetic structures and real files.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "redivi/convert/pdb.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

// Coordinates spread over ±100, like a crystal structure's.
class Coordinates {
 public:
  float next() {
    seed_ = seed_ * 1664525 + 1013904223;
    return static_cast<float>(seed_ >> 8) / static_cast<float>(1 << 24) * 200.0F - 100.0F;
  }

 private:
  std::uint32_t seed_ = 12345;
};

// Residue r: every tenth a water of three atoms, the others amino acids of eight atoms.
void add_residue(TRC& trc, std::uint32_t r, Coordinates& coordinates) {
  constexpr std::array<std::string_view, 8> names{"N", "CA", "C", "O", "CB", "CG", "CD1", "HG12"};
  constexpr std::array<std::string_view, 5> amino_acids{"ALA", "LEU", "GLY", "SER", "LYS"};
  const bool water = r % 10 == 9;
  Topology& topology = trc.topology;
  Residue residue;
  for (std::uint32_t k = 0; k < (water ? 3U : 8U); ++k) {
    residue.push_back(static_cast<AtomRef>(topology.symbols.size()));
    topology.symbols.push_back(water ? (k == 0 ? Element::O : Element::H) : Element::C);
    topology.labels->emplace_back(water ? (k == 0 ? "O" : "H1") : names[k]);
    for (int axis = 0; axis < 3; ++axis) topology.geometry.push_back(coordinates.next());
  }
  trc.residues.residues.push_back(std::move(residue));
  trc.residues.seqs.emplace_back(water ? "HOH" : amino_acids[r % amino_acids.size()]);
  trc.residues.seq_ns.push_back(static_cast<std::int32_t>(r % 10000));
  trc.residues.insertion_codes.emplace_back(r % 97 == 0 ? "A" : "");
}

// Chains of 5000 residues with a helix every twelve residues.
TRC synthetic_structure(std::uint32_t residue_count) {
  constexpr std::uint32_t chain_length = 5000;
  TRC trc;
  trc.topology.labels.emplace();
  trc.chains.alpha_helices.emplace();
  Coordinates coordinates;
  for (std::uint32_t r = 0; r < residue_count; ++r) {
    add_residue(trc, r, coordinates);
    if (r % chain_length == 0) trc.chains.chains.emplace_back();
    trc.chains.chains.back().push_back(r);
    if (r % 12 == 0 && r + 8 < residue_count) {
      trc.chains.alpha_helices->push("H", r / chain_length, r, r + 8, HelixClass::RightHandedAlpha, 9);
    }
  }
  return trc;
}

void write_structures(benchmark::State& state, const std::vector<TRC>& structures) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const TRC& trc : structures) {
      auto text = pdb::to_pdb(trc);
      if (!text) {
        state.SkipWithError(text.error().message.c_str());
        return;
      }
      bytes += text->size();
      benchmark::DoNotOptimize(text->data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void write_synthetic_pdb(benchmark::State& state) {
  const std::vector<TRC> structures{synthetic_structure(static_cast<std::uint32_t>(state.range(0)))};
  write_structures(state, structures);
  state.counters["atoms"] = static_cast<double>(structures.front().topology.symbols.size());
}

// Every structure of a corpus file, as the reader gives them.
void write_real_pdb(benchmark::State& state, const std::string& path) {
  const auto text = test::read_corpus_file(path);
  if (!text) {
    state.SkipWithError("file not found in the corpus");
    return;
  }
  const auto structures = pdb::from_pdb_with_options(*text, true);
  if (!structures) {
    state.SkipWithError(("read fails: " + pdb::to_string(structures.error())).c_str());
    return;
  }
  write_structures(state, *structures);
}

// Reference point on the same machine: ATOM lines through one snprintf call each.
void write_atoms_with_snprintf(benchmark::State& state) {
  const TRC trc = synthetic_structure(static_cast<std::uint32_t>(state.range(0)));
  const Topology& topology = trc.topology;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text;
    text.reserve(topology.symbols.size() * 81 + 1024);
    for (std::size_t r = 0; r < trc.residues.residues.size(); ++r) {
      for (const AtomRef a : trc.residues.residues[r]) {
        std::array<char, 128> line;
        const float* xyz = &topology.geometry[3 * std::size_t{a}];
        const int length = std::snprintf(
            line.data(), line.size(), "%-6s%5u %-4s%c%3s %c%4d%c   %8.3f%8.3f%8.3f%6.2f%6.2f          %2s%2s\n", "ATOM",
            a, (*topology.labels)[a].c_str(), ' ', trc.residues.seqs[r].c_str(), 'A', trc.residues.seq_ns[r], ' ',
            static_cast<double>(xyz[0]), static_cast<double>(xyz[1]), static_cast<double>(xyz[2]), 1.0, 0.0,
            topology.symbols[a].symbol().data(), "");
        text.append(line.data(), static_cast<std::size_t>(length));
      }
    }
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

BENCHMARK(write_synthetic_pdb)->Arg(15'000)->Arg(150'000)->Unit(benchmark::kMillisecond);
BENCHMARK(write_atoms_with_snprintf)->Arg(15'000)->Arg(150'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(write_real_pdb, 1aon, std::string("pdb/1aon.pdb.gz"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(write_real_pdb, 6cvm, std::string("pdb/6cvm.pdb"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(write_real_pdb, 1gya, std::string("pdb/1gya.pdb"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(write_real_pdb, 3wip, std::string("pdb/3wip.pdb"))->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace redivi
