// The structure check on a ribosome-sized synthetic structure: a million atoms in residues of ten.
#include <benchmark/benchmark.h>

#include "redivi/trc.hpp"

namespace redivi {
namespace {

TRC large_structure(std::uint32_t residue_count, std::uint32_t atoms_per_residue) {
  TRC trc;
  const std::size_t atom_count = std::size_t{residue_count} * atoms_per_residue;
  trc.topology.symbols.assign(atom_count, Element::C);
  trc.topology.geometry.assign(3 * atom_count, 0.0f);
  trc.topology.fragments.emplace();
  Chain& chain = trc.chains.chains.emplace_back();
  AtomRef atom = 0;
  for (ResidueRef residue = 0; residue < residue_count; ++residue) {
    Residue& atoms = trc.residues.residues.emplace_back();
    for (std::uint32_t i = 0; i < atoms_per_residue; ++i) atoms.push_back(atom++);
    trc.topology.fragments->push_back(atoms);
    trc.residues.seqs.push_back("ALA");
    trc.residues.seq_ns.push_back(static_cast<std::int32_t>(residue));
    trc.residues.insertion_codes.emplace_back();
    chain.push_back(residue);
  }
  return trc;
}

void BM_TRCCheck(benchmark::State& state) {
  const TRC trc = large_structure(100'000, 10);
  for (auto _ : state) {
    auto result = trc.check();
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(trc.topology.symbols.size()));
}
BENCHMARK(BM_TRCCheck)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace redivi
