// One line of PDB text to one typed record, by the fixed columns of the PDB format.
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "pdb/fields.hpp"
#include "pdb/reader.hpp"

namespace redivi::pdb {
namespace detail {
namespace {

constexpr std::array<std::pair<std::string_view, Kind>, 9> other_names = {{
    {"SEQRES", Kind::Seqres},
    {"DBREF ", Kind::Dbref},
    {"HELIX ", Kind::Helix},
    {"SHEET ", Kind::Sheet},
    {"CONECT", Kind::Conect},
    {"TER   ", Kind::Ter},
    {"MODEL ", Kind::Model},
    {"ENDMDL", Kind::EndModel},
    {"END   ", Kind::End},
}};

// Columns 1-6 of a line against a record name: one compare of all six columns, which the compiler
// does in two loads; "ATOM" needs blanks in columns 5 and 6. Upper case only.
bool is_record(const char* columns, std::string_view name) { return std::memcmp(columns, name.data(), 6) == 0; }

Kind kind_of_name(const char* columns) {
  // ATOM and HETATM first: they are nearly every line of a coordinate file.
  if (is_record(columns, "ATOM  ")) return Kind::Atom;
  if (is_record(columns, "HETATM")) return Kind::Hetatm;
  for (const auto& [record, kind] : other_names) {
    if (is_record(columns, record)) return kind;
  }
  return Kind::Other;
}

// Columns 18-27: residue name, chain, number, insertion code. An atom of the same residue as the
// atom read before into atom has the same columns and keeps its fields.
FieldResult<void> read_residue(const Columns& c, AtomView& atom) {
  if (c.repeats(17, 27, atom.residue_columns)) return {};
  auto res_name = c.str(17, 20);
  if (!res_name) return std::unexpected(res_name.error());
  auto chain_id = c.str(21, 22);
  if (!chain_id) return std::unexpected(chain_id.error());
  auto res_seq = c.integer<std::int32_t>(22, 26);
  if (!res_seq) return std::unexpected(res_seq.error());
  auto i_code = c.str(26, 27);
  if (!i_code) return std::unexpected(i_code.error());
  atom.res_name = *res_name;
  atom.chain_id = *chain_id;
  atom.res_seq = *res_seq;
  atom.i_code = *i_code;
  atom.residue_columns = c.bytes(17, 27);
  return {};
}

// Columns 7-27: serial, atom name, alternate location, then the residue.
FieldResult<void> read_atom_site(const Columns& c, AtomView& atom) {
  auto serial = c.integer<std::uint32_t>(6, 11);
  if (!serial) return std::unexpected(serial.error());
  auto name = c.str(12, 16);
  if (!name) return std::unexpected(name.error());
  auto alt_loc = c.str(16, 17);
  if (!alt_loc) return std::unexpected(alt_loc.error());
  atom.serial = *serial;
  atom.name = *name;
  atom.alt_loc = *alt_loc;
  return read_residue(c, atom);
}

// Columns 31-66: x, y, z, occupancy, temperature factor.
FieldResult<void> read_atom_numbers(const Columns& c, AtomView& atom) {
  struct Field {
    std::size_t start, end, decimals;
  };
  static constexpr std::array<Field, 5> fields = {{{30, 38, 3}, {38, 46, 3}, {46, 54, 3}, {54, 60, 2}, {60, 66, 2}}};
  std::array<float, 5> values{};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    auto value = c.f32(fields[i].start, fields[i].end, fields[i].decimals);
    if (!value) return std::unexpected(value.error());
    values[i] = *value;
  }
  atom.x = values[0];
  atom.y = values[1];
  atom.z = values[2];
  atom.occupancy = values[3];
  atom.temp_factor = values[4];
  return {};
}

// Columns 73-80: segment identifier, element symbol, formal charge; kept, like the residue, when they
// repeat the atom read before into atom.
FieldResult<void> read_atom_tail(const Columns& c, AtomView& atom) {
  if (c.repeats(72, 80, atom.tail_columns)) return {};
  auto seg_id = c.str(72, 76);
  if (!seg_id) return std::unexpected(seg_id.error());
  auto element = c.element();
  if (!element) return std::unexpected(element.error());
  auto charge = c.opt_charge();
  if (!charge) return std::unexpected(charge.error());
  atom.seg_id = *seg_id;
  atom.element = *element;
  atom.charge = charge->value_or(0);  // a blank charge column is neutral
  atom.tail_columns = c.bytes(72, 80);
  return {};
}

// The fields of a plain line: at least 80 columns, all ASCII and not traced, so that no field needs a
// bounds check, a character boundary check or a trace.
struct PlainFields {
  const char* line;

  std::string_view raw(std::size_t start, std::size_t end) const { return {line + start, end - start}; }
  std::string_view text(std::size_t start, std::size_t end) const { return text::trim(raw(start, end)); }
};

// True when columns holds the same bytes as previous.
bool same_columns(std::string_view columns, std::string_view previous) {
  return columns.size() == previous.size() && std::memcmp(columns.data(), previous.data(), columns.size()) == 0;
}

// Columns 18-27 of a plain line, as read_residue reads them.
bool read_plain_residue(PlainFields f, AtomView& atom) {
  const std::string_view columns = f.raw(17, 27);
  if (same_columns(columns, atom.residue_columns)) return true;
  std::int32_t res_seq = 0;
  if (!text::parse_right_aligned(f.raw(22, 26), res_seq)) return false;
  atom.res_name = f.text(17, 20);
  atom.chain_id = f.text(21, 22);
  atom.res_seq = res_seq;
  atom.i_code = f.text(26, 27);
  atom.residue_columns = columns;
  return true;
}

// Columns 31-66 of a plain line in the layouts the format writes them.
bool read_plain_numbers(PlainFields f, AtomView& atom) {
  using text::parse_fixed_point;
  return parse_fixed_point(f.raw(30, 38), 3, atom.x) && parse_fixed_point(f.raw(38, 46), 3, atom.y) &&
         parse_fixed_point(f.raw(46, 54), 3, atom.z) && parse_fixed_point(f.raw(54, 60), 2, atom.occupancy) &&
         parse_fixed_point(f.raw(60, 66), 2, atom.temp_factor);
}

// Columns 73-80 of a plain line without a charge, as read_atom_tail reads them.
bool read_plain_tail(PlainFields f, AtomView& atom) {
  const std::string_view columns = f.raw(72, 80);
  if (same_columns(columns, atom.tail_columns)) return true;
  if (!f.text(78, 80).empty()) return false;
  const auto element = Element::find(f.text(76, 78));
  if (!element) return false;
  atom.seg_id = f.text(72, 76);
  atom.element = *element;
  atom.charge = 0;
  atom.tail_columns = columns;
  return true;
}

// True for a line the one-pass reading takes: at least 80 columns, all ASCII (the first 80 tested as a
// block of known size), and no listener for the field trace.
bool is_plain_atom_line(std::string_view line) {
  return line.size() >= 80 && utf8::is_ascii(line.substr(0, 80)) && utf8::is_ascii(line.substr(80)) &&
         !diagnostics::enabled(diagnostics::Level::debug);
}

// Every field of a plain ATOM or HETATM line in one pass. False when a field is in a layout this pass
// does not take: read_atom then reads the line field by field, which gives the same values or the
// error. The residue and the tail are each set whole or not at all, so a repeat stays a repeat.
bool read_plain_atom(std::string_view line, AtomView& atom) {
  const PlainFields f{line.data()};
  if (!text::parse_right_aligned(f.raw(6, 11), atom.serial)) return false;
  atom.name = f.text(12, 16);
  atom.alt_loc = f.text(16, 17);
  return read_plain_residue(f, atom) && read_plain_numbers(f, atom) && read_plain_tail(f, atom);
}

std::optional<std::string> owned(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return std::string(text);
}

}  // namespace

std::expected<Kind, Error> record_kind(std::string_view line, std::uint64_t line_number) {
  if (line.size() >= 6) {
    if (!utf8::is_char_boundary(line, 6)) return std::unexpected(Error{Error::InvalidCharBoundary{line_number, 6}});
    return kind_of_name(line.data());
  }
  if (line.size() == 3) {
    if (line == "END") return Kind::End;
    if (line == "TER") return Kind::Other;
    return std::unexpected(Error{Error::InvalidLine{"END", std::string(line)}});
  }
  return std::unexpected(Error{Error::InvalidLineLength{line.size() < 3 ? 3U : 6U, line.size()}});
}

FieldResult<void> read_atom(std::string_view line, AtomView& atom) {
  if (is_plain_atom_line(line) && read_plain_atom(line, atom)) return {};
  const Columns c{line};
  auto read = read_atom_site(c, atom);
  if (read) read = read_atom_numbers(c, atom);
  if (read) read = read_atom_tail(c, atom);
  return read;
}

}  // namespace detail

std::expected<Atom, Error> Line::try_from_atom(std::string_view line, std::uint64_t line_number) {
  detail::AtomView a;
  if (auto read = detail::read_atom(line, a); !read) {
    return std::unexpected(detail::to_error(read.error(), line, line_number));
  }
  return Atom{a.serial,
              std::string(a.name),
              detail::owned(a.alt_loc),
              std::string(a.res_name),
              std::string(a.chain_id),
              a.res_seq,
              detail::owned(a.i_code),
              a.x,
              a.y,
              a.z,
              a.occupancy,
              a.temp_factor,
              detail::owned(a.seg_id),
              a.element,
              a.charge,
              false};
}

std::expected<Atom, Error> Line::try_from_hetatm(std::string_view line, std::uint64_t line_number) {
  auto atom = try_from_atom(line, line_number);
  if (atom) atom->hetero = true;
  return atom;
}

namespace {

// A line of another kind keeps its text, padded to 80 columns.
std::string padded(std::string_view line) {
  std::string text(line);
  if (text.size() < 80) text.resize(80, ' ');
  return text;
}

template <class Record>
std::expected<Line, Error> to_line(std::expected<Record, Error>&& record) {
  if (!record) return std::unexpected(record.error());
  return Line{std::move(*record)};
}

}  // namespace

// Serials in five-column fields from column 7 on, up to the first blank field or the end of the line.
std::expected<Conect, Error> Line::try_from_conect(std::string_view line, std::uint64_t line_number) {
  const detail::Columns c{line};
  const std::size_t size = std::max<std::size_t>(line.size(), 80);
  Conect conect;
  for (std::size_t start = 6; start + 5 <= size; start += 5) {
    auto field = c.str(start, start + 5);
    if (!field) return std::unexpected(detail::to_error(field.error(), line, line_number));
    if (field->empty()) break;
    std::uint32_t serial = 0;
    if (!text::parse_number(*field, serial)) {
      return std::unexpected(Error{Error::ExpectedInt{line_number, start, start + 5}});
    }
    conect.serials.push_back(serial);
  }
  return conect;
}

// TER never fails on its numbers: a blank or malformed serial or residue number reads as 0.
std::expected<Ter, Error> Line::try_from_ter(std::string_view line, std::uint64_t line_number) {
  const detail::Columns c{line};
  const auto serial = c.str(6, 11);     // 7-11
  const auto res_name = c.str(17, 20);  // 18-20
  const auto chain_id = c.str(21, 22);  // 22
  const auto res_seq = c.str(22, 26);   // 23-26
  for (const auto* field : {&serial, &res_name, &chain_id, &res_seq}) {
    if (!*field) return std::unexpected(detail::to_error(field->error(), line, line_number));
  }
  Ter ter{0, std::string(*res_name), std::string(*chain_id), 0};
  if (!text::parse_number(*serial, ter.serial)) ter.serial = 0;
  if (!text::parse_number(*res_seq, ter.res_seq)) ter.res_seq = 0;
  return ter;
}

std::expected<Line, Error> Line::try_from(std::string_view line, std::uint64_t line_number) {
  using detail::Kind;
  auto kind = detail::record_kind(line, line_number);
  if (!kind) return std::unexpected(kind.error());
  switch (*kind) {
    case Kind::Atom: return to_line(try_from_atom(line, line_number));
    case Kind::Hetatm: return to_line(try_from_hetatm(line, line_number));
    case Kind::Seqres: return to_line(detail::read_seqres(line, line_number));
    case Kind::Dbref: return to_line(detail::read_dbref(line, line_number));
    case Kind::Helix: return to_line(try_from_helix(line, line_number));
    case Kind::Sheet: return to_line(try_from_sheet(line, line_number));
    case Kind::Conect: return to_line(try_from_conect(line, line_number));
    case Kind::Ter: return to_line(try_from_ter(line, line_number));
    case Kind::Model: return Line{Model{}};
    case Kind::EndModel: return Line{EndModel{}};
    case Kind::End: return Line{End{}};
    case Kind::Other: break;
  }
  // The three-column line "TER" stays as it is.
  return Line{Other{line.size() < 6 ? std::string(line) : padded(line)}};
}

}  // namespace redivi::pdb
