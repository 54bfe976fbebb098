// The label fields that residues and chains share: merging another table's labels into one's own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace redivi::labels {

using Labeled = std::optional<std::vector<std::uint32_t>>;
using Labels = std::optional<std::vector<std::vector<std::string>>>;

enum class Merge : std::uint8_t { done, labels_missing };

// Joins other's labels to a table's own, other's indices raised by offset first.
// A table without labeled takes other's fields as they are; a table with labeled but no labels
// keeps its own. When both tables have labeled but only this one has labels, nothing changes
// and the result is labels_missing. Otherwise each of other's entries goes to the first entry
// of labeled naming the same index, or is appended when there is none.
Merge merge(Labeled& labeled, Labels& labels, Labeled&& other_labeled, Labels&& other_labels, std::uint32_t offset);

}  // namespace redivi::labels
