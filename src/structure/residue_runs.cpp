// Residue runs to residues in key order, and residues without atoms merged among them.
#include "structure/residue_runs.hpp"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <utility>

namespace redivi::structure::detail {
namespace {

void reserve(SortedResidues& residues, std::size_t count) {
  residues.keys.reserve(count);
  residues.i_codes.reserve(count);
  residues.atoms.reserve(count);
}

void append(SortedResidues& residues, const ResidueKey& key, std::string_view i_code, Residue&& atoms) {
  residues.keys.push_back(key);
  residues.i_codes.push_back(i_code);
  residues.atoms.push_back(std::move(atoms));
}

// The atoms of the runs, in order, in one allocation of their number.
Residue joined_atoms(std::span<const ResidueRun> runs) {
  std::size_t count = 0;
  for (const ResidueRun& run : runs) count += run.atom_count;
  Residue atoms(count);
  auto atom = atoms.begin();
  for (const ResidueRun& run : runs) {
    const auto end = atom + run.atom_count;
    std::iota(atom, end, run.first_atom);
    atom = end;
  }
  return atoms;
}

}  // namespace

// A merge of ascending stretches: files list residues as a few stretches already in key order (one
// per chain or segment), which this merges in a few linear passes; any order still takes n log n.
void ResidueRuns::sort() {
  const auto before = [](const ResidueRun& a, const ResidueRun& b) {
    if (const auto order = a.key <=> b.key; order != 0) return order < 0;
    return a.first_atom < b.first_atom;
  };
  std::vector<std::size_t> bounds{0};
  for (std::size_t i = 1; i < runs_.size(); ++i) {
    if (before(runs_[i], runs_[i - 1])) bounds.push_back(i);
  }
  bounds.push_back(runs_.size());
  const auto at = [this](std::size_t i) { return runs_.begin() + static_cast<std::ptrdiff_t>(i); };
  while (bounds.size() > 2) {
    std::vector<std::size_t> merged{0};
    std::size_t k = 0;
    for (; k + 2 < bounds.size(); k += 2) {
      std::inplace_merge(at(bounds[k]), at(bounds[k + 1]), at(bounds[k + 2]), before);
      merged.push_back(bounds[k + 2]);
    }
    if (k + 1 < bounds.size()) merged.push_back(bounds.back());
    bounds = std::move(merged);
  }
}

SortedResidues residues_in_key_order(ResidueRuns& filed) {
  filed.sort();
  const std::span<const ResidueRun> runs = filed.runs();
  SortedResidues residues;
  reserve(residues, runs.size());
  for (std::size_t i = 0; i < runs.size();) {
    std::size_t j = i + 1;
    while (j < runs.size() && runs[j].key == runs[i].key) ++j;
    append(residues, runs[i].key, runs[j - 1].i_code, joined_atoms(runs.subspan(i, j - i)));
    i = j;
  }
  return residues;
}

// Residues already there come first among equal keys, so a key that has atoms keeps them and its code.
void add_residues_without_atoms(SortedResidues& residues, std::vector<EmptyResidue> added) {
  if (added.empty()) return;
  std::stable_sort(added.begin(), added.end(),
                   [](const EmptyResidue& a, const EmptyResidue& b) { return a.key < b.key; });
  SortedResidues merged;
  reserve(merged, residues.keys.size() + added.size());
  const auto take = [&](std::size_t at) {
    append(merged, residues.keys[at], residues.i_codes[at], std::move(residues.atoms[at]));
  };
  std::size_t i = 0;
  for (const EmptyResidue& residue : added) {
    for (; i < residues.keys.size() && residues.keys[i] <= residue.key; ++i) take(i);
    if (!merged.keys.empty() && merged.keys.back() == residue.key) continue;
    append(merged, residue.key, residue.i_code, {});
  }
  for (; i < residues.keys.size(); ++i) take(i);
  residues = std::move(merged);
}

}  // namespace redivi::structure::detail
