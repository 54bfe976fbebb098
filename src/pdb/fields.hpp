// Fixed-column fields of one PDB line: slicing by byte offsets, trimming and number parsing.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "redivi/convert/pdb.hpp"
#include "redivi/diagnostics.hpp"
#include "text/fixed_fields.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"
#include "text/utf8.hpp"

namespace redivi::pdb::detail {

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

// The fields of one line. Offsets are 0-based and end-exclusive: columns 23-26 of the PDB
// documentation are 22..26. Columns past the end of a short line read as blank, which is the same
// as padding the line to 80 columns. Every field is traced as DEBUG events when a sink listens.
class Columns {
 public:
  explicit Columns(std::string_view line)
      : line_{line},
        trace_{diagnostics::enabled(diagnostics::Level::debug)},
        ascii_{utf8::is_ascii(line)},
        plain_{ascii_ && !trace_} {}

  // The untrimmed text of the field.
  FieldResult<std::string_view> raw(std::size_t start, std::size_t end) const {
    if (!plain_) {
      if (trace_) Line::trace_parser(line_, start, end);
      if (!utf8::is_char_boundary(line_, start))
        return std::unexpected(FieldError{FieldError::Kind::char_boundary, start, end});
      if (!utf8::is_char_boundary(line_, end))
        return std::unexpected(FieldError{FieldError::Kind::char_boundary, end, end});
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
    if (text::parse_right_aligned(*field, value)) return value;
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
    if (text::parse_fixed_point(*field, decimals, value)) return value;
    // parse_number, not parse_float_literal: a column past the float range is a broken field.
    if (text::parse_number(trim(*field), value)) return value;
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
