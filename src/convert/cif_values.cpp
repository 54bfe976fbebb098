// Looking up the items of a CIF data block and reading numbers from their cells.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>
#include <variant>

#include "convert/cif.hpp"
#include "text.hpp"

namespace redivi::mmcif {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the first significant digit of a decimal number ("123" 2, "0.05" -2,
// "4e-7" -7), saturated far beyond the float range. Digits that are all zero give a negative value.
std::int64_t decimal_magnitude(std::string_view text) {
  constexpr std::int64_t limit = 1'000'000;
  std::size_t i = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
  while (i < text.size() && text[i] == '0') ++i;
  const std::size_t first_digit = i;
  while (i < text.size() && is_digit(text[i])) ++i;
  std::optional<std::int64_t> magnitude;
  if (i > first_digit) magnitude = static_cast<std::int64_t>(i - first_digit) - 1;
  if (i < text.size() && text[i] == '.') {
    std::int64_t zeros = 0;
    for (++i; i < text.size() && is_digit(text[i]); ++i) {
      if (magnitude) continue;
      if (text[i] == '0') ++zeros;
      else magnitude = -zeros - 1;
    }
  }
  if (!magnitude) return -limit;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    std::int64_t exponent = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) exponent = std::min(limit, exponent * 10 + (text[i] - '0'));
    *magnitude += negative ? -exponent : exponent;
  }
  return *magnitude;
}

}  // namespace

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
  const std::string_view number = text.starts_with('+') ? text.substr(1) : text;
  // The "+" is ours to strip; a second sign, or the nan(...) form, is no number.
  if (number.empty() || (text.starts_with('+') && number.starts_with('-')) || number.ends_with(')')) {
    return std::nullopt;
  }
  float value = 0;
  const char* finish = number.data() + number.size();
  const auto [end, error] = std::from_chars(number.data(), finish, value, std::chars_format::general);
  if (end != finish) return std::nullopt;
  if (error == std::errc{}) return value;
  if (error != std::errc::result_out_of_range) return std::nullopt;
  // from_chars leaves the value alone when it is out of range: the nearest float is then an infinity
  // or a zero.
  const float nearest = decimal_magnitude(number) >= 0 ? std::numeric_limits<float>::infinity() : 0.0f;
  return number.starts_with('-') ? -nearest : nearest;
}

}  // namespace redivi::mmcif
