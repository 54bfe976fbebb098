// The chain table of a subset by residues: the chains, helices, strands and labels that remain.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/subset.hpp"
#include "redivi/chain.hpp"

namespace redivi {
namespace {

constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();

// The distinct residues of refs, each with its first position in refs and the old chains that list
// it (in chain order, each chain once), built in one pass over the chains.
class SelectedResidues {
 public:
  SelectedResidues(std::span<const Chain> chains, std::span<const ResidueRef> refs) {
    slot_of_.reserve(refs.size());
    slot_at_.reserve(refs.size());
    for (std::size_t p = 0; p < refs.size(); ++p) {
      const auto [found, added] = slot_of_.try_emplace(refs[p], static_cast<std::uint32_t>(first_position_.size()));
      if (added) first_position_.push_back(static_cast<std::uint32_t>(p));
      slot_at_.push_back(found->second);
    }
    index_chains(chains);
  }

  // The first position of residue in refs, or none.
  std::uint32_t first_position(ResidueRef residue) const {
    const auto found = slot_of_.find(residue);
    return found == slot_of_.end() ? none : first_position_[found->second];
  }

  // The old chains that list the residue at position p of refs, in chain order.
  std::span<const std::uint32_t> chains_at(std::size_t p) const {
    const std::uint32_t slot = slot_at_[p];
    return std::span(chains_).subspan(chain_start_[slot], chain_start_[slot + 1] - chain_start_[slot]);
  }

 private:
  // Groups the (residue slot, chain) pairs by slot with a counting sort, which keeps chain order.
  void index_chains(std::span<const Chain> chains) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    std::vector<std::uint32_t> last_chain(first_position_.size(), none);
    for (std::uint32_t c = 0; c < chains.size(); ++c) {
      for (const ResidueRef residue : chains[c]) {
        const auto found = slot_of_.find(residue);
        if (found == slot_of_.end() || last_chain[found->second] == c) continue;
        last_chain[found->second] = c;
        pairs.emplace_back(found->second, c);
      }
    }
    chain_start_.assign(first_position_.size() + 1, 0);
    for (const auto& pair : pairs) ++chain_start_[pair.first + 1];
    for (std::size_t slot = 1; slot < chain_start_.size(); ++slot) chain_start_[slot] += chain_start_[slot - 1];
    chains_.resize(pairs.size());
    std::vector<std::size_t> next(chain_start_.begin(), chain_start_.end() - 1);
    for (const auto& [slot, chain] : pairs) chains_[next[slot]++] = chain;
  }

  std::unordered_map<ResidueRef, std::uint32_t> slot_of_;
  std::vector<std::uint32_t> slot_at_;
  std::vector<std::uint32_t> first_position_;
  std::vector<std::size_t> chain_start_;
  std::vector<std::uint32_t> chains_;
};

// Where an old helix or strand lands: its new chain and the first positions of its end residues.
struct Placement {
  std::uint32_t chain, start, end;
};

std::optional<Placement> place(std::uint32_t chain, std::uint32_t start, std::uint32_t end,
                               const std::vector<std::uint32_t>& new_chain_of, const SelectedResidues& selected) {
  if (chain >= new_chain_of.size() || new_chain_of[chain] == none) return std::nullopt;
  const std::uint32_t new_start = selected.first_position(start);
  if (new_start == none) return std::nullopt;
  const std::uint32_t new_end = selected.first_position(end);
  if (new_end == none) return std::nullopt;
  return Placement{new_chain_of[chain], new_start, new_end};
}

// Columns of unequal length are read as far as the shortest goes.
std::size_t helix_count(const AlphaHelices& h) {
  return std::min({h.helix_ids.size(), h.chain_refs.size(), h.start_residues.size(), h.end_residues.size(),
                   h.classes.size(), h.lengths.size()});
}

std::size_t strand_count(const BetaSheets& s) {
  return std::min({s.sheet_ids.size(), s.strand_ids.size(), s.strand_ordinals.size(), s.num_strands.size(),
                   s.chain_refs.size(), s.start_residues.size(), s.end_residues.size(), s.senses.size()});
}

std::optional<AlphaHelices> helices_subset(const AlphaHelices& old, const std::vector<std::uint32_t>& new_chain_of,
                                           const SelectedResidues& selected) {
  AlphaHelices kept;
  for (std::size_t i = 0; i < helix_count(old); ++i) {
    const auto at = place(old.chain_refs[i], old.start_residues[i], old.end_residues[i], new_chain_of, selected);
    if (at) kept.push(old.helix_ids[i], at->chain, at->start, at->end, old.classes[i], old.lengths[i]);
  }
  if (kept.helix_ids.empty()) return std::nullopt;
  return kept;
}

std::optional<BetaSheets> sheets_subset(const BetaSheets& old, const std::vector<std::uint32_t>& new_chain_of,
                                        const SelectedResidues& selected) {
  BetaSheets kept;
  for (std::size_t i = 0; i < strand_count(old); ++i) {
    const auto at = place(old.chain_refs[i], old.start_residues[i], old.end_residues[i], new_chain_of, selected);
    if (at) {
      kept.push(old.sheet_ids[i], old.strand_ids[i], old.strand_ordinals[i], old.num_strands[i], at->chain, at->start,
                at->end, old.senses[i]);
    }
  }
  if (kept.sheet_ids.empty()) return std::nullopt;
  return kept;
}

}  // namespace

Chains Chains::new_chains_from_residue_subset(std::span<const ResidueRef> refs) const {
  const SelectedResidues selected(chains, refs);
  Chains subset;
  std::vector<std::uint32_t> new_chain_of(chains.size(), none);
  std::vector<std::uint32_t> old_chain_of_new;
  for (std::uint32_t p = 0; p < refs.size(); ++p) {
    for (const std::uint32_t c : selected.chains_at(p)) {
      if (new_chain_of[c] == none) {
        new_chain_of[c] = static_cast<std::uint32_t>(subset.chains.size());
        old_chain_of_new.push_back(c);
        subset.chains.emplace_back();
      }
      subset.chains[new_chain_of[c]].push_back(p);
    }
  }
  if (alpha_helices) subset.alpha_helices = helices_subset(*alpha_helices, new_chain_of, selected);
  if (beta_sheets) subset.beta_sheets = sheets_subset(*beta_sheets, new_chain_of, selected);
  // The labels of the chains that remain, in the order of the new chains.
  auto [subset_labeled, subset_labels] = detail::labels_of_selection(labeled, labels, old_chain_of_new);
  subset.labeled = std::move(subset_labeled);
  subset.labels = std::move(subset_labels);
  return subset;
}

}  // namespace redivi
