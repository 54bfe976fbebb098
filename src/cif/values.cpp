// Looking up the items of a CIF data block and reading numbers from their cells.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "cif/document.hpp"
#include "text/numbers.hpp"

namespace redivi::mmcif {

const Loop* get_loop_data(const DataBlock& block, std::string_view category) {
  const auto found = block.items.find(category);
  return found == block.items.end() ? nullptr : std::get_if<Loop>(&found->second);
}

std::optional<std::string_view> get_single_data(const DataBlock& block, std::string_view tag) {
  const auto found = block.items.find(tag);
  if (found == block.items.end()) return std::nullopt;
  const auto* value = std::get_if<std::string_view>(&found->second);
  return value ? std::optional{*value} : std::nullopt;
}

Column find_column_index(std::span<const std::string_view> tags, std::string_view name) {
  const auto found = std::find(tags.begin(), tags.end(), name);
  return found == tags.end() ? Column{} : Column{static_cast<std::size_t>(found - tags.begin())};
}

std::optional<std::int32_t> parse_i32(std::string_view text) {
  std::int32_t value = 0;
  return text::parse_number(text, value) ? std::optional{value} : std::nullopt;
}

std::optional<std::uint32_t> parse_u32(std::string_view text) {
  std::uint32_t value = 0;
  return text::parse_number(text, value) ? std::optional{value} : std::nullopt;
}

std::optional<float> parse_f32(std::string_view text) {
  if (const auto value = text::parse_short_decimal<float>(text)) return value;
  const auto literal = text::parse_float_literal(text);
  if (!literal || literal->length != text.size()) return std::nullopt;
  return literal->value;
}

}  // namespace redivi::mmcif
