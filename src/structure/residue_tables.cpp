// Residues in key order to a structure's residue and chain tables, and the lookups of both by key.
#include "structure/residue_tables.hpp"
#include "text/text.hpp"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

namespace redivi::structure::detail {
namespace {

// The position of value in sorted, if it is there.
template <class T>
std::optional<std::uint32_t> find_sorted(const std::vector<T>& sorted, const T& value) {
  const auto found = std::lower_bound(sorted.begin(), sorted.end(), value);
  if (found == sorted.end() || !(*found == value)) return std::nullopt;
  return static_cast<std::uint32_t>(found - sorted.begin());
}

// Each chain is labeled with its identifier from the file (possibly empty).
void label_chains(Chains& chains, std::span<const std::string_view> chain_ids) {
  std::vector<std::uint32_t> labeled(chain_ids.size());
  std::iota(labeled.begin(), labeled.end(), 0U);
  std::vector<std::vector<std::string>> labels;
  labels.reserve(chain_ids.size());
  for (const std::string_view id : chain_ids) labels.push_back({std::string(id)});
  chains.labeled = std::move(labeled);
  chains.labels = std::move(labels);
}

}  // namespace

std::optional<std::uint32_t> StructureIndex::chain_index(std::string_view chain_id) const {
  return find_sorted(chain_ids, chain_id);
}

std::optional<ResidueRef> StructureIndex::residue_index(const ResidueKey& key) const { return find_sorted(keys, key); }

// Keys sort by chain identifier first, so each chain holds consecutive, ascending residue indices.
StructureIndex fill_residues_and_chains(SortedResidues&& sorted, Residues& residues, Chains& chains) {
  StructureIndex index;
  for (std::size_t i = 0; i < sorted.keys.size(); ++i) {
    const std::string_view chain_id = sorted.keys[i].chain_id;
    if (index.chain_ids.empty() || !text::equal_short(index.chain_ids.back(), chain_id)) {
      index.chain_ids.push_back(chain_id);
      chains.chains.emplace_back();
    }
    chains.chains.back().push_back(static_cast<ResidueRef>(i));
  }
  label_chains(chains, index.chain_ids);
  residues = std::move(sorted.residues);
  index.keys = std::move(sorted.keys);
  return index;
}

}  // namespace redivi::structure::detail
