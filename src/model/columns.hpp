// Helpers for parallel columns: appending one column to another and shifting the indices in one.
#pragma once

#include <cstdint>
#include <iterator>
#include <vector>

namespace redivi::columns {

// Moves every value of from to the end of to.
template <class T>
void append(std::vector<T>& to, std::vector<T>&& from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// Adds offset to every index, wrapping around in 32 bits.
inline void shift(std::vector<std::uint32_t>& indices, std::uint32_t offset) {
  for (std::uint32_t& index : indices) index += offset;
}

// The number of entries in all the groups together, wrapping around in 32 bits.
inline std::uint32_t total_size(const std::vector<std::vector<std::uint32_t>>& groups) {
  std::uint32_t total = 0;
  for (const auto& group : groups) total += static_cast<std::uint32_t>(group.size());
  return total;
}

}  // namespace redivi::columns
