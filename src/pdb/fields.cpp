// The column readers of PDB records: element and charge columns, the public readers and the DEBUG column trace.
#include "pdb/fields.hpp"

#include <algorithm>

#include "pdb/reader.hpp"
#include "text/numbers.hpp"
#include "text/unicode.hpp"

namespace redivi::pdb {
namespace detail {

FieldResult<Element> Columns::element() const {
  auto field = str(76, 78);
  if (!field) return std::unexpected(field.error());
  const auto element = Element::find(*field);
  if (!element) return std::unexpected(FieldError{FieldError::Kind::symbol, 76, 78});
  return *element;
}

// The standard charge format is 2+ (sign last), but some files have +2 or a bare 2: the charge rule of
// the text layer, which mmCIF charges follow too.
FieldResult<std::optional<std::int32_t>> Columns::opt_charge() const {
  auto field = str(78, 80);
  if (!field) return std::unexpected(field.error());
  if (field->empty()) return std::nullopt;  // a blank column: no charge
  const auto charge = text::parse_charge(*field);
  if (!charge) return std::unexpected(FieldError{FieldError::Kind::integer, 78, 80});
  return *charge;
}

Error to_error(const FieldError& error, std::string_view line, std::uint64_t line_number) {
  switch (error.kind) {
    case FieldError::Kind::char_boundary: return Error{Error::InvalidCharBoundary{line_number, error.start}};
    case FieldError::Kind::integer: return Error{Error::ExpectedInt{line_number, error.start, error.end}};
    case FieldError::Kind::floating: return Error{Error::ExpectedFloat{line_number, error.start, error.end}};
    case FieldError::Kind::symbol: break;
  }
  const std::string_view symbol = error.start < line.size() ? line.substr(error.start, error.end - error.start) : "";
  return Error{Error::InvalidSymbol{std::string(unicode::trim(symbol)), line_number}};
}

}  // namespace detail

void Line::trace_parser(std::string_view line, std::size_t start, std::size_t end) {
  using diagnostics::Level;
  if (!diagnostics::enabled(Level::debug)) return;
  std::string padded(line);
  if (padded.size() < 80) padded.resize(80, ' ');
  diagnostics::emit(detail::target, Level::debug, padded);

  std::string carets(start, ' ');
  carets.append(end > start ? end - start : 1, '^');
  diagnostics::emit(detail::target, Level::debug, carets);

  const std::string_view field =
      std::string_view(padded).substr(std::min(start, padded.size()), end - std::min(start, end));
  std::string under(end > field.size() ? end - field.size() : 0, ' ');
  under.append(field);
  diagnostics::emit(detail::target, Level::debug, under);
}

std::expected<std::string_view, Error> Line::parse_str(std::string_view line, std::size_t start, std::size_t end,
                                                       std::uint64_t line_number) {
  return detail::with_line(detail::Columns{line}.str(start, end), line, line_number);
}

std::expected<std::optional<std::string_view>, Error> Line::parse_opt_str(std::string_view line, std::size_t start,
                                                                          std::size_t end, std::uint64_t line_number) {
  auto field = parse_str(line, start, end, line_number);
  if (!field) return std::unexpected(std::move(field.error()));
  if (field->empty()) return std::nullopt;
  return *field;
}

std::expected<std::uint32_t, Error> Line::parse_u32(std::string_view line, std::size_t start, std::size_t end,
                                                    std::uint64_t line_number) {
  return detail::with_line(detail::Columns{line}.integer<std::uint32_t>(start, end), line, line_number);
}

std::expected<std::int32_t, Error> Line::parse_i32(std::string_view line, std::size_t start, std::size_t end,
                                                   std::uint64_t line_number) {
  return detail::with_line(detail::Columns{line}.integer<std::int32_t>(start, end), line, line_number);
}

std::expected<std::optional<std::int32_t>, Error> Line::parse_opt_i32(std::string_view line, std::size_t start,
                                                                      std::size_t end, std::uint64_t line_number) {
  return detail::with_line(detail::Columns{line}.opt_i32(start, end), line, line_number);
}

std::expected<float, Error> Line::parse_f32(std::string_view line, std::size_t start, std::size_t end,
                                            std::uint64_t line_number) {
  // Written with two decimals where the reader uses it, for the temperature factor.
  return detail::with_line(detail::Columns{line}.f32(start, end, 2), line, line_number);
}

std::expected<Element, Error> Line::parse_element(std::string_view line, std::uint64_t line_number) {
  return detail::with_line(detail::Columns{line}.element(), line, line_number);
}

std::expected<std::optional<std::int32_t>, Error> Line::parse_opt_charge(std::string_view line,
                                                                         std::uint64_t line_number) {
  return detail::with_line(detail::Columns{line}.opt_charge(), line, line_number);
}

}  // namespace redivi::pdb
