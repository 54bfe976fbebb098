// Whether groups of indices (residues, fragments) list each index below a count exactly once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

namespace redivi::partition {

struct Outcome {
  // The first index met a second time, walking the groups in order and each group in order.
  std::optional<std::uint32_t> repeated;
  // Without a repeat: whether every index below the count is listed.
  bool complete = false;
};

// Whether the groups list 0, 1, 2, ... count - 1 in this order, as readers build them: then every index
// is listed once and none lies past the count, which needs no bitmap to see.
inline bool lists_in_order(const std::vector<std::vector<std::uint32_t>>& groups, std::size_t count) {
  std::size_t next = 0;
  for (const auto& group : groups) {
    for (const std::uint32_t index : group) {
      if (index != next) return false;
      ++next;
    }
  }
  return next == count;
}

// Indices below the count are marked in a bitmap; those at or past it, which only broken tables
// hold, are kept in a hash set so that a repeat among them is found in walk order too. A table
// listing such an index is never complete: an index past the count stands for a missing atom.
inline Outcome check(const std::vector<std::vector<std::uint32_t>>& groups, std::size_t count) {
  if (lists_in_order(groups, count)) return {std::nullopt, true};
  std::vector<bool> seen(count);
  std::unordered_set<std::uint32_t> beyond;
  std::size_t distinct = 0;
  for (const auto& group : groups) {
    for (const std::uint32_t index : group) {
      if (index >= count) {
        if (!beyond.insert(index).second) return {index, false};
        continue;
      }
      if (seen[index]) return {index, false};
      seen[index] = true;
      ++distinct;
    }
  }
  return {std::nullopt, distinct == count && beyond.empty()};
}

}  // namespace redivi::partition
