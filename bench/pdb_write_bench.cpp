// PDB writer speed on large synthetic structures, in bytes of PDB text written per second.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdint>
#include <string>

#include "redivi/convert/pdb.hpp"

namespace redivi {
namespace {

// Protein chains of eight-atom residues, a water chain and helices every twelve residues; coordinates
// spread over ±100 with three decimals, like crystal structures.
TRC synthetic_structure(std::uint32_t residue_count) {
  constexpr std::array<std::string_view, 8> names{"N", "CA", "C", "O", "CB", "CG", "CD1", "HG12"};
  constexpr std::array<std::string_view, 5> amino_acids{"ALA", "LEU", "GLY", "SER", "LYS"};
  TRC trc;
  Topology& topology = trc.topology;
  topology.labels.emplace();
  std::uint32_t seed = 12345;
  const auto coordinate = [&seed] {
    seed = seed * 1664525 + 1013904223;
    return static_cast<float>(seed >> 8) / static_cast<float>(1 << 24) * 200.0F - 100.0F;
  };
  Chain chain;
  for (std::uint32_t r = 0; r < residue_count; ++r) {
    const bool water = r % 10 == 9;
    Residue residue;
    for (std::uint32_t k = 0; k < (water ? 3U : 8U); ++k) {
      residue.push_back(static_cast<AtomRef>(topology.symbols.size()));
      topology.symbols.push_back(water ? (k == 0 ? Element::O : Element::H) : Element::C);
      topology.labels->emplace_back(water ? (k == 0 ? "O" : "H1") : names[k]);
      for (int axis = 0; axis < 3; ++axis) topology.geometry.push_back(coordinate());
    }
    trc.residues.residues.push_back(std::move(residue));
    trc.residues.seqs.emplace_back(water ? "HOH" : amino_acids[r % amino_acids.size()]);
    trc.residues.seq_ns.push_back(static_cast<std::int32_t>(r % 10000));
    trc.residues.insertion_codes.emplace_back(r % 97 == 0 ? "A" : "");
    chain.push_back(r);
    if (chain.size() == 5000 || r + 1 == residue_count) {
      trc.chains.chains.push_back(chain);
      chain.clear();
    }
  }
  trc.chains.alpha_helices.emplace();
  const auto chain_count = static_cast<std::uint32_t>(trc.chains.chains.size());
  for (std::uint32_t r = 0; r + 8 < residue_count; r += 12) {
    trc.chains.alpha_helices->push("H", r / 5000 % chain_count, r, r + 8, HelixClass::RightHandedAlpha, 9);
  }
  return trc;
}

void write_pdb(benchmark::State& state) {
  const TRC trc = synthetic_structure(static_cast<std::uint32_t>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto text = pdb::to_pdb(trc);
    if (!text) {
      state.SkipWithError(text.error().message.c_str());
      return;
    }
    bytes = text->size();
    benchmark::DoNotOptimize(text->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["atoms"] = static_cast<double>(trc.topology.symbols.size());
}

BENCHMARK(write_pdb)->Arg(15'000)->Arg(150'000)->Unit(benchmark::kMillisecond);


// Reference point on the same machine: the same ATOM lines through one snprintf call each.
void write_atoms_with_snprintf(benchmark::State& state) {
  const TRC trc = synthetic_structure(static_cast<std::uint32_t>(state.range(0)));
  const Topology& topology = trc.topology;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text;
    text.reserve(topology.symbols.size() * 81 + 1024);
    for (std::size_t r = 0; r < trc.residues.residues.size(); ++r) {
      for (const AtomRef a : trc.residues.residues[r]) {
        char line[128];
        const float* xyz = &topology.geometry[3 * std::size_t{a}];
        const int length = std::snprintf(line, sizeof line, "%-6s%5u %-4s%c%3s %c%4d%c   %8.3f%8.3f%8.3f%6.2f%6.2f          %2s%2s\n",
                                         "ATOM", a, (*topology.labels)[a].c_str(), ' ', trc.residues.seqs[r].c_str(), 'A',
                                         trc.residues.seq_ns[r], ' ', xyz[0], xyz[1], xyz[2], 1.0, 0.0,
                                         topology.symbols[a].symbol().data(), "");
        text.append(line, static_cast<std::size_t>(length));
      }
    }
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

BENCHMARK(write_atoms_with_snprintf)->Arg(15'000)->Arg(150'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace redivi
