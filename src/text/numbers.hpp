// Decimal numbers in text: short forms read directly, the general parser, float literals and charges.
#pragma once

#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace redivi::detail::text {

namespace detail {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The value of a decimal digit character; past 9 for any other byte.
constexpr unsigned digit_value(char c) { return static_cast<unsigned>(c - '0'); }

// The most decimal digits of which every integer is exact in T: 7 for float, 15 for double. With no
// more digits, the digits' integer and the power of ten that scales it are both exact.
template <class T>
inline constexpr std::size_t exact_digits = static_cast<std::size_t>(std::numeric_limits<T>::digits) * 30103 / 100000;

template <class T>
constexpr std::array<T, exact_digits<T> + 1> make_powers_of_ten() {
  std::array<T, exact_digits<T> + 1> powers{};
  T power = 1;
  for (T& entry : powers) {
    entry = power;
    power *= 10;
  }
  return powers;
}

// Hidden by hand: the shared library exports a variable of this kind whatever the default visibility.
template <class T>
[[gnu::visibility("hidden")]] inline constexpr std::array<T, exact_digits<T> + 1> powers_of_ten =
    make_powers_of_ten<T>();

// The magnitude with its sign bit set when negative: negating exactly, -0 included, without a branch
// (signs vary at random from one coordinate to the next).
template <class T>
constexpr T with_sign(T magnitude, bool negative) {
  using Bits = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  return std::bit_cast<T>(std::bit_cast<Bits>(magnitude) | Bits{negative} << (8 * sizeof(T) - 1));
}

// digits / 10^fraction_digits, correctly rounded: both are exact in T, and one division rounds once.
template <class T>
constexpr T scaled(std::uint64_t digits, std::size_t fraction_digits) {
  return static_cast<T>(static_cast<std::int64_t>(digits)) / powers_of_ten<T>[fraction_digits];
}

// Appends the run of digits of text from position at on to value; returns where the run ends.
template <class Accumulator>
constexpr std::size_t append_digit_run(std::string_view text, std::size_t at, Accumulator& value) {
  for (; at < text.size(); ++at) {
    const unsigned digit = digit_value(text[at]);
    if (digit > 9) break;
    value = value * 10 + digit;
  }
  return at;
}

// Appends the decimal digits of text to value; false when a byte is no digit.
template <class Accumulator>
constexpr bool append_digits(std::string_view text, Accumulator& value) {
  return append_digit_run(text, 0, value) == text.size();
}

// The general parser behind parse_number: from_chars over the whole text, a leading "+" accepted (from_chars
// rejects it itself). Floats also take inf, infinity and nan, in any letter case, and nan(...).
template <class T>
bool parse_general(std::string_view s, T& out) {
  if (s.starts_with('+')) {
    s.remove_prefix(1);
    if (s.starts_with('-') || s.starts_with('+')) return false;
  }
  if (s.empty()) return false;
  std::from_chars_result result;
  if constexpr (std::is_floating_point_v<T>) {
    result = std::from_chars(s.data(), s.data() + s.size(), out, std::chars_format::general);
  } else {
    result = std::from_chars(s.data(), s.data() + s.size(), out);
  }
  return result.ec == std::errc{} && result.ptr == s.data() + s.size();
}

// The float nearest to a decimal literal that from_chars found past the float range: an infinity when its
// first significant digit, scaled by the exponent, stands left of the point, else zero, with the
// literal's sign. The range ends near 1e38 and 1e-45, so the side is never in doubt.
float beyond_float_range(std::string_view literal) noexcept;

}  // namespace detail

// An optional "-" (signed types only) and one to nine digits: no 32-bit integer overflows. Nothing for any
// other text, which the general parser reads.
template <class Int>
[[gnu::always_inline]] inline std::optional<Int> parse_short_integer(std::string_view text) {
  static_assert(std::numeric_limits<Int>::digits10 >= 9);
  const bool negative = std::is_signed_v<Int> && text.starts_with('-');
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::uint32_t value = 0;
  if (!detail::append_digits(text, value)) return std::nullopt;
  return negative ? static_cast<Int>(0 - static_cast<Int>(value)) : static_cast<Int>(value);
}

// An optional "-", digits and at most one point ("-12.345", "5.", ".5"), with no exponent and at most as many digits
// as are exact in T (7 for float, 15 for double): the value from_chars gives, read with one division.
// Nothing for any other text, which the general parser reads.
template <class T>
[[gnu::always_inline]] inline std::optional<T> parse_short_decimal(std::string_view text) {
  static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>);
  const bool negative = text.starts_with('-');
  text.remove_prefix(negative ? 1 : 0);
  if (text.size() > detail::exact_digits<T> + 1) return std::nullopt;  // so the digits cannot overflow
  std::uint64_t digits = 0;
  const std::size_t point = detail::append_digit_run(text, 0, digits);
  if (point != text.size()) {
    if (text[point] != '.' || detail::append_digit_run(text, point + 1, digits) != text.size()) return std::nullopt;
  }
  const std::size_t fraction_digits = point == text.size() ? 0 : text.size() - point - 1;
  const std::size_t digit_count = point + fraction_digits;
  if (digit_count == 0 || digit_count > detail::exact_digits<T>) return std::nullopt;
  return detail::with_sign(detail::scaled<T>(digits, fraction_digits), negative);
}

// Parses the whole of s (already trimmed) as a decimal number: the short forms directly, anything else
// through from_chars. A leading "+" is accepted; floats also take inf, infinity and nan in any letter case.
// A number past the type's range fails.
template <class T>
inline bool parse_number(std::string_view s, T& out) {
  std::optional<T> value;
  if constexpr (std::is_floating_point_v<T>) {
    value = parse_short_decimal<T>(s);
  } else if constexpr (std::numeric_limits<T>::digits10 >= 9) {
    value = parse_short_integer<T>(s);
  }
  if (!value) return detail::parse_general(s, out);
  out = *value;
  return true;
}

// A float literal at the start of a text and its length in bytes.
struct FloatLiteral {
  float value;
  std::size_t length;
};

// The float literal that starts text: decimal notation with an optional sign and exponent, or inf, infinity
// or nan in any letter case. Unlike parse_number, a literal past the float range reads as the nearest
// float, an infinity or a zero, and nan(...) is no literal: the rule of the free-format readers (CIF cells,
// XYZ coordinates), where the fixed-column readers refuse such a field. Nothing when no literal starts text.
inline std::optional<FloatLiteral> parse_float_literal(std::string_view text) {
  // from_chars rejects a leading "+" itself.
  const std::size_t plus = text.starts_with('+') ? 1 : 0;
  const std::string_view rest = text.substr(plus);
  if (plus == 1 && rest.starts_with('-')) return std::nullopt;
  float value = 0;
  const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
  if (ec == std::errc::invalid_argument) return std::nullopt;
  const auto length = static_cast<std::size_t>(end - rest.data());
  if (ec == std::errc::result_out_of_range) value = detail::beyond_float_range(rest.substr(0, length));
  if (rest[length - 1] == ')') return std::nullopt;
  return FloatLiteral{value, plus + length};
}

// A charge with its sign after the number (2+, the usual form), before it (+2, -2) or without one (2), in
// trimmed text that is not blank. Nothing for any other text.
std::optional<std::int32_t> parse_charge(std::string_view text);

// Appends a number in decimal.
template <class T>
void append_number(std::string& out, T value) {
  std::array<char, 32> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
}

}  // namespace redivi::detail::text

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace text = detail::text;
}  // namespace redivi
