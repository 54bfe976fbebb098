// Merging the label fields of residue and chain tables.
#include "model/labels.hpp"

#include <algorithm>
#include <unordered_map>

#include "model/columns.hpp"

namespace redivi::labels {
namespace {

// Tables that fail the structure check may hold lists of unequal length: entries of other
// without texts are dropped, and this table's texts are cut or padded with empty entries to
// match its labeled, so that every entry keeps its own texts.
void merge_into(std::vector<std::uint32_t>& labeled, std::vector<std::vector<std::string>>& labels,
                const std::vector<std::uint32_t>& other_labeled, std::vector<std::vector<std::string>>& other_labels) {
  labels.resize(labeled.size());
  std::unordered_map<std::uint32_t, std::size_t> first_position;
  first_position.reserve(labeled.size() + other_labeled.size());
  for (std::size_t k = 0; k < labeled.size(); ++k) first_position.emplace(labeled[k], k);
  const std::size_t count = std::min(other_labeled.size(), other_labels.size());
  for (std::size_t i = 0; i < count; ++i) {
    const auto [found, is_new] = first_position.emplace(other_labeled[i], labeled.size());
    if (is_new) {
      labeled.push_back(other_labeled[i]);
      labels.push_back(std::move(other_labels[i]));
    } else {
      columns::append(labels[found->second], std::move(other_labels[i]));
    }
  }
}

}  // namespace

Merge merge(Labeled& labeled, Labels& labels, Labeled&& other_labeled, Labels&& other_labels, std::uint32_t offset) {
  if (!other_labeled) return Merge::done;
  if (!labeled) {
    columns::shift(*other_labeled, offset);
    labeled = std::move(other_labeled);
    labels = std::move(other_labels);
    return Merge::done;
  }
  if (!labels) return Merge::done;
  if (!other_labels) return Merge::labels_missing;
  columns::shift(*other_labeled, offset);
  merge_into(*labeled, *labels, *other_labeled, *other_labels);
  return Merge::done;
}

}  // namespace redivi::labels
