// Residue runs to residues in key order, and residues without atoms merged among them.
#include "structure/residue_runs.hpp"
#include "text/text.hpp"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <ranges>
#include <unordered_map>
#include <utility>

namespace redivi::structure::detail {
namespace {

// The atoms of the runs at the positions, in order, in one allocation of their number.
Residue joined_atoms(std::span<const ResidueRun> runs, std::span<const std::uint32_t> positions) {
  std::size_t count = 0;
  for (const std::uint32_t position : positions) count += runs[position].atom_count;
  Residue atoms(count);
  auto atom = atoms.begin();
  for (const std::uint32_t position : positions) {
    const auto end = atom + runs[position].atom_count;
    std::iota(atom, end, runs[position].first_atom);
    atom = end;
  }
  return atoms;
}

// Consecutive runs of one chain: runs first .. end - 1, and the chain's rank among the identifiers.
struct Segment {
  std::uint32_t chain, first, end;
};

// The ranks of texts in bytewise order.
std::vector<std::uint32_t> ranks(std::span<const std::string_view> texts) {
  std::vector<std::uint32_t> by_text(texts.size());
  std::iota(by_text.begin(), by_text.end(), 0U);
  std::sort(by_text.begin(), by_text.end(),
            [texts](std::uint32_t a, std::uint32_t b) { return text::compare_short(texts[a], texts[b]) < 0; });
  std::vector<std::uint32_t> rank(texts.size());
  for (std::uint32_t r = 0; r < by_text.size(); ++r) rank[by_text[r]] = r;
  return rank;
}

// The runs cut where the chain changes, with each chain's rank among the identifiers, and whether
// the runs of each chain (by rank) are in key order already. Chains are numbered in order of first
// appearance while cutting, then given their ranks.
struct ChainSegments {
  std::vector<Segment> segments;
  std::vector<bool> in_order;
};

ChainSegments cut_by_chain(std::span<const ResidueRun> runs) {
  ChainSegments cut;
  std::vector<std::string_view> ids;
  std::vector<std::uint32_t> last_runs;  // of each chain so far
  std::unordered_map<std::string_view, std::uint32_t> numbers;
  for (std::uint32_t first = 0, end = 0; first < runs.size(); first = end) {
    const std::string_view id = runs[first].key.chain_id;
    const auto [found, added] = numbers.try_emplace(id, static_cast<std::uint32_t>(ids.size()));
    const std::uint32_t chain = found->second;
    if (added) {
      ids.push_back(id);
      last_runs.push_back(first);
      cut.in_order.push_back(true);
    }
    bool in_order = compare_within_chain(runs[last_runs[chain]].key, runs[first].key) <= 0;
    for (end = first + 1; end < runs.size() && text::equal_short(runs[end].key.chain_id, id); ++end) {
      in_order = in_order && compare_within_chain(runs[end - 1].key, runs[end].key) <= 0;
    }
    cut.segments.push_back(Segment{chain, first, end});
    cut.in_order[chain] = cut.in_order[chain] && in_order;
    last_runs[chain] = end - 1;
  }
  const std::vector<std::uint32_t> rank = ranks(ids);
  for (Segment& segment : cut.segments) segment.chain = rank[segment.chain];
  std::vector<bool> in_order_by_rank(ids.size());
  for (std::size_t chain = 0; chain < ids.size(); ++chain) in_order_by_rank[rank[chain]] = cut.in_order[chain];
  cut.in_order = std::move(in_order_by_rank);
  return cut;
}

// Sorts positions by merging their ascending stretches, in a few linear passes when they are few, as
// in a chain whose ligands are numbered below its polymer. Equal keys keep their order.
template <class Before>
void merge_stretches(std::vector<std::uint32_t>& positions, std::size_t start, Before before) {
  const auto at = [&positions](std::size_t i) { return positions.begin() + static_cast<std::ptrdiff_t>(i); };
  std::vector<std::size_t> bounds{start};
  for (std::size_t i = start + 1; i < positions.size(); ++i) {
    if (before(positions[i], positions[i - 1])) bounds.push_back(i);
  }
  bounds.push_back(positions.size());
  while (bounds.size() > 2) {
    std::vector<std::size_t> merged{start};
    std::size_t k = 0;
    for (; k + 2 < bounds.size(); k += 2) {
      std::inplace_merge(at(bounds[k]), at(bounds[k + 1]), at(bounds[k + 2]), before);
      merged.push_back(bounds[k + 2]);
    }
    if (k + 1 < bounds.size()) merged.push_back(bounds.back());
    bounds = std::move(merged);
  }
}

// The positions of the runs in key order, runs of one key in file order. The segments of one chain,
// which are few, are put in chain order first; then the runs of a chain are merged only when they are
// not in order already, as they usually are. So the cost does not grow with the number of places a
// chain's runs come in, as when the ligands and waters of every chain follow all the polymers. Only
// positions move, never the runs.
std::vector<std::uint32_t> key_order(std::span<const ResidueRun> runs) {
  ChainSegments cut = cut_by_chain(runs);
  std::stable_sort(cut.segments.begin(), cut.segments.end(),
                   [](const Segment& a, const Segment& b) { return a.chain < b.chain; });
  const auto before = [runs](std::uint32_t a, std::uint32_t b) {
    return compare_within_chain(runs[a].key, runs[b].key) < 0;
  };
  std::vector<std::uint32_t> order;
  order.reserve(runs.size());
  for (std::size_t s = 0; s < cut.segments.size();) {
    const std::uint32_t chain = cut.segments[s].chain;
    const std::size_t chain_start = order.size();
    for (; s < cut.segments.size() && cut.segments[s].chain == chain; ++s) {
      const auto positions = std::views::iota(cut.segments[s].first, cut.segments[s].end);
      order.insert(order.end(), positions.begin(), positions.end());
    }
    if (!cut.in_order[chain]) merge_stretches(order, chain_start, before);
  }
  return order;
}

}  // namespace

SortedResidues residues_in_key_order(const ResidueRuns& filed) {
  const std::span<const ResidueRun> runs = filed.runs();
  const std::vector<std::uint32_t> order = key_order(runs);
  SortedResidues residues;
  residues.reserve(runs.size());
  for (std::size_t i = 0; i < order.size();) {
    const ResidueKey& key = runs[order[i]].key;
    std::size_t j = i + 1;
    while (j < order.size() && runs[order[j]].key == key) ++j;
    const std::span<const std::uint32_t> same_key(order.data() + i, j - i);
    residues.push_back(key, runs[order[j - 1]].i_code, joined_atoms(runs, same_key));
    i = j;
  }
  return residues;
}

// A key already there keeps its atoms and code; of equal keys in added the first counts. The new
// residues are merged in from the back, in place, so the table is never held twice.
void add_residues_without_atoms(SortedResidues& sorted, std::vector<EmptyResidue> added) {
  const auto by_key = [](const EmptyResidue& a, const EmptyResidue& b) { return a.key < b.key; };
  std::stable_sort(added.begin(), added.end(), by_key);
  const auto same_key = [](const EmptyResidue& a, const EmptyResidue& b) { return a.key == b.key; };
  added.erase(std::unique(added.begin(), added.end(), same_key), added.end());
  std::erase_if(added, [&sorted](const EmptyResidue& residue) {
    return std::binary_search(sorted.keys.begin(), sorted.keys.end(), residue.key);
  });
  if (added.empty()) return;
  std::size_t old_end = sorted.keys.size();
  std::size_t end = old_end + added.size();
  sorted.resize(end);
  for (auto residue = added.rbegin(); residue != added.rend(); ++residue) {
    for (; old_end > 0 && residue->key < sorted.keys[old_end - 1]; --old_end) sorted.move(old_end - 1, --end);
    sorted.set(--end, residue->key, residue->i_code);
  }
}

}  // namespace redivi::structure::detail
