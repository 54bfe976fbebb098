// The numbers of the text layer that are read rarely: floats past the range and charges.
#include "text/numbers.hpp"

#include <algorithm>

namespace redivi::detail::text {
namespace detail {

namespace {

// The decimal exponent of the first significant digit of a decimal literal ("123" 2, "0.05" -2,
// "4e-7" -7), saturated beyond the reach of any text's length. Digits that are all zero give a negative
// value.
std::int64_t decimal_magnitude(std::string_view literal) {
  constexpr std::int64_t limit = 100'000'000'000'000'000;  // ten times it still fits the type
  std::size_t i = literal.starts_with('+') || literal.starts_with('-') ? 1 : 0;
  while (i < literal.size() && literal[i] == '0') ++i;
  const std::size_t first_digit = i;
  while (i < literal.size() && is_digit(literal[i])) ++i;
  std::optional<std::int64_t> magnitude;
  if (i > first_digit) magnitude = static_cast<std::int64_t>(i - first_digit) - 1;
  if (i < literal.size() && literal[i] == '.') {
    std::int64_t zeros = 0;
    for (++i; i < literal.size() && is_digit(literal[i]); ++i) {
      if (magnitude) continue;
      if (literal[i] == '0')
        ++zeros;
      else
        magnitude = -zeros - 1;
    }
  }
  if (!magnitude) return -limit;
  if (i < literal.size() && (literal[i] == 'e' || literal[i] == 'E')) {
    ++i;
    const bool negative = i < literal.size() && literal[i] == '-';
    if (i < literal.size() && (literal[i] == '-' || literal[i] == '+')) ++i;
    std::int64_t exponent = 0;
    for (; i < literal.size() && is_digit(literal[i]); ++i) {
      exponent = std::min(limit, exponent * 10 + static_cast<std::int64_t>(digit_value(literal[i])));
    }
    *magnitude += negative ? -exponent : exponent;
  }
  return *magnitude;
}

}  // namespace

float beyond_float_range(std::string_view literal) noexcept {
  const float nearest = decimal_magnitude(literal) >= 0 ? std::numeric_limits<float>::infinity() : 0.0f;
  return literal.starts_with('-') ? -nearest : nearest;
}

}  // namespace detail

namespace {

std::optional<std::int32_t> signed_number(std::string_view text) {
  std::int32_t value = 0;
  return parse_number(text, value) ? std::optional{value} : std::nullopt;
}

// Wraps like the two's complement it is: the negation of the lowest value is itself.
std::optional<std::int32_t> negated(std::optional<std::int32_t> value) {
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(*value));
}

}  // namespace

std::optional<std::int32_t> parse_charge(std::string_view text) {
  const std::string_view all_but_last = text.substr(0, text.size() - 1);
  if (text.ends_with('+')) return signed_number(all_but_last);
  if (text.ends_with('-')) return negated(signed_number(all_but_last));
  if (text.starts_with('+')) return signed_number(text.substr(1));
  if (text.starts_with('-')) return negated(signed_number(text.substr(1)));
  return signed_number(text);
}

}  // namespace redivi::detail::text
