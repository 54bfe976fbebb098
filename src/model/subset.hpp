// What the subsets of residue and chain tables share: the labels of the entries that remain.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace redivi::detail {

struct SelectedLabels {
  std::optional<std::vector<std::uint32_t>> labeled;
  std::optional<std::vector<std::vector<std::string>>> labels;
};

// Entry k of a subset stands for entry old_of_new[k] of the source and gets the texts of the first entry
// of labeled naming it; entries of labeled without texts (labels shorter than labeled) count as
// unlabeled. Both fields stay absent when no entry of the subset is labeled.
SelectedLabels labels_of_selection(const std::optional<std::vector<std::uint32_t>>& labeled,
                                   const std::optional<std::vector<std::vector<std::string>>>& labels,
                                   std::span<const std::uint32_t> old_of_new);

}  // namespace redivi::detail
