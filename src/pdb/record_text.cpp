// PDB records as fixed-column text: ATOM/HETATM, HELIX, SHEET, SEQRES, CONECT and the other record kinds.
#include "pdb/record_text.hpp"
#include "model/insertion_code.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>
#include <variant>

#include "text/column_writer.hpp"
#include "text/quoted.hpp"
#include "text/text.hpp"
#include "text/utf8.hpp"

namespace redivi::pdb {
namespace {

using column_writer::append_line;
using column_writer::Cursor;
using column_writer::max_fixed_bytes;
using column_writer::max_text_bytes;

constexpr std::size_t max_int_bytes = 11;  // -2147483648

std::string_view optional_text(const std::optional<std::string>& text) {
  return text ? std::string_view{*text} : std::string_view{};
}

std::string_view insertion_code(const std::optional<std::string>& code) {
  const std::string_view text = optional_text(code);
  return text == redivi::detail::no_insertion_code ? std::string_view{} : text;
}

// Columns 79-80: "2+" for 2, "1-" for -1, blank for 0; charges of 10 or more lose their sign to the cut.
void write_charge(Cursor& line, std::int32_t charge) {
  std::array<char, 16> text;
  char* end = text.data();
  if (charge != 0) {
    const std::uint32_t magnitude =
        charge < 0 ? 0U - static_cast<std::uint32_t>(charge) : static_cast<std::uint32_t>(charge);
    end = std::to_chars(text.data(), text.data() + text.size() - 1, magnitude).ptr;
    *end++ = charge < 0 ? '-' : '+';
  }
  line.right({text.data(), end}, 2);
}

std::unexpected<WriteError> fail(std::string message) { return std::unexpected(WriteError{std::move(message)}); }

// Whether a name of at most 4 bytes holds a line feed, which would end its line. Four fixed byte tests (the
// last byte repeated for shorter names) take no branch, where a loop over the name would mispredict its
// end from atom to atom.
bool holds_line_feed(const std::string& name) {
  const std::size_t last = name.empty() ? 0 : name.size() - 1;
  bool found = false;
  for (std::size_t k = 0; k < 4; ++k) found |= name.data()[std::min(k, last)] == '\n';
  return found;
}

// An 80-column line of blanks into which HELIX and SHEET fields are copied by byte.
class FixedLine {
 public:
  explicit FixedLine(std::string_view record_name) {
    line_.fill(' ');
    std::memcpy(line_.data(), record_name.data(), record_name.size());
  }

  // The first `width` bytes of text from the 1-based column `first` on.
  void text(std::size_t first, std::size_t width, std::string_view text) {
    std::copy_n(text.data(), std::min(width, text.size()), &line_[first - 1]);
  }

  // Right-aligned in `width`, then cut to its first `width` characters (1234 in 3 columns is 123).
  void number(std::size_t first, std::size_t width, std::int32_t value) {
    std::array<char, 16> digits;
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    const auto length = static_cast<std::size_t>(end - digits.data());
    const std::size_t pad = length < width ? width - length : 0;
    text(first + pad, width - pad, {digits.data(), length});
  }

  // Blank for no code; otherwise the code's first byte.
  void insertion_code(std::size_t column, std::string_view code) {
    if (code != redivi::detail::no_insertion_code) text(column, 1, code);
  }

  // A cut that split a multi-byte character leaves text that is not UTF-8 and cannot be written.
  std::expected<void, WriteError> append_to(std::string& out, std::string_view record_name) const {
    const std::string_view line{line_.data(), line_.size()};
    if (!utf8::is_valid(line)) {
      return fail(text::concat(record_name, " text is not valid UTF-8: a column cut splits a multi-byte character"));
    }
    out.append(line);
    return {};
  }

 private:
  std::array<char, 80> line_;
};

void append_dbref(std::string& out, const Dbref& dbref) {
  append_line(out, 16 + dbref.chain_id.size() + max_int_bytes, [&dbref](Cursor& line) {
    line.text("DBREF       ");         //  1-12  record name, blanks
    line.whole(dbref.chain_id, 1);     // 13     chainID; a longer one is written whole
    line.blanks(1);                    // 14     blank
    line.integer(dbref.seq_begin, 4);  // 15-18  seqBegin, right-aligned in 4
  });
}

void append_ter(std::string& out, const Ter& ter) {
  append_line(out, 64, [&ter](Cursor& line) {
    line.text("TER   ");           //  1-6   record name
    line.integer(ter.serial, 5);   //  7-11  serial
    line.blanks(6);                // 12-17  blank
    line.right(ter.res_name, 3);   // 18-20  resName
    line.blanks(1);                // 21     blank
    line.right(ter.chain_id, 1);   // 22     chainID
    line.integer(ter.res_seq, 4);  // 23-26  resSeq
  });
}

// Text of each record kind. The kinds the writer never produces are written in the columns the
// reader takes them from.
struct RecordText {
  std::string& out;

  std::expected<void, WriteError> operator()(const Atom& atom) const { return detail::append_atom(out, atom); }
  std::expected<void, WriteError> operator()(const Helix& helix) const { return detail::append_helix(out, helix); }
  std::expected<void, WriteError> operator()(const Sheet& sheet) const { return detail::append_sheet(out, sheet); }
  std::expected<void, WriteError> operator()(const Seqres& seqres) const {
    return infallible(detail::append_seqres, seqres);
  }
  std::expected<void, WriteError> operator()(const Conect& conect) const {
    detail::append_conect(out, conect.serials);
    return {};
  }
  std::expected<void, WriteError> operator()(const Dbref& dbref) const { return infallible(append_dbref, dbref); }
  std::expected<void, WriteError> operator()(const Ter& ter) const { return infallible(append_ter, ter); }
  std::expected<void, WriteError> operator()(const Other& other) const { return verbatim(other.text); }
  // Six columns: a line of MODEL alone is too short to be read back.
  std::expected<void, WriteError> operator()(const Model&) const { return verbatim("MODEL "); }
  std::expected<void, WriteError> operator()(const EndModel&) const { return verbatim("ENDMDL"); }
  std::expected<void, WriteError> operator()(const End&) const { return verbatim("END"); }

 private:
  template <class Record>
  std::expected<void, WriteError> infallible(void (*append)(std::string&, const Record&), const Record& record) const {
    append(out, record);
    return {};
  }
  std::expected<void, WriteError> verbatim(std::string_view text) const {
    out.append(text);
    return {};
  }
};

}  // namespace

namespace detail {

std::expected<void, WriteError> append_atom(std::string& out, const Atom& atom) {
  if (atom.name.size() > 4) {
    return fail(text::concat("atom name \"", atom.name, "\" is longer than the 4 bytes of columns 13-16"));
  }
  if (holds_line_feed(atom.name)) {
    std::string message = "atom name ";
    quoted::append(message, atom.name);
    return fail(text::concat(message, " of serial ", atom.serial, " holds a line feed"));
  }
  constexpr std::size_t bound = 80 + 2 * max_int_bytes + 5 * max_fixed_bytes + 6 * max_text_bytes(4);
  append_line(out, bound, [&atom](Cursor& line) {
    line.text(atom.hetero ? "HETATM" : "ATOM  ");        //  1-6   record name
    line.integer(atom.serial, 5);                        //  7-11  serial, right-aligned in 5, never cut
    line.blanks(atom.name.size() < 4 ? 2 : 1);           // 12     blank; 13-16 name: 0-3 bytes after a blank,
    line.left(atom.name, atom.name.size() < 4 ? 3 : 4);  //        4 bytes as they are, left-aligned in 4
    line.left(optional_text(atom.alt_loc), 1);           // 17     altLoc, left-aligned in 1
    line.right(atom.res_name, 3);                        // 18-20  resName, right-aligned in 3
    line.blanks(1);                                      // 21     blank
    line.right(atom.chain_id, 1);                        // 22     chainID
    line.integer(atom.res_seq, 4);                       // 23-26  resSeq, right-aligned in 4, never cut
    line.right(insertion_code(atom.i_code), 1);          // 27     iCode, blank for none or "~"
    line.blanks(3);                                      // 28-30  blank
    line.fixed(atom.x, 3, 8);                            // 31-38  x, %8.3f
    line.fixed(atom.y, 3, 8);                            // 39-46  y, %8.3f
    line.fixed(atom.z, 3, 8);                            // 47-54  z, %8.3f
    line.fixed(atom.occupancy, 2, 6);                    // 55-60  occupancy, %6.2f
    line.fixed(atom.temp_factor, 2, 6);                  // 61-66  tempFactor, %6.2f
    line.blanks(6);                                      // 67-72  blank
    line.left(optional_text(atom.seg_id), 4);            // 73-76  segID, left-aligned in 4
    line.right(atom.element.symbol(), 2);                // 77-78  element, right-aligned in 2
    write_charge(line, atom.charge);                     // 79-80  charge
  });
  return {};
}

std::expected<void, WriteError> append_helix(std::string& out, const Helix& helix) {
  FixedLine line{"HELIX "};                                           //  1-6   record name
  line.number(8, 3, helix.serial);                                    //  8-10  serNum
  line.text(12, 3, helix.helix_id);                                   // 12-14  helixID
  line.text(16, 3, helix.init_res_name);                              // 16-18  initResName
  line.text(20, 1, helix.init_chain_id);                              // 20     initChainID
  line.number(22, 4, helix.init_seq_num);                             // 22-25  initSeqNum
  line.insertion_code(26, helix.init_i_code);                         // 26     initICode
  line.text(28, 3, helix.end_res_name);                               // 28-30  endResName
  line.text(32, 1, helix.end_chain_id);                               // 32     endChainID
  line.number(34, 4, helix.end_seq_num);                              // 34-37  endSeqNum
  line.insertion_code(38, helix.end_i_code);                          // 38     endICode
  if (helix.helix_class != 0) line.number(39, 2, helix.helix_class);  // 39-40  helixClass, blank for 0
  if (helix.length != 0) line.number(72, 5, helix.length);            // 72-76  length, blank for 0
  return line.append_to(out, "HELIX");
}

std::expected<void, WriteError> append_sheet(std::string& out, const Sheet& sheet) {
  FixedLine line{"SHEET "};                                             //  1-6   record name
  line.number(8, 3, sheet.strand);                                      //  8-10  strand
  line.text(12, 3, sheet.sheet_id);                                     // 12-14  sheetID
  if (sheet.num_strands != 0) line.number(15, 2, sheet.num_strands);    // 15-16  numStrands, blank for 0
  line.text(18, 3, sheet.init_res_name);                                // 18-20  initResName
  line.text(22, 1, sheet.init_chain_id);                                // 22     initChainID
  line.number(23, 4, sheet.init_seq_num);                               // 23-26  initSeqNum
  line.insertion_code(27, sheet.init_i_code);                           // 27     initICode
  line.text(29, 3, sheet.end_res_name);                                 // 29-31  endResName
  line.text(33, 1, sheet.end_chain_id);                                 // 33     endChainID
  line.number(34, 4, sheet.end_seq_num);                                // 34-37  endSeqNum
  line.insertion_code(38, sheet.end_i_code);                            // 38     endICode
  line.number(39, 2, sheet.sense);                                      // 39-40  sense, " 0" for 0
  line.text(42, 4, sheet.cur_atom);                                     // 42-45  curAtom
  line.text(46, 3, sheet.cur_res_name);                                 // 46-48  curResName
  line.text(50, 1, sheet.cur_chain_id);                                 // 50     curChainId
  if (sheet.cur_res_seq != 0) line.number(51, 4, sheet.cur_res_seq);    // 51-54  curResSeq, blank for 0
  line.insertion_code(55, sheet.cur_i_code);                            // 55     curICode
  line.text(57, 4, sheet.prev_atom);                                    // 57-60  prevAtom
  line.text(61, 3, sheet.prev_res_name);                                // 61-63  prevResName
  line.text(65, 1, sheet.prev_chain_id);                                // 65     prevChainId
  if (sheet.prev_res_seq != 0) line.number(66, 4, sheet.prev_res_seq);  // 66-69  prevResSeq, blank for 0
  line.insertion_code(70, sheet.prev_i_code);                           // 70     prevICode
  return line.append_to(out, "SHEET");
}

void append_seqres(std::string& out, const Seqres& seqres) {
  std::size_t bound = 20 + seqres.chain_id.size() + 2 * max_int_bytes + 10;
  for (const std::string& name : seqres.res_names) bound += 1 + name.size();
  append_line(out, bound, [&seqres](Cursor& line) {
    line.text("SEQRES ");                               //  1-7   record name and a blank
    line.integer(seqres.serial, 3);                     //  8-10  serNum, right-aligned in 3
    line.blanks(1);                                     // 11     blank
    line.whole(seqres.chain_id, 1);                     // 12     chainID; a longer one is written whole
    line.blanks(1);                                     // 13     blank
    line.integer(seqres.num_res, 4);                    // 14-17  numRes, right-aligned in 4
    line.blanks(1);                                     // 18     blank
    for (const std::string& name : seqres.res_names) {  // 20-22, 24-26, ...: each name after a blank
      line.blanks(1);
      line.text(name);
    }
    line.blanks(10);
  });
}

void append_conect(std::string& out, std::span<const std::uint32_t> serials) {
  append_line(out, 6 + serials.size() * max_int_bytes, [serials](Cursor& line) {
    line.text("CONECT");  // 1-6, then 7-11, 12-16, ...: each serial right-aligned in 5
    for (const std::uint32_t serial : serials) line.integer(serial, 5);
  });
}

}  // namespace detail

std::expected<std::string, WriteError> Line::try_to_string() const {
  std::string out;
  const auto written = std::visit(RecordText{out}, value);
  if (!written) return std::unexpected(written.error());
  return out;
}

}  // namespace redivi::pdb
