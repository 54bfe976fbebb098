// Fixed-column fields of one PDB line: slicing by byte offsets, trimming and number parsing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "redivi/convert/pdb.hpp"
#include "redivi/diagnostics.hpp"
#include "text.hpp"
#include "unicode.hpp"

namespace redivi::pdb::detail {

// True when offset starts a character of line (or lies at or past its end): the byte there
// does not continue a multi-byte UTF-8 sequence.
constexpr bool is_char_boundary(std::string_view line, std::size_t offset) {
  return offset >= line.size() || (static_cast<unsigned char>(line[offset]) & 0xC0) != 0x80;
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

// The fields of one line. Offsets are 0-based and end-exclusive: columns 23-26 of the PDB
// documentation are 22..26. Columns past the end of a short line read as blank, which is the same
// as padding the line to 80 columns. Every field is traced as DEBUG events when a sink listens.
class Columns {
 public:
  explicit Columns(std::string_view line)
      : line_{line}, trace_{diagnostics::enabled(diagnostics::Level::debug)} {}

  // The untrimmed text of the field.
  FieldResult<std::string_view> raw(std::size_t start, std::size_t end) const {
    if (trace_) Line::trace_parser(line_, start, end);
    if (!is_char_boundary(line_, start)) return std::unexpected(FieldError{FieldError::Kind::char_boundary, start, end});
    if (!is_char_boundary(line_, end)) return std::unexpected(FieldError{FieldError::Kind::char_boundary, end, end});
    if (start >= line_.size()) return std::string_view{};
    return line_.substr(start, end - start);
  }

  FieldResult<std::string_view> str(std::size_t start, std::size_t end) const {
    auto field = raw(start, end);
    if (!field) return field;
    return unicode::trim(*field);
  }

  template <class Int>
  FieldResult<Int> integer(std::size_t start, std::size_t end) const {
    auto field = str(start, end);
    if (!field) return std::unexpected(field.error());
    return to_int<Int>(*field, start, end);
  }

  // Blank gives nothing; anything else must be a signed integer.
  FieldResult<std::optional<std::int32_t>> opt_i32(std::size_t start, std::size_t end) const {
    auto field = str(start, end);
    if (!field) return std::unexpected(field.error());
    if (field->empty()) return std::nullopt;
    return to_int<std::int32_t>(*field, start, end);
  }

  FieldResult<float> f32(std::size_t start, std::size_t end) const {
    auto field = str(start, end);
    if (!field) return std::unexpected(field.error());
    float value{};
    if (parse_short_decimal(*field, value) || text::parse_number(*field, value)) return value;
    return std::unexpected(FieldError{FieldError::Kind::floating, start, end});
  }

  // Columns 77-78, in any letter case.
  FieldResult<Element> element() const;
  // Columns 79-80.
  FieldResult<std::optional<std::int32_t>> opt_charge() const;

 private:
  template <class Int>
  static FieldResult<Int> to_int(std::string_view text, std::size_t start, std::size_t end) {
    Int value{};
    if (!text::parse_number(text, value)) return std::unexpected(FieldError{FieldError::Kind::integer, start, end});
    return value;
  }

  std::string_view line_;
  bool trace_;
};

// The Error of a failed field of line.
template <class T>
std::expected<T, Error> with_line(FieldResult<T>&& result, std::string_view line, std::uint64_t line_number) {
  if (!result) return std::unexpected(to_error(result.error(), line, line_number));
  return std::move(*result);
}

}  // namespace redivi::pdb::detail
