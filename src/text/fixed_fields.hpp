// Numbers that fill fixed-width fields as fixed-column formats write them ("  123", "  -1.234"), read
// without a trim, eight bytes at a time where the field fits a word.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "text/numbers.hpp"

namespace redivi::detail::text {
namespace detail {

// A field as fixed columns write numbers: blanks, then an optional minus sign, then the rest.
struct RightAligned {
  bool negative;
  std::string_view rest;
};

constexpr RightAligned right_aligned(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  const bool negative = i < field.size() && field[i] == '-';
  return {negative, field.substr(negative ? i + 1 : i)};
}

// Eight ASCII digits, the most significant in the lowest byte of the word.
constexpr bool is_eight_digits(std::uint64_t word) {
  constexpr std::uint64_t high_nibbles = 0xF0F0F0F0F0F0F0F0U;
  return ((word & high_nibbles) | (((word + 0x0606060606060606U) & high_nibbles) >> 4)) == 0x3333333333333333U;
}

// The values of the first four and the last four of eight digits, in the low 16 bits of each half.
constexpr std::uint64_t four_digit_groups(std::uint64_t word) {
  word = ((word & 0x0F0F0F0F0F0F0F0FU) * 2561) >> 8;
  return (((word & 0x00FF00FF00FF00FFU) * 6553601) >> 16) & 0x0000FFFF0000FFFFU;
}

constexpr std::uint32_t eight_digits_value(std::uint64_t word) {
  return static_cast<std::uint32_t>((four_digit_groups(word) * 42949672960001U) >> 32);
}

// A field of at most eight bytes read as one little-endian word, blanks before it: what
// parse_right_aligned accepts and gives, without a step per digit.
template <class Int>
[[gnu::always_inline]] inline bool parse_right_aligned_word(std::string_view field, Int& out) {
  if (field.empty()) return false;  // a field past the end of the line may have no bytes to copy
  std::uint64_t word = 0x2020202020202020U;
  std::memcpy(reinterpret_cast<char*>(&word) + (8 - field.size()), field.data(), field.size());
  const auto blanks = static_cast<unsigned>(std::countr_zero(word ^ 0x2020202020202020U)) / 8;  // 8 if all blank
  const bool negative = std::is_signed_v<Int> && blanks < 8 && ((word >> (8 * blanks)) & 0xFF) == '-';
  const unsigned filler = blanks + (negative ? 1 : 0);
  if (filler >= 8) return false;  // no digit
  const std::uint64_t filled = (std::uint64_t{1} << (8 * filler)) - 1;
  const std::uint64_t digits = (word & ~filled) | (0x3030303030303030U & filled);
  if (!is_eight_digits(digits)) return false;
  const std::uint32_t value = eight_digits_value(digits);
  out = negative ? static_cast<Int>(0 - static_cast<Int>(value)) : static_cast<Int>(value);
  return true;
}

// An eight-byte field laid out as "%8.3f" writes it ("  -1.234"), read as one little-endian word: the
// blanks and the sign before the first digit and the point count as "0", which makes eight digits, the
// four before the point and a "0" with the three after it. Accepts and gives what the byte-wise
// reading does.
[[gnu::always_inline]] inline bool parse_coordinate_bits(std::uint64_t word, float& out) {
  if (((word >> 32) & 0xFF) != '.') return false;
  const auto blanks = static_cast<unsigned>(std::countr_zero(word ^ 0x2020202020202020U)) / 8;  // at most 4
  const bool negative = ((word >> (8 * blanks)) & 0xFF) == '-';
  const unsigned filler = blanks + (negative ? 1 : 0);
  const std::uint64_t filled = (std::uint64_t{1} << (8 * filler)) - 1;
  const std::uint64_t digits = ((word & ~filled) | (0x3030303030303030U & filled)) + (std::uint64_t{'0' - '.'} << 32);
  if (!is_eight_digits(digits)) return false;
  const std::uint64_t groups = four_digit_groups(digits);
  const float value = static_cast<float>((groups & 0xFFFF) * 1000 + (groups >> 32)) / 1e3F;
  out = negative ? -value : value;
  return true;
}

inline bool parse_coordinate_word(std::string_view field, float& out) {
  std::uint64_t word = 0;
  std::memcpy(&word, field.data(), 8);
  return parse_coordinate_bits(word, out);
}

}  // namespace detail

// Blanks, an optional minus sign (signed types only) and one to nine digits filling the field to its
// end ("  123", "  -45"): the common layout of integer columns, read without a trim. Returns false for
// any other text, which the caller trims and hands to parse_number.
template <class Int>
inline bool parse_right_aligned(std::string_view field, Int& out) {
  if constexpr (std::endian::native == std::endian::little) {
    if (field.size() <= 8) return detail::parse_right_aligned_word(field, out);
  }
  std::size_t blanks = 0;
  while (blanks < field.size() && field[blanks] == ' ') ++blanks;
  const auto value = parse_short_integer<Int>(field.substr(blanks));
  if (!value) return false;
  out = *value;
  return true;
}

// Blanks, an optional minus sign, digits, a point and `decimals` digits filling the field to its end,
// at most seven digits in all ("  -1.234" as "%8.3f" writes it): the value parse_short_decimal gives,
// read without a trim or a search for the point. Returns false for any other text.
inline bool parse_fixed_point(std::string_view field, std::size_t decimals, float& out) {
  if constexpr (std::endian::native == std::endian::little) {
    if (field.size() == 8 && decimals == 3) return detail::parse_coordinate_word(field, out);
  }
  if (field.size() <= decimals || field[field.size() - decimals - 1] != '.') return false;
  const auto [negative, number] = detail::right_aligned(field.substr(0, field.size() - decimals - 1));
  const std::string_view fraction = field.substr(field.size() - decimals);
  if (number.size() + decimals > detail::exact_digits<float>) return false;
  std::uint32_t digits = 0;
  if (!detail::append_digits(number, digits) || !detail::append_digits(fraction, digits)) return false;
  const float value = detail::scaled<float>(digits, decimals);
  out = negative ? -value : value;
  return true;
}

}  // namespace redivi::detail::text

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace text = detail::text;
}  // namespace redivi
