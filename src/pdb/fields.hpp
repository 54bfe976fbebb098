// Fixed-column fields of one PDB line: slicing by byte offsets, trimming and number parsing.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "redivi/convert/pdb.hpp"
#include "redivi/diagnostics.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"

namespace redivi::pdb::detail {

// True when offset starts a character of line (or lies at or past its end): the byte there
// does not continue a multi-byte UTF-8 sequence.
constexpr bool is_char_boundary(std::string_view line, std::size_t offset) {
  return offset >= line.size() || (static_cast<unsigned char>(line[offset]) & 0xC0) != 0x80;
}

// True when every byte of text is below 0x80, tested eight bytes at a time: such a line has no
// multi-byte character, so its fields need no boundary check and trim as plain ASCII.
inline bool is_ascii(std::string_view text) {
  std::uint64_t bits = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    bits |= word;
  }
  for (; i < text.size(); ++i) bits |= static_cast<unsigned char>(text[i]);
  return (bits & 0x8080808080808080U) == 0;
}

// Why a field could not be read. It is small and trivially copied, so the hot path stays cheap;
// to_error turns it into the module's Error once a record has failed.
struct FieldError {
  enum class Kind : std::uint8_t { char_boundary, integer, floating, symbol };
  Kind kind;
  std::size_t start, end;  // the field's offsets; for char_boundary, start is the offending offset
};

template <class T>
using FieldResult = std::expected<T, FieldError>;

Error to_error(const FieldError& error, std::string_view line, std::uint64_t line_number);

// Decimal text with at most seven digits and no exponent ("-12.345"), as PDB coordinates are written:
// the digits and the power of ten are exact floats, so one division rounds correctly, as from_chars
// would. Returns false for any other text, which the caller hands to from_chars.
constexpr bool parse_short_decimal(std::string_view s, float& out) {
  std::size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative || (!s.empty() && s[0] == '+')) i = 1;
  std::uint32_t digits = 0, count = 0, decimals = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = digits * 10 + static_cast<std::uint32_t>(c - '0');
      ++count;
      if (point) ++decimals;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
    if (count > 7) return false;
  }
  if (count == 0) return false;
  constexpr float powers[] = {1e0F, 1e1F, 1e2F, 1e3F, 1e4F, 1e5F, 1e6F, 1e7F};
  const float value = static_cast<float>(digits) / powers[decimals];
  out = negative ? -value : value;
  return true;
}

// Appends the decimal digits of text to value; false at the first byte that is not a digit.
constexpr bool append_digits(std::string_view text, std::uint32_t& value) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return true;
}

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

// Blanks, an optional minus sign (signed types only) and one to nine digits filling the field to its
// end ("  123", "  -45"): the common layout of integer columns, read without a trim. Returns false for
// any other text, which the caller trims and hands to from_chars.
template <class Int>
inline bool parse_right_aligned(std::string_view field, Int& out) {
  if constexpr (std::endian::native == std::endian::little) {
    if (field.size() <= 8) return parse_right_aligned_word(field, out);
  }
  const auto [negative, digits] = right_aligned(field);
  if (digits.empty() || digits.size() > 9 || (negative && !std::is_signed_v<Int>)) return false;
  std::uint32_t value = 0;
  if (!append_digits(digits, value)) return false;
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

// Blanks, an optional minus sign, digits, a point and `decimals` digits filling the field to its end,
// at most seven digits in all ("  -1.234" as "%8.3f" writes it): the same value parse_short_decimal
// gives, read without a trim or a search for the point. Returns false for any other text.
inline bool parse_fixed_point(std::string_view field, std::size_t decimals, float& out) {
  if constexpr (std::endian::native == std::endian::little) {
    if (field.size() == 8 && decimals == 3) return parse_coordinate_word(field, out);
  }
  if (field.size() <= decimals || field[field.size() - decimals - 1] != '.') return false;
  const auto [negative, number] = right_aligned(field.substr(0, field.size() - decimals - 1));
  const std::string_view fraction = field.substr(field.size() - decimals);
  if (number.size() + decimals > 7) return false;
  std::uint32_t digits = 0;
  if (!append_digits(number, digits) || !append_digits(fraction, digits)) return false;
  constexpr float powers[] = {1e0F, 1e1F, 1e2F, 1e3F, 1e4F, 1e5F, 1e6F, 1e7F};
  const float value = static_cast<float>(digits) / powers[decimals];
  out = negative ? -value : value;
  return true;
}

// The fields of one line. Offsets are 0-based and end-exclusive: columns 23-26 of the PDB
// documentation are 22..26. Columns past the end of a short line read as blank, which is the same
// as padding the line to 80 columns. Every field is traced as DEBUG events when a sink listens.
class Columns {
 public:
  explicit Columns(std::string_view line)
      : line_{line},
        trace_{diagnostics::enabled(diagnostics::Level::debug)},
        ascii_{is_ascii(line)},
        plain_{ascii_ && !trace_} {}

  // The untrimmed text of the field.
  FieldResult<std::string_view> raw(std::size_t start, std::size_t end) const {
    if (!plain_) {
      if (trace_) Line::trace_parser(line_, start, end);
      if (!is_char_boundary(line_, start)) return std::unexpected(FieldError{FieldError::Kind::char_boundary, start, end});
      if (!is_char_boundary(line_, end)) return std::unexpected(FieldError{FieldError::Kind::char_boundary, end, end});
    }
    return bytes(start, end);
  }

  // The untrimmed text of the field, without trace or check.
  std::string_view bytes(std::size_t start, std::size_t end) const {
    if (start >= line_.size()) return {};
    return {line_.data() + start, std::min(end - start, line_.size() - start)};
  }

  // True when the field holds the same bytes as previous, which was read from the same columns of an
  // earlier line, and may simply be read again: no field can fail on an ASCII line, and nothing traces.
  bool repeats(std::size_t start, std::size_t end, std::string_view previous) const {
    return plain_ && end <= line_.size() && bytes(start, end) == previous;
  }

  FieldResult<std::string_view> str(std::size_t start, std::size_t end) const {
    auto field = raw(start, end);
    if (!field) return field;
    return trim(*field);
  }

  template <class Int>
  FieldResult<Int> integer(std::size_t start, std::size_t end) const {
    auto field = raw(start, end);
    if (!field) return std::unexpected(field.error());
    Int value{};
    if (parse_right_aligned(*field, value)) return value;
    return to_int<Int>(trim(*field), start, end);
  }

  // Blank gives nothing; anything else must be a signed integer.
  FieldResult<std::optional<std::int32_t>> opt_i32(std::size_t start, std::size_t end) const {
    auto field = str(start, end);
    if (!field) return std::unexpected(field.error());
    if (field->empty()) return std::nullopt;
    return to_int<std::int32_t>(*field, start, end);
  }

  // A number usually written with `decimals` digits after the point; any other decimal form is read too.
  FieldResult<float> f32(std::size_t start, std::size_t end, std::size_t decimals) const {
    auto field = raw(start, end);
    if (!field) return std::unexpected(field.error());
    float value{};
    if (parse_fixed_point(*field, decimals, value)) return value;
    const std::string_view text = trim(*field);
    if (parse_short_decimal(text, value) || text::parse_number(text, value)) return value;
    return std::unexpected(FieldError{FieldError::Kind::floating, start, end});
  }

  // Columns 77-78, in any letter case.
  FieldResult<Element> element() const;
  // Columns 79-80.
  FieldResult<std::optional<std::int32_t>> opt_charge() const;

 private:
  std::string_view trim(std::string_view field) const { return ascii_ ? text::trim(field) : unicode::trim(field); }

  template <class Int>
  static FieldResult<Int> to_int(std::string_view text, std::size_t start, std::size_t end) {
    Int value{};
    if (!text::parse_number(text, value)) return std::unexpected(FieldError{FieldError::Kind::integer, start, end});
    return value;
  }

  std::string_view line_;
  bool trace_;
  bool ascii_;
  bool plain_;  // ASCII and not traced: fields need neither check nor trace
};

// The Error of a failed field of line.
template <class T>
std::expected<T, Error> with_line(FieldResult<T>&& result, std::string_view line, std::uint64_t line_number) {
  if (!result) return std::unexpected(to_error(result.error(), line, line_number));
  return std::move(*result);
}

}  // namespace redivi::pdb::detail
