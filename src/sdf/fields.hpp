// The fixed-column fields of SDF lines and the numbers in them, read as the entry reader needs them.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string_view>
#include <type_traits>

#include "redivi/convert/sdf.hpp"
#include "text/text.hpp"

namespace redivi::sdf::detail {

using Type = SDFParseErrorType;

// A cut inside a multi-byte character would split it, so the reader treats that line as too short.
inline bool on_char_boundary(std::string_view line, std::size_t at) {
  return at >= line.size() || (static_cast<unsigned char>(line[at]) & 0xC0) != 0x80;
}

// Bytes [start, end) of the line. Inlined into every field read, where the fixed bounds fold away: a call
// per field costs a tenth of the reading time.
[[gnu::always_inline]] inline std::expected<std::string_view, Type> field(std::string_view line, std::size_t start,
                                                                        std::size_t end) {
  if (line.size() < end || !on_char_boundary(line, start) || !on_char_boundary(line, end)) {
    return std::unexpected(Type::LineTooShort);
  }
  return line.substr(start, end - start);
}

inline constexpr std::array<double, 16> powers_of_ten = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Coordinates as the format writes them: an optional "-", digits, ".", digits, at most 15 digits in
// all. The digits make an integer below 2^53 and the divisor is a power of ten up to 1e14, both exact
// doubles, so the one correctly rounded division gives the double that from_chars gives. Nothing for
// any other text, which the general parser reads.
// Signs are random from one coordinate to the next, so they are applied without branches: the quotient is
// never negative, and setting its sign bit negates it exactly, -0.0 included. Inlined, so that the
// division's latency overlaps the reading of the next field.
[[gnu::always_inline]] inline std::optional<double> plain_decimal(std::string_view text) {
  const bool negative = text.starts_with('-');
  text.remove_prefix(negative ? 1 : 0);
  if (text.size() > 16) return std::nullopt;
  std::uint64_t digits = 0;
  std::size_t at = 0;
  for (; at < text.size() && text::is_digit(text[at]); ++at) digits = digits * 10 + text::digit_value(text[at]);
  const std::size_t point = at;
  if (point == 0 || point + 1 >= text.size() || text[point] != '.') return std::nullopt;
  for (++at; at < text.size() && text::is_digit(text[at]); ++at) digits = digits * 10 + text::digit_value(text[at]);
  if (at != text.size()) return std::nullopt;
  const double value = static_cast<double>(digits) / powers_of_ten[text.size() - point - 1];
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(value) | std::uint64_t{negative} << 63);
}

// Integers of nine digits at most, as the fixed fields hold them, read without the general parser:
// they cannot overflow any of the field types. Nothing for any other text.
template <class T>
inline std::optional<T> plain_integer(std::string_view text) {
  const bool negative = std::is_signed_v<T> && text.starts_with('-');
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 9) return std::nullopt;
  T value = 0;
  for (const char c : text) {
    if (!text::is_digit(c)) return std::nullopt;
    value = static_cast<T>(value * 10 + static_cast<T>(text::digit_value(c)));
  }
  return negative ? static_cast<T>(-value) : value;
}

// A trimmed text read as a number: the plain forms directly, anything else by the general parser. Inlined
// like field, so that the three coordinates of an atom line are read side by side.
template <class T>
[[gnu::always_inline]] inline bool parse_field_number(std::string_view trimmed, T& value) {
  std::optional<T> plain;
  if constexpr (std::is_same_v<T, double>) {
    plain = plain_decimal(trimmed);
  } else {
    plain = plain_integer<T>(trimmed);
  }
  if (!plain) return text::parse_number(trimmed, value);
  value = *plain;
  return true;
}

// The trimmed number in bytes [start, end) of the line; fails with on_failure when unreadable. Inlined
// like field.
template <class T>
[[gnu::always_inline]] inline std::expected<T, Type> number(std::string_view line, std::size_t start,
                                                            std::size_t end, Type on_failure) {
  const auto text = field(line, start, end);
  if (!text) return std::unexpected(text.error());
  T value{};
  if (!parse_field_number(text::trim(*text), value)) return std::unexpected(on_failure);
  return value;
}

}  // namespace redivi::sdf::detail
