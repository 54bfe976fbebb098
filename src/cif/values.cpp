// Looking up the items of a CIF data block, and reading float cells in their rarer forms.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "cif/document.hpp"
#include "text/numbers.hpp"

namespace redivi::mmcif::detail {

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

std::optional<float> parse_f32_literal(std::string_view text) {
  const auto literal = text::parse_float_literal(text);
  if (!literal || literal->length != text.size()) return std::nullopt;
  return literal->value;
}

}  // namespace redivi::mmcif::detail
