// CIF text as data blocks of loops and single items, and the rules for reading their cells.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "redivi/convert/mmcif.hpp"
#include "text/numbers.hpp"

namespace redivi::mmcif::detail {

// One row of a loop: one cell per tag, in tag order.
using Row = std::span<const std::string_view>;
// A column position as find_column_index gives it.
using Column = std::optional<std::size_t>;

// A loop's tags as written ("_atom_site.id") and its cells, row after row. Cells are views into the
// parsed text or into their block's own storage; the nulls "?" and "." are stored as empty views.
struct Loop {
  std::vector<std::string_view> tags;
  std::vector<std::string_view> cells;

  std::size_t row_count() const { return tags.empty() ? 0 : cells.size() / tags.size(); }
  Row row(std::size_t index) const { return Row(cells).subspan(index * tags.size(), tags.size()); }
};

// A loop, or the text of a single item exactly as written after its tag (quotes kept).
using DataItem = std::variant<Loop, std::string_view>;

// A data block. Its views point into the parsed text, which must outlive it.
struct DataBlock {
  std::string_view name;
  // Loops under their category ("_atom_site"), single items under their full tag.
  std::unordered_map<std::string_view, DataItem> items;
  // Cells glued from a quoted run and the text before it; a deque never moves what it holds.
  std::deque<std::string> glued_cells;

  // A copy's loops would still view the original's glued cells, so a block only moves (a growing
  // list of blocks would otherwise copy them, the deque's move not being noexcept).
  DataBlock() = default;
  DataBlock(DataBlock&&) = default;
  DataBlock& operator=(DataBlock&&) = default;
  DataBlock(const DataBlock&) = delete;
  DataBlock& operator=(const DataBlock&) = delete;
};

// The data blocks of a CIF text, in file order. Malformed input is absorbed, so this always succeeds.
std::expected<std::vector<DataBlock>, MmCifError> parse_mmcif(std::string_view text);

// Takes the rows of the loops of one category as they are read, so that no cell of them is kept.
class RowSink {
 public:
  virtual ~RowSink() = default;
  // A loop of the category starts in the block at position block_index of the result; it replaces any
  // earlier item of that key there. expected_rows is an upper estimate from its value lines.
  virtual void begin_loop(std::size_t block_index, std::span<const std::string_view> tags,
                          std::size_t expected_rows) = 0;
  // One row of that loop, in file order. Its cells live as long as the block.
  virtual void row(Row row) = 0;
};

// As above, but only the loops and single items of categories are kept (a single item's category is its
// tag up to the first "."): the value lines of other loops are passed over unread. The loops of
// streamed_category, one of them, are handed to sink row by row: the block keeps their tags with no rows.
std::expected<std::vector<DataBlock>, MmCifError> parse_mmcif(std::string_view text,
                                                              std::span<const std::string_view> categories,
                                                              std::string_view streamed_category, RowSink& sink);

const Loop* get_loop_data(const DataBlock& block, std::string_view category);
std::optional<std::string_view> get_single_data(const DataBlock& block, std::string_view tag);
// The position of the first tag equal to name, byte for byte.
Column find_column_index(std::span<const std::string_view> tags, std::string_view name);

// Numbers take no white space. Integers: an optional sign and ASCII digits, within range (a "-" never
// reads as unsigned). Floats: the decimal form or inf, infinity, nan in any letter case, rounded to
// the nearest float (an infinity or zero when out of range).
// They are read on every atom site, so the short forms are read inline.
inline std::optional<std::int32_t> parse_i32(std::string_view text) {
  std::int32_t value = 0;
  return text::parse_number(text, value) ? std::optional{value} : std::nullopt;
}

inline std::optional<std::uint32_t> parse_u32(std::string_view text) {
  std::uint32_t value = 0;
  return text::parse_number(text, value) ? std::optional{value} : std::nullopt;
}

// A float cell in any form but the short decimal one.
std::optional<float> parse_f32_literal(std::string_view text);

inline std::optional<float> parse_f32(std::string_view text) {
  if (const auto value = text::parse_short_decimal<float>(text)) return value;
  return parse_f32_literal(text);
}

// The cell, absent for a missing column or an empty cell.
inline std::optional<std::string_view> row_str(Row row, Column column) {
  if (!column || *column >= row.size() || row[*column].empty()) return std::nullopt;
  return row[*column];
}

inline std::optional<std::int32_t> row_i32(Row row, Column column) {
  const auto cell = row_str(row, column);
  return cell ? parse_i32(*cell) : std::nullopt;
}

inline std::optional<std::string_view> row_str_fallback(Row row, Column first, Column second) {
  const auto cell = row_str(row, first);
  return cell ? cell : row_str(row, second);
}

inline std::optional<std::int32_t> row_i32_fallback(Row row, Column first, Column second) {
  const auto value = row_i32(row, first);
  return value ? value : row_i32(row, second);
}

// The cell (empty for nulls), or the empty text for a missing column. The view lives as long as the block.
inline std::string_view row_string_or_default(Row row, Column column) {
  return column && *column < row.size() ? row[*column] : std::string_view{};
}

inline std::int32_t row_i32_or(Row row, Column column, std::int32_t fallback) {
  return row_i32(row, column).value_or(fallback);
}

inline std::uint32_t row_u32_or(Row row, Column column, std::uint32_t fallback) {
  const auto cell = row_str(row, column);
  return cell ? parse_u32(*cell).value_or(fallback) : fallback;
}

inline float row_f32_or(Row row, Column column, float fallback) {
  const auto cell = row_str(row, column);
  return cell ? parse_f32(*cell).value_or(fallback) : fallback;
}

// The columns of tags, located once per loop.
template <std::size_t N>
std::array<Column, N> find_columns(std::span<const std::string_view> loop_tags,
                                   const std::array<std::string_view, N>& tags) {
  std::array<Column, N> columns;
  for (std::size_t i = 0; i < N; ++i) columns[i] = find_column_index(loop_tags, tags[i]);
  return columns;
}

}  // namespace redivi::mmcif::detail
