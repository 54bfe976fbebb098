// PDB text: typed records for each line, the reader (one structure per model) and the writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "redivi/element.hpp"
#include "redivi/export.hpp"
#include "redivi/trc.hpp"

namespace redivi::pdb {

// Why PDB text could not be read. Line numbers count from 1; offsets count bytes from 0 at the start of
// the line, and an end offset is exclusive: columns 31-38 are reported as 30-38.
struct Error {
  // A line of 0-2 or 4-5 bytes: found is its length, expected the 3 or 6 bytes it falls short of.
  struct InvalidLineLength {
    std::uint64_t expected, found;
    bool operator==(const InvalidLineLength&) const = default;
  };
  // A three-byte line other than "END" or "TER": expected "END", found the line.
  struct InvalidLine {
    std::string expected, found;
    bool operator==(const InvalidLine&) const = default;
  };
  // A CONECT record outside every model names a serial that some model lacks.
  struct InvalidConnection {
    std::uint32_t serial;
    bool operator==(const InvalidConnection&) const = default;
  };
  // Columns 77-78 name no element: their trimmed text, and the line.
  struct InvalidSymbol {
    std::string symbol;
    std::uint64_t line;
    bool operator==(const InvalidSymbol&) const = default;
  };
  // A number field that does not read as an integer, or as a decimal number: the line, and the field's
  // start and end offsets.
  struct ExpectedInt {
    std::uint64_t line, start, end;
    bool operator==(const ExpectedInt&) const = default;
  };
  struct ExpectedFloat {
    std::uint64_t line, start, end;
    bool operator==(const ExpectedFloat&) const = default;
  };
  // An atom without a formal charge while fragment charges are summed; the reader gives every atom one.
  struct ChargesMismatch {
    bool operator==(const ChargesMismatch&) const = default;
  };
  // A field boundary (an offset) that falls inside a multi-byte character.
  struct InvalidCharBoundary {
    std::uint64_t line, offset;
    bool operator==(const InvalidCharBoundary&) const = default;
  };

  std::variant<InvalidLineLength, InvalidLine, InvalidConnection, InvalidSymbol, ExpectedInt, ExpectedFloat,
               ChargesMismatch, InvalidCharBoundary>
      value;

  friend bool operator==(const Error&, const Error&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const Error& error);
REDIVI_EXPORT std::string debug_string(const Error& error);

// A record or structure that has no text form in PDB columns: a name longer than its columns, a cut
// inside a multi-byte character, a table whose columns disagree, a reference past the end of a list.
struct WriteError {
  std::string message;  // what could not be written, and why
  friend bool operator==(const WriteError&, const WriteError&) = default;
};

// The display text is the message itself.
inline std::string to_string(const WriteError& error) { return error.message; }
REDIVI_EXPORT std::string debug_string(const WriteError& error);

// The record types below hold the fields of one line, named as the PDB format names them. Texts are
// trimmed; a blank optional text is absent, a blank required text empty.

// SEQRES: residue names of one chain's sequence.
struct Seqres {
  std::uint32_t serial = 0;  // the record's number within the chain, from 1
  std::string chain_id;
  std::uint32_t num_res = 0;           // residues in the chain's whole sequence
  std::vector<std::string> res_names;  // the names on this line, up to the first blank one
  friend bool operator==(const Seqres&, const Seqres&) = default;
};

// DBREF: where a chain's sequence starts in its database reference.
struct Dbref {
  std::string chain_id;
  std::int32_t seq_begin = 0;  // the residue number of the chain's first SEQRES residue
  friend bool operator==(const Dbref&, const Dbref&) = default;
};

// One ATOM or HETATM line.
struct Atom {
  std::uint32_t serial = 0;
  std::string name;                    // the atom name ("CA")
  std::optional<std::string> alt_loc;  // alternate location
  std::string res_name;
  std::string chain_id;
  std::int32_t res_seq = 0;           // residue number
  std::optional<std::string> i_code;  // insertion code; the writer also leaves "~" blank
  float x = 0, y = 0, z = 0;          // ångström
  float occupancy = 0;
  float temp_factor = 0;
  std::optional<std::string> seg_id;
  Element element;
  std::int32_t charge = 0;  // elementary charges; 0 when the column is blank
  bool hetero = false;      // true for HETATM
  friend bool operator==(const Atom&, const Atom&) = default;
};

// HELIX: the init_ fields name the first residue, the end_ fields the last. Blank insertion codes of
// HELIX and SHEET records are held as "~".
struct Helix {
  std::int32_t serial = 0;
  std::string helix_id;
  std::string init_res_name;
  std::string init_chain_id;
  std::int32_t init_seq_num = 0;
  std::string init_i_code;
  std::string end_res_name;
  std::string end_chain_id;
  std::int32_t end_seq_num = 0;
  std::string end_i_code;
  std::int32_t helix_class = 0;  // 1 to 10 as HelixClass numbers them; 0 when blank
  std::int32_t length = 0;       // residues in the helix; 0 when blank
  friend bool operator==(const Helix&, const Helix&) = default;
};

// SHEET: one strand, its first (init_) and last (end_) residue.
struct Sheet {
  std::int32_t strand = 0;  // the strand's number in its sheet
  std::string sheet_id;
  std::int32_t num_strands = 0;  // strands in the sheet; 0 when blank
  std::string init_res_name;
  std::string init_chain_id;
  std::int32_t init_seq_num = 0;
  std::string init_i_code;
  std::string end_res_name;
  std::string end_chain_id;
  std::int32_t end_seq_num = 0;
  std::string end_i_code;
  std::int32_t sense = 0;  // 1 parallel, -1 anti-parallel to the previous strand; 0 for the first or blank
  // Registration: the current strand's atom, then the previous strand's; residue numbers 0 when blank.
  std::string cur_atom;
  std::string cur_res_name;
  std::string cur_chain_id;
  std::int32_t cur_res_seq = 0;
  std::string cur_i_code;
  std::string prev_atom;
  std::string prev_res_name;
  std::string prev_chain_id;
  std::int32_t prev_res_seq = 0;
  std::string prev_i_code;
  friend bool operator==(const Sheet&, const Sheet&) = default;
};

// CONECT: an atom's serial, then the serials of the atoms bonded to it, up to the first blank field.
struct Conect {
  std::vector<std::uint32_t> serials;
  friend bool operator==(const Conect&, const Conect&) = default;
};

// TER: the end of a chain. A blank or malformed serial or residue number reads as 0.
struct Ter {
  std::uint32_t serial = 0;
  std::string res_name;
  std::string chain_id;
  std::int32_t res_seq = 0;
  friend bool operator==(const Ter&, const Ter&) = default;
};

// Any line of another kind, padded to 80 columns (a three-byte "TER" line stays as it is).
struct Other {
  std::string text;
  friend bool operator==(const Other&, const Other&) = default;
};

// MODEL, ENDMDL and END carry no fields.
struct Model {
  friend bool operator==(const Model&, const Model&) = default;
};
struct EndModel {
  friend bool operator==(const EndModel&, const EndModel&) = default;
};
struct End {
  friend bool operator==(const End&, const End&) = default;
};

// One line of PDB text as a typed record.
struct REDIVI_EXPORT Line {
  // The record, by the record name in columns 1-6 (ATOM and HETATM both give Atom).
  std::variant<Seqres, Dbref, Helix, Sheet, Atom, Conect, Ter, Other, Model, EndModel, End> value;

  // Parses one line (without its terminator); line_number is the 1-based number used in errors.
  static std::expected<Line, Error> try_from(std::string_view line, std::uint64_t line_number);

  // Record parsers for lines whose columns 1-6 name the record.
  static std::expected<Atom, Error> try_from_atom(std::string_view line, std::uint64_t line_number);
  static std::expected<Atom, Error> try_from_hetatm(std::string_view line, std::uint64_t line_number);
  static std::expected<Helix, Error> try_from_helix(std::string_view line, std::uint64_t line_number);
  static std::expected<Sheet, Error> try_from_sheet(std::string_view line, std::uint64_t line_number);
  static std::expected<Conect, Error> try_from_conect(std::string_view line, std::uint64_t line_number);
  static std::expected<Ter, Error> try_from_ter(std::string_view line, std::uint64_t line_number);

  // Column readers. start and end are 0-based byte offsets, end exclusive (columns a-b of the PDB
  // documentation are a-1..b); columns past the end of the line read as blank. Every reader fails
  // with InvalidCharBoundary when start or end falls inside a multi-byte character.
  // The trimmed text, possibly empty.
  static std::expected<std::string_view, Error> parse_str(std::string_view line, std::size_t start, std::size_t end,
                                                          std::uint64_t line_number);
  // Absent when the trimmed text is empty.
  static std::expected<std::optional<std::string_view>, Error> parse_opt_str(std::string_view line, std::size_t start,
                                                                             std::size_t end,
                                                                             std::uint64_t line_number);
  // Required integers, unsigned and signed: a blank field is ExpectedInt.
  static std::expected<std::uint32_t, Error> parse_u32(std::string_view line, std::size_t start, std::size_t end,
                                                       std::uint64_t line_number);
  static std::expected<std::int32_t, Error> parse_i32(std::string_view line, std::size_t start, std::size_t end,
                                                      std::uint64_t line_number);
  // Absent when blank.
  static std::expected<std::optional<std::int32_t>, Error> parse_opt_i32(std::string_view line, std::size_t start,
                                                                         std::size_t end, std::uint64_t line_number);
  // A decimal number: a blank field is ExpectedFloat.
  static std::expected<float, Error> parse_f32(std::string_view line, std::size_t start, std::size_t end,
                                               std::uint64_t line_number);
  // The element symbol of columns 77-78.
  static std::expected<Element, Error> parse_element(std::string_view line, std::uint64_t line_number);
  // The formal charge of columns 79-80: "2+", "1-", "-1", "+2" or "1"; absent when blank.
  static std::expected<std::optional<std::int32_t>, Error> parse_opt_charge(std::string_view line,
                                                                            std::uint64_t line_number);
  // Emits the DEBUG trace of one field (the line, a caret line under the field, the field's text)
  // when a sink listens for debug events.
  static void trace_parser(std::string_view line, std::size_t start, std::size_t end);
  // The record as one line of text, without a terminator.
  std::expected<std::string, WriteError> try_to_string() const;

  friend bool operator==(const Line&, const Line&) = default;
};

// One structure per model, in file order; atoms outside MODEL records make one model. Of alternate
// locations only "A" (or blank) is kept. With include_seqres, residues that SEQRES lists but the atom
// records lack are added without atoms. CONECT records give the bonds: inside a model its own, outside
// every model those of every model.
REDIVI_EXPORT std::expected<std::vector<TRC>, Error> from_pdb_with_options(std::string_view contents,
                                                                           bool include_seqres);

// The structure as PDB text: SEQRES, HELIX, SHEET, ATOM/HETATM and CONECT records. Atoms are written
// residue by residue, each with its 0-based index as serial; residues with an amino-acid name are ATOM,
// others HETATM. Chain i is the character 'A' + i in atom records, and the first entry of labels[i] (else
// that character) in the others. Bonds between two atoms of amino-acid residues are left out; a bond of
// order n (Single to Sextuple) is written as n CONECT records. Atoms in no residue are not written, so
// serials may skip numbers; no MODEL, TER or END records are written.
REDIVI_EXPORT std::expected<std::string, WriteError> to_pdb(const TRC& trc);

}  // namespace redivi::pdb
