// Looking up the items of a CIF data block and reading numbers from their cells.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>
#include <variant>

#include "cif/document.hpp"
#include "text/text.hpp"

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

// Exact float values of the powers of ten up to 10^10 (5^10 is below 2^24).
constexpr std::array<float, 11> powers_of_ten = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The digits from p on, appended to value. Returns where they end.
const char* read_digits(const char* p, const char* end, std::uint64_t& value) {
  for (; p != end && is_digit(*p); ++p) value = value * 10 + static_cast<std::uint64_t>(*p - '0');
  return p;
}

// The usual coordinate cell ("-12.345"): a sign, digits and a point, no exponent, the digits making an
// integer of at most 2^24 with at most ten of them after the point. The integer and the power of ten
// are exact floats, so a single division rounds to the nearest float, as the general parser does.
// Absent for any other text.
std::optional<float> parse_short_decimal(std::string_view text) {
  constexpr std::size_t max_digits = 9;  // so the integer cannot overflow
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+')) ++p;
  std::uint64_t mantissa = 0;
  const char* const integer_end = read_digits(p, end, mantissa);
  const char* fraction_end = integer_end;
  if (integer_end != end && *integer_end == '.') fraction_end = read_digits(integer_end + 1, end, mantissa);
  const auto integer_digits = static_cast<std::size_t>(integer_end - p);
  const std::size_t fraction_digits = fraction_end == integer_end ? 0 : static_cast<std::size_t>(fraction_end - integer_end - 1);
  if (fraction_end != end || integer_digits + fraction_digits == 0 || integer_digits + fraction_digits > max_digits ||
      fraction_digits >= powers_of_ten.size() || mantissa > (1u << 24)) {
    return std::nullopt;
  }
  const float value = static_cast<float>(mantissa) / powers_of_ten[fraction_digits];
  return negative ? -value : value;
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
  if (const auto value = parse_short_decimal(text)) return value;
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
