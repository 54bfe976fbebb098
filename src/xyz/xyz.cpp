// XYZ text: the reader of the first frame and the writer.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <span>
#include <system_error>

#include "redivi/convert/xyz.hpp"
#include "text/column_writer.hpp"
#include "text/text.hpp"

namespace redivi::xyz {
namespace {

// The shortest atom line, "C 0 0 0", with its line feed: no text holds more atom lines than
// its length over this.
constexpr std::size_t shortest_atom_line = 8;

// An atom line as written: a two-character symbol and three coordinates of ten characters,
// each after a blank, and the line feed.
constexpr std::size_t written_atom_line = 2 + 3 * (1 + 10) + 1;
// The most bytes an atom line can take, with numbers wider than their columns.
constexpr std::size_t written_atom_line_bound = 2 + 3 * (1 + 10 + column_writer::max_fixed_bytes);

std::unexpected<Error> parse_atom_count_error(std::string reason) {
  return std::unexpected(Error{Error::ParseAtomCount{std::move(reason)}});
}

std::unexpected<Error> parse_atom_line_error(std::string reason) {
  return std::unexpected(Error{Error::ParseAtomLine{std::move(reason)}});
}

std::unexpected<Error> invalid_float_literal() { return parse_atom_line_error("invalid float literal"); }

std::unexpected<Error> missing_atom_line() { return std::unexpected(Error{Error::MissingAtomLine{}}); }

// Splits a line at runs of whitespace.
class Tokens {
 public:
  explicit Tokens(std::string_view line) : rest_{line} {}

  // The next token, or an empty view when none is left.
  std::string_view next() {
    const std::string_view rest = skip_blanks();
    std::size_t end = 0;
    while (end < rest.size() && !text::is_space(rest[end])) ++end;
    consume(end);
    return rest.substr(0, end);
  }

  // The text from the next token on, consumed by the caller.
  std::string_view skip_blanks() {
    std::size_t start = 0;
    while (start < rest_.size() && text::is_space(rest_[start])) ++start;
    rest_.remove_prefix(start);
    return rest_;
  }

  void consume(std::size_t length) { rest_.remove_prefix(length); }

 private:
  std::string_view rest_;
};

// Decimal digits with an optional leading "+"; the first fault from the left decides the reason.
std::expected<std::uint64_t, Error> read_atom_count(std::string_view line) {
  std::string_view digits = text::trim(line);
  if (digits.empty()) return parse_atom_count_error("cannot parse integer from empty string");
  if (digits.starts_with('+')) digits.remove_prefix(1);
  std::uint64_t count = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
  // from_chars reads the whole run of digits before it reports an overflow, so an overflow
  // comes before any stray character.
  if (ec == std::errc::result_out_of_range) return parse_atom_count_error("number too large to fit in target type");
  if (ec != std::errc{} || end != digits.data() + digits.size()) {
    return parse_atom_count_error("invalid digit found in string");
  }
  return count;
}

// The next token as a coordinate, by the float literal rule of the text layer. The literal is read from the
// rest of the line, so its characters are scanned once; the token is whole when a blank or the end of the
// line follows.
std::expected<float, Error> read_coordinate(Tokens& tokens) {
  const std::string_view rest = tokens.skip_blanks();
  if (rest.empty()) return missing_atom_line();
  const auto literal = text::parse_float_literal(rest);
  if (!literal) return invalid_float_literal();
  tokens.consume(literal->length);
  if (literal->length != rest.size() && !text::is_space(rest[literal->length])) return invalid_float_literal();
  return literal->value;
}

// A symbol and three coordinates; further tokens are ignored.
std::expected<void, Error> read_atom(std::string_view line, Topology& topology) {
  Tokens tokens{line};
  const std::string_view symbol = tokens.next();
  if (symbol.empty()) return missing_atom_line();
  const auto element = Element::try_from(symbol);
  if (!element) return parse_atom_line_error(text::concat("invalid atom symbol ", symbol));
  std::array<float, 3> position;
  for (float& coordinate : position) {
    const auto value = read_coordinate(tokens);
    if (!value) return std::unexpected(value.error());
    coordinate = *value;
  }
  topology.symbols.push_back(*element);
  topology.geometry.insert(topology.geometry.end(), position.begin(), position.end());
  return {};
}

// Columns: the symbol left-aligned in 2, then x, y and z, each after one blank, with exactly 5 decimals
// of the float's value right-aligned in 10 (a wider number is not cut).
void append_atom_line(std::string& out, Element symbol, std::span<const float, 3> position) {
  column_writer::append_line(out, written_atom_line_bound, [symbol, position](column_writer::Cursor& cursor) {
    cursor.left(symbol.symbol(), 2);
    for (const float coordinate : position) {
      cursor.blanks(1);
      cursor.fixed(coordinate, 5, 10);
    }
  });
}

}  // namespace

std::expected<Topology, Error> from_xyz(std::string_view contents) {
  text::Lines lines{contents};
  std::string_view line;
  const auto count = read_atom_count(lines.next(line) ? line : std::string_view{});
  if (!count) return std::unexpected(count.error());
  if (!lines.next(line) || text::is_blank(line)) {
    return std::unexpected(Error{Error::MissingComment{"line is empty"}});
  }
  Topology topology;
  // A count larger than the text can hold must not allocate for it.
  const std::uint64_t room = (lines.rest().size() + 1) / shortest_atom_line;
  const auto capacity = static_cast<std::size_t>(std::min(*count, room));
  topology.symbols.reserve(capacity);
  topology.geometry.reserve(3 * capacity);
  for (std::uint64_t atom = 0; atom < *count; ++atom) {
    if (!lines.next(line)) return missing_atom_line();
    const auto read = read_atom(line, topology);
    if (!read) return std::unexpected(read.error());
  }
  return topology;
}

std::expected<std::string, TopologyError> to_xyz(const Topology& topology) {
  const std::size_t atom_count = topology.symbols.size();
  if (topology.geometry.size() / 3 < atom_count) {
    return std::unexpected(TopologyError{TopologyError::InvalidGeometryLength{topology.geometry.size(), atom_count}});
  }
  std::string out;
  out.reserve(32 + atom_count * written_atom_line);
  text::append_number(out, atom_count);
  out += "\nvyr molecule\n";
  for (std::size_t atom = 0; atom < atom_count; ++atom) {
    if (atom > 0) out.push_back('\n');
    const std::span<const float, 3> position(topology.geometry.data() + 3 * atom, 3);
    append_atom_line(out, topology.symbols[atom], position);
  }
  return out;
}

}  // namespace redivi::xyz
