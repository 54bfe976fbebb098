// The header records of PDB text that the reader uses: SEQRES, DBREF, HELIX and SHEET.
#include <algorithm>
#include <array>
#include <variant>

#include "model/insertion_code.hpp"
#include "pdb/fields.hpp"
#include "pdb/reader.hpp"
#include "text/unicode.hpp"
#include "text/utf8.hpp"

namespace redivi::pdb {
namespace detail {
namespace {

enum class Rule : std::uint8_t {
  text,     // trimmed text
  i_code,   // trimmed text, "~" when blank
  integer,  // signed, required
  opt_int,  // signed, 0 when blank
};

// One field of a record: its offsets (0-based, end exclusive), how it is read and where it goes.
template <class Record>
struct Field {
  std::size_t start, end;
  Rule rule;
  std::variant<std::string Record::*, std::int32_t Record::*> member;
};

std::string ins_code_or_tilde(std::string_view text) {
  return std::string(redivi::detail::stored_insertion_code(text));
}

template <class Record>
FieldResult<void> read_field(const Columns& c, const Field<Record>& field, Record& record) {
  if (field.rule == Rule::text || field.rule == Rule::i_code) {
    auto text = c.str(field.start, field.end);
    if (!text) return std::unexpected(text.error());
    record.*std::get<std::string Record::*>(field.member) =
        field.rule == Rule::i_code ? ins_code_or_tilde(*text) : std::string(*text);
    return {};
  }
  auto number = c.opt_i32(field.start, field.end);
  if (!number) return std::unexpected(number.error());
  if (!*number && field.rule == Rule::integer) {
    return std::unexpected(FieldError{FieldError::Kind::integer, field.start, field.end});
  }
  record.*std::get<std::int32_t Record::*>(field.member) = number->value_or(0);  // a blank optional number is 0
  return {};
}

// Fields are read in column order; the first failing field fails the record.
template <class Record, std::size_t N>
std::expected<Record, Error> read_fields(std::string_view line, std::uint64_t line_number,
                                         const std::array<Field<Record>, N>& fields) {
  const Columns c{line};
  Record record;
  for (const Field<Record>& field : fields) {
    if (auto read = read_field(c, field, record); !read)
      return std::unexpected(to_error(read.error(), line, line_number));
  }
  return record;
}

constexpr std::array<Field<Helix>, 12> helix_fields = {{
    {7, 10, Rule::integer, &Helix::serial},         // 8-10
    {11, 14, Rule::text, &Helix::helix_id},         // 12-14
    {15, 18, Rule::text, &Helix::init_res_name},    // 16-18
    {19, 20, Rule::text, &Helix::init_chain_id},    // 20
    {21, 25, Rule::integer, &Helix::init_seq_num},  // 22-25
    {25, 26, Rule::i_code, &Helix::init_i_code},    // 26
    {27, 30, Rule::text, &Helix::end_res_name},     // 28-30
    {31, 32, Rule::text, &Helix::end_chain_id},     // 32
    {33, 37, Rule::integer, &Helix::end_seq_num},   // 34-37
    {37, 38, Rule::i_code, &Helix::end_i_code},     // 38
    {38, 40, Rule::opt_int, &Helix::helix_class},   // 39-40
    {71, 76, Rule::opt_int, &Helix::length},        // 72-76; the comment in 41-70 is not read
}};

constexpr std::array<Field<Sheet>, 22> sheet_fields = {{
    {7, 10, Rule::integer, &Sheet::strand},         // 8-10
    {11, 14, Rule::text, &Sheet::sheet_id},         // 12-14
    {14, 16, Rule::opt_int, &Sheet::num_strands},   // 15-16
    {17, 20, Rule::text, &Sheet::init_res_name},    // 18-20
    {21, 22, Rule::text, &Sheet::init_chain_id},    // 22
    {22, 26, Rule::integer, &Sheet::init_seq_num},  // 23-26
    {26, 27, Rule::i_code, &Sheet::init_i_code},    // 27
    {28, 31, Rule::text, &Sheet::end_res_name},     // 29-31
    {32, 33, Rule::text, &Sheet::end_chain_id},     // 33
    {33, 37, Rule::integer, &Sheet::end_seq_num},   // 34-37
    {37, 38, Rule::i_code, &Sheet::end_i_code},     // 38
    {38, 40, Rule::opt_int, &Sheet::sense},         // 39-40
    {41, 45, Rule::text, &Sheet::cur_atom},         // 42-45
    {45, 48, Rule::text, &Sheet::cur_res_name},     // 46-48
    {49, 50, Rule::text, &Sheet::cur_chain_id},     // 50
    {50, 54, Rule::opt_int, &Sheet::cur_res_seq},   // 51-54
    {54, 55, Rule::i_code, &Sheet::cur_i_code},     // 55
    {56, 60, Rule::text, &Sheet::prev_atom},        // 57-60
    {60, 63, Rule::text, &Sheet::prev_res_name},    // 61-63
    {64, 65, Rule::text, &Sheet::prev_chain_id},    // 65
    {65, 69, Rule::opt_int, &Sheet::prev_res_seq},  // 66-69
    {69, 70, Rule::i_code, &Sheet::prev_i_code},    // 70
}};

// Residue names from column 20 on: three columns each, then one separator column, until a blank
// name or the end of the line. The names are not traced.
std::expected<std::vector<std::string>, Error> read_seqres_names(std::string_view line, std::uint64_t line_number) {
  std::vector<std::string> names;
  const std::size_t size = std::max<std::size_t>(line.size(), 80);
  for (std::size_t start = 19; start < size; start += 4) {
    const std::size_t end = std::min(start + 3, size);
    if (!utf8::is_char_boundary(line, start) || !utf8::is_char_boundary(line, end)) {
      return std::unexpected(
          Error{Error::InvalidCharBoundary{line_number, utf8::is_char_boundary(line, start) ? end : start}});
    }
    const std::string_view name =
        start < line.size() ? unicode::trim(line.substr(start, end - start)) : std::string_view{};
    if (name.empty()) break;
    names.emplace_back(name);
  }
  return names;
}

}  // namespace

std::expected<Seqres, Error> read_seqres(std::string_view line, std::uint64_t line_number) {
  const Columns c{line};
  auto serial = with_line(c.integer<std::uint32_t>(7, 10), line, line_number);  // 8-10
  if (!serial) return std::unexpected(std::move(serial.error()));
  auto chain_id = with_line(c.str(11, 12), line, line_number);  // 12
  if (!chain_id) return std::unexpected(std::move(chain_id.error()));
  auto num_res = with_line(c.integer<std::uint32_t>(13, 17), line, line_number);  // 14-17
  if (!num_res) return std::unexpected(std::move(num_res.error()));
  auto names = read_seqres_names(line, line_number);
  if (!names) return std::unexpected(std::move(names.error()));
  return Seqres{*serial, std::string(*chain_id), *num_res, std::move(*names)};
}

std::expected<Dbref, Error> read_dbref(std::string_view line, std::uint64_t line_number) {
  const Columns c{line};
  auto chain_id = with_line(c.str(12, 13), line, line_number);  // 13
  if (!chain_id) return std::unexpected(std::move(chain_id.error()));
  auto seq_begin = with_line(c.integer<std::int32_t>(14, 18), line, line_number);  // 15-18
  if (!seq_begin) return std::unexpected(std::move(seq_begin.error()));
  return Dbref{std::string(*chain_id), *seq_begin};
}

}  // namespace detail

std::expected<Helix, Error> Line::try_from_helix(std::string_view line, std::uint64_t line_number) {
  return detail::read_fields(line, line_number, detail::helix_fields);
}

std::expected<Sheet, Error> Line::try_from_sheet(std::string_view line, std::uint64_t line_number) {
  return detail::read_fields(line, line_number, detail::sheet_fields);
}

}  // namespace redivi::pdb
