// One PDB line to one record: kinds, columns, errors, the charge column, SEQRES and CONECT fields, the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "redivi/convert/pdb.hpp"
#include "redivi/diagnostics.hpp"

namespace redivi::pdb {
namespace {

using E = Error;

// ATOM 1 of 1CRN.
constexpr std::string_view crambin_n =
    "ATOM      1  N   THR A   1      17.047  14.099   3.625  1.00 13.79           N  ";

Line parse(std::string_view line) {
  auto record = Line::try_from(line, 7);
  EXPECT_TRUE(record.has_value()) << to_string(record.error());
  return record.value_or(Line{End{}});
}

Error parse_error(std::string_view line) {
  auto record = Line::try_from(line, 7);
  EXPECT_FALSE(record.has_value());
  return record ? Error{E::ChargesMismatch{}} : record.error();
}

std::string padded(std::string text) {
  text.resize(std::max<std::size_t>(text.size(), 80), ' ');
  return text;
}

TEST(PdbRecord, RecognisesTheRecordByAllSixColumnsOfItsName) {
  EXPECT_EQ(parse("END"), Line{End{}});
  EXPECT_EQ(parse("END   anything at all"), Line{End{}});
  EXPECT_EQ(parse("ENDMDL"), Line{EndModel{}});
  EXPECT_EQ(parse("MODEL        1"), Line{Model{}});
  EXPECT_EQ(parse("TER"), Line{Other{"TER"}});
  EXPECT_EQ(parse("TER   "), (Line{Ter{0, "", "", 0}}));
  EXPECT_EQ(parse("TER     328      ASN A  46"), (Line{Ter{328, "ASN", "A", 46}}));
  EXPECT_EQ(parse("TER   xx328      ASN A  4x"), (Line{Ter{0, "ASN", "A", 0}}));
  // Lower case, a name without its blanks and an unknown name are other records, kept padded.
  for (const std::string_view line : {"atom      1  N", "ATOMS 1", "ENDX", "REMARK   2 RESOLUTION.", "HELIX1"}) {
    if (line.size() < 6) continue;
    EXPECT_EQ(parse(line), Line{Other{padded(std::string(line))}}) << line;
  }
  const std::string long_line(90, 'R');
  EXPECT_EQ(parse(long_line), Line{Other{long_line}});
}

TEST(PdbRecord, RejectsLinesTooShortForAName) {
  struct Case {
    std::string_view line;
    Error error;
    std::string_view text;
  };
  const Case cases[] = {
      {"", {E::InvalidLineLength{3, 0}}, "invalid line length, expected '> 3', found '0'"},
      {"EN", {E::InvalidLineLength{3, 2}}, "invalid line length, expected '> 3', found '2'"},
      {"ATOM", {E::InvalidLineLength{6, 4}}, "invalid line length, expected '> 6', found '4'"},
      {"MODEL", {E::InvalidLineLength{6, 5}}, "invalid line length, expected '> 6', found '5'"},
      {"HOH", {E::InvalidLine{"END", "HOH"}}, "invalid line, expected 'END', found 'HOH'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Error error = parse_error(c.line);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(to_string(error), c.text);
  }
}

TEST(PdbRecord, ReadsEveryColumnOfAnAtom) {
  const Atom crambin{1,      "N",  std::nullopt, "THR",        "A",        1, std::nullopt, 17.047F, 14.099F,
                     3.625F, 1.0F, 13.79F,       std::nullopt, Element::N, 0, false};
  EXPECT_EQ(parse(crambin_n), Line{crambin});
  Atom hetero = crambin;
  hetero.hetero = true;
  EXPECT_EQ(parse("HETATM" + std::string(crambin_n.substr(6))), Line{hetero});

  // 3WIP's ligand: a five-digit serial running into the record name, then alternate location,
  // insertion code, segment identifier, a two-letter element in upper case and a charge.
  const Atom full{16410,   "N1",    "B",  "ACH",  "A",    -301,        "C", 15.487F,
                  16.394F, -5.525F, 0.5F, 36.32F, "SEG1", Element::Cl, -1,  true};
  EXPECT_EQ(parse("HETATM16410  N1 BACH A-301C     15.487  16.394  -5.525  0.50 36.32      SEG1CL1-"), Line{full});
}

TEST(PdbRecord, ReportsWhereAnAtomFieldIsBroken) {
  struct Case {
    std::string line;
    Error error;
    std::string_view text;
  };
  const std::string atom(crambin_n);
  const Case cases[] = {
      {"ATOM      x" + atom.substr(11), {E::ExpectedInt{7, 6, 11}}, "expected int at 7:6-11"},
      {"ATOM       " + atom.substr(11), {E::ExpectedInt{7, 6, 11}}, "expected int at 7:6-11"},
      {atom.substr(0, 22) + "  -+" + atom.substr(26), {E::ExpectedInt{7, 22, 26}}, "expected int at 7:22-26"},
      {atom.substr(0, 38) + "  14.0x9" + atom.substr(46), {E::ExpectedFloat{7, 38, 46}}, "expected float at 7:38-46"},
      {atom.substr(0, 54), {E::ExpectedFloat{7, 54, 60}}, "expected float at 7:54-60"},
      {atom.substr(0, 30), {E::ExpectedFloat{7, 30, 38}}, "expected float at 7:30-38"},
      {atom.substr(0, 76), {E::InvalidSymbol{"", 7}}, "invalid symbol "},
      {atom.substr(0, 76) + "QQ", {E::InvalidSymbol{"QQ", 7}}, "invalid symbol QQ"},
      {atom.substr(0, 78) + " +", {E::ExpectedInt{7, 78, 80}}, "expected int at 7:78-80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Error error = parse_error(c.line);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(to_string(error), c.text);
  }
}

TEST(PdbRecord, AcceptsTheWordsAndSignsFloatsMayCarry) {
  EXPECT_EQ(Line::parse_f32("   +1.5e1 ", 0, 10, 1), 15.0F);
  EXPECT_EQ(Line::parse_f32("-.25", 0, 4, 1), -0.25F);
  EXPECT_EQ(Line::parse_f32("1234.5678901", 0, 12, 1), 1234.5678901F);  // past the short path: from_chars
  EXPECT_TRUE(std::isinf(*Line::parse_f32("-Infinity", 0, 9, 1)));
  EXPECT_TRUE(std::isnan(*Line::parse_f32("NaN", 0, 3, 1)));
  for (const std::string_view bad : {"", "+", "-", ".", "+-1", "1e", "0x1p3", "1.2.3"}) {
    EXPECT_EQ(Line::parse_f32(bad, 0, 6, 3), std::unexpected(Error{E::ExpectedFloat{3, 0, 6}})) << bad;
  }
  EXPECT_EQ(Line::parse_u32("  +42", 0, 5, 1), 42U);
  EXPECT_EQ(Line::parse_u32("-1", 0, 2, 1), std::unexpected(Error{E::ExpectedInt{1, 0, 2}}));
  EXPECT_EQ(Line::parse_u32("4294967296", 0, 10, 1), std::unexpected(Error{E::ExpectedInt{1, 0, 10}}));
  EXPECT_EQ(Line::parse_i32(" -17", 0, 4, 1), -17);
  EXPECT_EQ(Line::parse_opt_i32("    ", 0, 4, 1).value(), std::nullopt);
  EXPECT_EQ(Line::parse_opt_str("  ", 0, 2, 1).value(), std::nullopt);
  EXPECT_EQ(Line::parse_str("ab", 5, 9, 1), "");  // past the end of the line: blank
}

// Coordinates and occupancies in the layouts files use, and near misses of them: every one reads as
// the trimmed text does through from_chars, or fails with the field's offsets.
TEST(PdbRecord, ReadsNumberColumnsInEveryLayout) {
  struct Case {
    std::string_view x;          // columns 31-38
    std::string_view occupancy;  // columns 55-60
    std::optional<float> x_value, occupancy_value;
  };
  const Case cases[] = {
      {"  17.047", "  1.00", 17.047F, 1.0F},
      {" -17.047", " -0.50", -17.047F, -0.5F},
      {"-999.999", "999.99", -999.999F, 999.99F},
      {"9999.999", "-99.99", 9999.999F, -99.99F},
      {"   -.125", "   .50", -0.125F, 0.5F},
      {"    .125", "  -.05", 0.125F, -0.05F},
      {"   1.5  ", "  1.0 ", 1.5F, 1.0F},            // trailing blanks
      {"  1.2345", " 1.000", 1.2345F, 1.0F},         // more decimals
      {"   12345", "    12", 12345.0F, 12.0F},       // no point
      {"12345.67", "123456", 12345.67F, 123456.0F},  // the point elsewhere
      {"\t 17.047", "\t 1.00", 17.047F, 1.0F},       // a tab among the blanks
      {"  +1.000", " +1.00", 1.0F, 1.0F},
      {" - 1.000", "  1.00", std::nullopt, 1.0F},
      {"  1 .000", "  1.00", std::nullopt, 1.0F},
      {"  1.0 0 ", "  1.00", std::nullopt, 1.0F},
      {" --1.000", "  1.00", std::nullopt, 1.0F},
      {"  1.-00", "  1.00", std::nullopt, 1.0F},
      {"  17.:47", "  1.00", std::nullopt, 1.0F},
      {"  1/.047", "  1.00", std::nullopt, 1.0F},
      {"  17.047", " 1 .00", 17.047F, std::nullopt},
      {"  17.047", "  1.0x", 17.047F, std::nullopt},
      {"  17.047", "  1.:0", 17.047F, std::nullopt},
      {"  17.047", "  1./0", 17.047F, std::nullopt},
  };
  const std::string atom(crambin_n);
  for (const Case& c : cases) {
    std::string line = atom;
    line.replace(30, 8, std::string(c.x).append(8 - std::min<std::size_t>(8, c.x.size()), ' ').substr(0, 8));
    line.replace(54, 6, c.occupancy);
    SCOPED_TRACE(line);
    auto read = Line::try_from_atom(line, 7);
    if (!c.x_value) {
      EXPECT_EQ(read, std::unexpected(Error{E::ExpectedFloat{7, 30, 38}}));
    } else if (!c.occupancy_value) {
      EXPECT_EQ(read, std::unexpected(Error{E::ExpectedFloat{7, 54, 60}}));
    } else {
      ASSERT_TRUE(read.has_value());
      EXPECT_EQ(read->x, *c.x_value);
      EXPECT_EQ(read->occupancy, *c.occupancy_value);
    }
  }
  EXPECT_TRUE(std::signbit(Line::try_from_atom(atom.substr(0, 30) + "  -0.000" + atom.substr(38), 7)->x));
}

TEST(PdbRecord, ReadsIntegerColumnsInEveryLayout) {
  struct Case {
    std::string_view serial;   // columns 7-11
    std::string_view res_seq;  // columns 23-26
    std::optional<std::uint32_t> serial_value;
    std::optional<std::int32_t> res_seq_value;
  };
  const Case cases[] = {
      {"    1", "   1", 1U, 1},
      {"99999", "9999", 99999U, 9999},
      {"00042", "-999", 42U, -999},
      {"1    ", "1   ", 1U, 1},     // left-aligned
      {"  1  ", " -1 ", 1U, -1},    // blanks on both sides
      {"\t   7", "\t -7", 7U, -7},  // a tab among the blanks
      {"   +7", "  +7", 7U, 7},
      {"   -0", "  -0", std::nullopt, 0},  // no sign on a serial
      {"   -1", "   1", std::nullopt, 1},
      {" 1 2 ", "   1", std::nullopt, 1},
      {"     ", "   1", std::nullopt, 1},
      {"    /", "   1", std::nullopt, 1},
      {"    :", "   1", std::nullopt, 1},
      {"186a0", "   1", std::nullopt, 1},  // 100000 as the hexadecimal some programs write past 99999
      {"A0000", "   1", std::nullopt, 1},
      {"    1", "   -", 1U, std::nullopt},
      {"    1", "    ", 1U, std::nullopt},
      {"    1", " - 1", 1U, std::nullopt},
      {"    1", "--1 ", 1U, std::nullopt},
      {"    1", "  1-", 1U, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string line(crambin_n);
    line.replace(6, 5, c.serial);
    line.replace(22, 4, c.res_seq);
    SCOPED_TRACE(line);
    auto read = Line::try_from_atom(line, 7);
    if (!c.serial_value) {
      EXPECT_EQ(read, std::unexpected(Error{E::ExpectedInt{7, 6, 11}}));
    } else if (!c.res_seq_value) {
      EXPECT_EQ(read, std::unexpected(Error{E::ExpectedInt{7, 22, 26}}));
    } else {
      ASSERT_TRUE(read.has_value());
      EXPECT_EQ(read->serial, *c.serial_value);
      EXPECT_EQ(read->res_seq, *c.res_seq_value);
    }
  }
}

TEST(PdbRecord, ReadsTheChargeColumn) {
  struct Case {
    std::string_view columns;
    std::optional<std::int32_t> charge;
  };
  const Case cases[] = {{"2+", 2}, {"2-", -2}, {"-2", -2}, {"+2", 2}, {"1 ", 1}, {" 1", 1}, {"  ", std::nullopt}};
  for (const Case& c : cases) {
    const std::string line = std::string(crambin_n.substr(0, 78)) + std::string(c.columns);
    const auto charge = Line::parse_opt_charge(line, 2);
    ASSERT_TRUE(charge.has_value()) << c.columns;
    EXPECT_EQ(*charge, c.charge) << c.columns;
  }
  for (const std::string_view bad : {" +", "- ", "+-", "x1", "1x"}) {
    const std::string line = std::string(crambin_n.substr(0, 78)) + std::string(bad);
    EXPECT_EQ(Line::parse_opt_charge(line, 2), std::unexpected(Error{E::ExpectedInt{2, 78, 80}})) << bad;
  }
}

TEST(PdbRecord, SplitsSeqresNamesIntoThreeColumnChunks) {
  const auto names = [](std::string_view line) { return std::get<Seqres>(parse(line).value).res_names; };
  const Line crambin = parse("SEQRES   1 A   46  THR THR CYS CYS PRO SER ILE VAL ALA ARG SER ASN PHE          ");
  EXPECT_EQ(
      crambin,
      (Line{Seqres{
          1, "A", 46, {"THR", "THR", "CYS", "CYS", "PRO", "SER", "ILE", "VAL", "ALA", "ARG", "SER", "ASN", "PHE"}}}));
  EXPECT_EQ(names("SEQRES   2 B    2  ALA GLY"), (std::vector<std::string>{"ALA", "GLY"}));
  EXPECT_EQ(names("SEQRES   2 B    2    A GLY"), (std::vector<std::string>{"A", "GLY"}));
  EXPECT_EQ(names("SEQRES   2 B    2  ALA     GLY"), (std::vector<std::string>{"ALA"}));
  // Past column 80 the names go on.
  std::string long_line = "SEQRES   1 A   17  ";
  for (int i = 0; i < 17; ++i) long_line += " DA ";
  EXPECT_EQ(names(long_line), std::vector<std::string>(17, "DA"));
  EXPECT_EQ(parse_error("SEQRES   x A   46  THR"), (Error{E::ExpectedInt{7, 7, 10}}));
  EXPECT_EQ(parse_error("SEQRES   1 A       THR"), (Error{E::ExpectedInt{7, 13, 17}}));
}

TEST(PdbRecord, ReadsConectSerialsUpToTheFirstBlankField) {
  const auto serials = [](std::string_view line) { return std::get<Conect>(parse(line).value).serials; };
  using Serials = std::vector<std::uint32_t>;
  EXPECT_EQ(serials("CONECT    1    2    3"), (Serials{1, 2, 3}));
  EXPECT_EQ(serials("CONECT    1         3"), (Serials{1}));
  EXPECT_EQ(serials("CONECT          2"), Serials{});
  EXPECT_EQ(serials("CONECT"), Serials{});
  std::string full = "CONECT";
  for (int i = 1; i <= 16; ++i) full += std::string(i < 10 ? "    " : "   ") + std::to_string(i);
  EXPECT_EQ(serials(full.substr(0, 80)).size(), 14U);  // columns 77-80 are too short for a field
  EXPECT_EQ(serials(full).size(), 16U);                // a longer line is read on
  EXPECT_EQ(parse_error("CONECT    1   x2"), (Error{E::ExpectedInt{7, 11, 16}}));
  EXPECT_EQ(parse_error("CONECT    1   -2"), (Error{E::ExpectedInt{7, 11, 16}}));
}

TEST(PdbRecord, ReadsHelixAndSheetRecordsWithTildesForBlankInsertionCodes) {
  // 1CRN: the class in columns 39-40, a comment, the length in 72-76.
  const Line helix = parse("HELIX    1  H1 ILE A    7  PRO A   19  13/10 CONFORMATION RES 17,19       13    ");
  EXPECT_EQ(helix, (Line{Helix{1, "H1", "ILE", "A", 7, "~", "PRO", "A", 19, "~", 1, 13}}));
  EXPECT_EQ(parse("HELIX    2 2   GLU B   23A THR B   30B"),
            (Line{Helix{2, "2", "GLU", "B", 23, "A", "THR", "B", 30, "B", 0, 0}}));
  // 1AON: the registration of the second strand.
  const Line sheet = parse("SHEET    2   A 2 CYS A 519  ASP A 523 -1  N  THR A 522   O  ASP A   5           ");
  EXPECT_EQ(sheet, (Line{Sheet{2,  "A", 2,     "CYS", "A", 519, "~", "ASP", "A", 523, "~",
                               -1, "N", "THR", "A",   522, "~", "O", "ASP", "A", 5,   "~"}}));
  EXPECT_EQ(
      parse("SHEET    1  S1   THR A   1  CYS A   4"),
      (Line{Sheet{1, "S1", 0, "THR", "A", 1, "~", "CYS", "A", 4, "~", 0, "", "", "", 0, "~", "", "", "", 0, "~"}}));
  EXPECT_EQ(parse_error("HELIX    1  H1 ILE A       PRO A   19"), (Error{E::ExpectedInt{7, 21, 25}}));
  EXPECT_EQ(parse_error("SHEET    1  S1 x THR A   1  CYS A   4"), (Error{E::ExpectedInt{7, 14, 16}}));
  EXPECT_EQ(parse("DBREF  3WIP A  -18   210  UNP    P58154"), (Line{Dbref{"A", -18}}));
}

TEST(PdbRecord, RejectsFieldBoundariesInsideMultiByteCharacters) {
  const std::string atom(crambin_n);
  // "é" is two bytes: placed on columns 6-7 it straddles the end of the record name.
  EXPECT_EQ(parse_error("ATOM \xC3\xA9" + atom.substr(7)), (Error{E::InvalidCharBoundary{7, 6}}));
  EXPECT_EQ(parse_error("REMAR\xC3\xA9 text"), (Error{E::InvalidCharBoundary{7, 6}}));
  // Across the end of the atom name (column 16) and across the start of the element (column 77).
  EXPECT_EQ(parse_error(atom.substr(0, 15) + "\xC3\xA9" + atom.substr(17)), (Error{E::InvalidCharBoundary{7, 16}}));
  EXPECT_EQ(parse_error(atom.substr(0, 75) + "\xC3\xA9" + atom.substr(77)), (Error{E::InvalidCharBoundary{7, 76}}));
  EXPECT_EQ(to_string(Error{E::InvalidCharBoundary{7, 76}}), "field boundary inside a multi-byte character at 7:76");
  // Inside one field a multi-byte character is only text.
  const Line named = parse(atom.substr(0, 12) + " C\xC3\xA9" + atom.substr(16));
  EXPECT_EQ(std::get<Atom>(named.value).name, "C\xC3\xA9");
  EXPECT_EQ(parse("REMARK \xC3\xA9"), Line{Other{padded("REMARK \xC3\xA9")}});
}

TEST(PdbRecord, ShowsErrorsAsDisplayAndDebugTexts) {
  struct Case {
    Error error;
    std::string_view display, debug;
  };
  const Case cases[] = {
      {{E::InvalidConnection{12}},
       "invalid connection for atom index 12, references and atom that does not exist",
       "InvalidConnection(12)"},
      {{E::ChargesMismatch{}}, "atom charges should zip with atoms", "ChargesMismatch"},
      {{E::InvalidLine{"END", "a\"b"}}, "invalid line, expected 'END', found 'a\"b'", R"(InvalidLine("END", "a\"b"))"},
      {{E::InvalidSymbol{"Qq", 4}}, "invalid symbol Qq", R"(InvalidSymbol("Qq", 4))"},
      {{E::ExpectedFloat{3, 30, 38}}, "expected float at 3:30-38", "ExpectedFloat(3, 30, 38)"},
      {{E::InvalidLineLength{6, 4}}, "invalid line length, expected '> 6', found '4'", "InvalidLineLength(6, 4)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(to_string(c.error), c.display);
    EXPECT_EQ(debug_string(c.error), c.debug);
  }
}

TEST(PdbRecord, TracesEachFieldAsThreeDebugEventsOnlyWhenListenedTo) {
  std::vector<std::string> events;
  diagnostics::set_sink(
      [&events](const diagnostics::Event& e) {
        EXPECT_EQ(e.target, "redivi::convert::pdb");
        events.emplace_back(e.message);
      },
      diagnostics::Level::debug);
  const std::string_view dbref = "DBREF  3WIP A  -18   210";
  parse(dbref);
  diagnostics::set_sink([&events](const diagnostics::Event& e) { events.emplace_back(e.message); },
                        diagnostics::Level::warn);
  parse(dbref);
  diagnostics::clear_sink();
  const std::string line = padded(std::string(dbref));
  EXPECT_EQ(events, (std::vector<std::string>{line, std::string(12, ' ') + "^", std::string(12, ' ') + "A", line,
                                              std::string(14, ' ') + "^^^^", std::string(14, ' ') + " -18"}));
}

// Every prefix of a valid record, and every byte replaced, gives a record or an error.
TEST(PdbRecord, SurvivesDamagedLines) {
  const std::string lines[] = {
      std::string(crambin_n) + "2+",
      "HELIX    1  H1 ILE A    7  PRO A   19  13/10 CONFORMATION RES 17,19       13    ",
      "SHEET    2   A 2 CYS A 519  ASP A 523 -1  N  THR A 522   O  ASP A   5           ",
      "SEQRES   1 A   46  THR THR CYS CYS PRO SER ILE VAL ALA ARG SER ASN PHE          ",
      "CONECT    1    2    3    4    5",
      "TER     328      ASN A  46",
      "DBREF  3WIP A  -18   210  UNP    P58154",
  };
  std::size_t errors = 0;
  for (const std::string& line : lines) {
    for (std::size_t n = 0; n <= line.size(); ++n) errors += Line::try_from(line.substr(0, n), 1) ? 0 : 1;
    for (std::size_t i = 0; i < line.size(); ++i) {
      for (const char replacement : {' ', 'x', '\xC3', '\xA9'}) {
        std::string damaged = line;
        damaged[i] = replacement;
        errors += Line::try_from(damaged, 1) ? 0 : 1;
      }
    }
  }
  EXPECT_GT(errors, 0U);
}

}  // namespace
}  // namespace redivi::pdb
