// PDB records written as fixed-column text: every column of ATOM, HELIX, SHEET, SEQRES and CONECT.
#include <gtest/gtest.h>

#include <string>

#include "redivi/convert/pdb.hpp"

namespace redivi::pdb {
namespace {

std::string text_of(Line line) {
  auto text = line.try_to_string();
  EXPECT_TRUE(text.has_value()) << (text ? "" : text.error().message);
  return text.value_or("");
}

// The worked example: nitrogen 0 of ALA 1 in chain A.
Atom nitrogen() {
  Atom atom;
  atom.serial = 0;
  atom.name = "N";
  atom.res_name = "ALA";
  atom.chain_id = "A";
  atom.res_seq = 1;
  atom.i_code = "~";
  atom.x = 1.5F;
  atom.y = -2.25F;
  atom.z = 10.0F;
  atom.occupancy = 1.0F;
  atom.temp_factor = 0.0F;
  atom.element = Element::N;
  return atom;
}

TEST(PdbRecordText, WritesEveryColumnOfAnAtomLine) {
  const std::string text = text_of({nitrogen()});
  EXPECT_EQ(text,
            "ATOM  "
            "    0"
            " "
            " N  "
            " "
            "ALA"
            " "
            "A"
            "   1"
            " "
            "   "
            "   1.500"
            "  -2.250"
            "  10.000"
            "  1.00"
            "  0.00"
            "      "
            "    "
            " N"
            "  ");
  EXPECT_EQ(text.size(), 80U);

  Atom hetero = nitrogen();
  hetero.hetero = true;
  EXPECT_EQ(text_of({hetero}), "HETATM" + text.substr(6));
}

TEST(PdbRecordText, AlignsAndCutsAtomFields) {
  struct Case {
    void (*change)(Atom&);
    std::size_t first, last;  // 1-based columns
    std::string_view expected;
  };
  const Case cases[] = {
      {[](Atom& a) { a.name = "HG12"; }, 13, 16, "HG12"},
      {[](Atom& a) { a.name = "CG1"; }, 13, 16, " CG1"},
      {[](Atom& a) { a.name = ""; }, 13, 16, "    "},
      {[](Atom& a) { a.alt_loc = "B"; }, 17, 17, "B"},
      {[](Atom& a) { a.alt_loc = "BC"; }, 17, 17, "B"},
      {[](Atom& a) { a.res_name = "CA"; }, 18, 20, " CA"},
      {[](Atom& a) { a.res_name = "ABCD"; }, 18, 20, "ABC"},
      {[](Atom& a) { a.chain_id = ""; }, 22, 22, " "},
      {[](Atom& a) { a.chain_id = "XY"; }, 22, 22, "X"},
      {[](Atom& a) { a.res_seq = -999; }, 23, 26, "-999"},
      {[](Atom& a) { a.i_code = "B"; }, 27, 27, "B"},
      {[](Atom& a) { a.i_code.reset(); }, 27, 27, " "},
      {[](Atom& a) { a.i_code = "BC"; }, 27, 27, "B"},
      {[](Atom& a) { a.x = 0.0005F; }, 31, 38, "   0.001"},  // the float lies just above 0.0005
      {[](Atom& a) { a.x = 1.0005F; }, 31, 38, "   1.000"},  // and just below 1.0005
      {[](Atom& a) { a.y = -0.0004F; }, 39, 46, "  -0.000"},
      {[](Atom& a) { a.z = -999.9999F; }, 47, 55, "-1000.000"},
      {[](Atom& a) { a.occupancy = 0.255F; }, 55, 60, "  0.25"},
      {[](Atom& a) { a.temp_factor = 99.999F; }, 61, 66, "100.00"},
      {[](Atom& a) { a.seg_id = "A1"; }, 73, 76, "A1  "},
      {[](Atom& a) { a.seg_id = "SEGMENT"; }, 73, 76, "SEGM"},
      {[](Atom& a) { a.element = Element::Fe; }, 77, 78, "Fe"},
      {[](Atom& a) { a.element = Element::X; }, 77, 78, " X"},
      {[](Atom& a) { a.charge = 2; }, 79, 80, "2+"},
      {[](Atom& a) { a.charge = -1; }, 79, 80, "1-"},
      {[](Atom& a) { a.charge = 10; }, 79, 80, "10"},
      {[](Atom& a) { a.charge = -2147483647 - 1; }, 79, 80, "21"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    Atom atom = nitrogen();
    c.change(atom);
    const std::string text = text_of({atom});
    ASSERT_GE(text.size(), c.last);
    EXPECT_EQ(text.substr(c.first - 1, c.last - c.first + 1), c.expected);
  }
}

TEST(PdbRecordText, WidensTheAtomLineForLongNumbersButNeverCutsThem) {
  Atom atom = nitrogen();
  atom.serial = 123456;
  atom.res_seq = -1000;
  atom.x = -12345.5F;
  const std::string text = text_of({atom});
  EXPECT_EQ(text.substr(0, 32), "ATOM  123456  N   ALA A-1000    ");
  EXPECT_EQ(text.substr(32, 10), "-12345.500");
  EXPECT_EQ(text.size(), 84U);
}

TEST(PdbRecordText, CutsAtomTextByCharactersNotBytes) {
  Atom atom = nitrogen();
  atom.chain_id = "\xc3\x84";            // one two-byte character
  atom.res_name = "\xc3\x84\xc3\x96Z!";  // four characters, the fourth cut
  const std::string text = text_of({atom});
  EXPECT_EQ(text.substr(17, 8), "\xc3\x84\xc3\x96Z \xc3\x84");
  EXPECT_EQ(text.size(), 83U);
}

TEST(PdbRecordText, RefusesAtomsThatHaveNoTextForm) {
  struct Case {
    void (*change)(Atom&);
    std::string_view message;
  };
  const Case cases[] = {
      {[](Atom& a) { a.name = "CA123"; }, "atom name \"CA123\" is longer than the 4 bytes of columns 13-16"},
      {[](Atom& a) { a.name = "\xc3\x84\xc3\x96\xc3\x9c"; },
       "atom name \"\xc3\x84\xc3\x96\xc3\x9c\" is longer than the 4 bytes of columns 13-16"},
      {[](Atom& a) { a.name = "\n"; }, "atom name \"\\n\" of serial 0 holds a line feed"},
      {[](Atom& a) { a.name = "CA\n"; }, "atom name \"CA\\n\" of serial 0 holds a line feed"},
      {[](Atom& a) { a.name = "\xc3\x84\n"; }, "atom name \"\xc3\x84\\n\" of serial 0 holds a line feed"},
      {[](Atom& a) { a.name = "HG1\n"; }, "atom name \"HG1\\n\" of serial 0 holds a line feed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Atom atom = nitrogen();
    c.change(atom);
    const auto text = Line{atom}.try_to_string();
    ASSERT_FALSE(text.has_value());
    EXPECT_EQ(to_string(text.error()), c.message);
  }
}

Helix helix_5_to_12() {
  Helix helix;
  helix.serial = 1;
  helix.helix_id = "H1";
  helix.init_res_name = "ALA";
  helix.init_chain_id = "A";
  helix.init_seq_num = 5;
  helix.init_i_code = "~";
  helix.end_res_name = "LEU";
  helix.end_chain_id = "A";
  helix.end_seq_num = 12;
  helix.end_i_code = "~";
  helix.helix_class = 1;
  helix.length = 8;
  return helix;
}

TEST(PdbRecordText, WritesEveryColumnOfAHelixLine) {
  EXPECT_EQ(text_of({helix_5_to_12()}),
            "HELIX    1 H1  ALA A    5  LEU A   12  1" + std::string(31, ' ') + "    8    ");

  Helix blank = helix_5_to_12();
  blank.helix_class = 0;
  blank.length = 0;
  EXPECT_EQ(text_of({blank}), "HELIX    1 H1  ALA A    5  LEU A   12" + std::string(43, ' '));
}

TEST(PdbRecordText, CutsHelixFieldsToTheirColumns) {
  struct Case {
    void (*change)(Helix&);
    std::size_t first, last;
    std::string_view expected;
  };
  const Case cases[] = {
      {[](Helix& h) { h.serial = 1234; }, 8, 10, "123"},
      {[](Helix& h) { h.serial = -5; }, 8, 10, " -5"},
      {[](Helix& h) { h.helix_id = "ABCD"; }, 12, 14, "ABC"},
      {[](Helix& h) { h.init_res_name = "ABCD"; }, 16, 18, "ABC"},
      {[](Helix& h) { h.init_chain_id = "XY"; }, 20, 20, "X"},
      {[](Helix& h) { h.init_chain_id = ""; }, 20, 20, " "},
      {[](Helix& h) { h.init_seq_num = 12345; }, 22, 25, "1234"},
      {[](Helix& h) { h.init_seq_num = -12; }, 22, 25, " -12"},
      {[](Helix& h) { h.init_i_code = "B"; }, 26, 26, "B"},
      {[](Helix& h) { h.init_i_code = ""; }, 26, 26, " "},
      {[](Helix& h) { h.init_i_code = "~B"; }, 26, 26, "~"},
      {[](Helix& h) { h.end_i_code = "CD"; }, 38, 38, "C"},
      {[](Helix& h) { h.end_seq_num = -12345; }, 34, 37, "-123"},
      {[](Helix& h) { h.helix_class = 10; }, 39, 40, "10"},
      {[](Helix& h) { h.length = 1234567; }, 72, 76, "12345"},
      {[](Helix& h) { h.end_res_name = "\xc3\x84"; }, 28, 30, "\xc3\x84 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    Helix helix = helix_5_to_12();
    c.change(helix);
    const std::string text = text_of({helix});
    ASSERT_EQ(text.size(), 80U);
    EXPECT_EQ(text.substr(c.first - 1, c.last - c.first + 1), c.expected);
  }
}

Sheet strand_2() {
  Sheet sheet;
  sheet.strand = 2;
  sheet.sheet_id = "S1";
  sheet.num_strands = 3;
  sheet.init_res_name = "VAL";
  sheet.init_chain_id = "B";
  sheet.init_seq_num = 20;
  sheet.init_i_code = "A";
  sheet.end_res_name = "ILE";
  sheet.end_chain_id = "B";
  sheet.end_seq_num = 25;
  sheet.end_i_code = "~";
  sheet.sense = -1;
  sheet.cur_atom = "N";
  sheet.cur_res_name = "VAL";
  sheet.cur_chain_id = "B";
  sheet.cur_res_seq = 21;
  sheet.cur_i_code = "~";
  sheet.prev_atom = "O";
  sheet.prev_res_name = "GLY";
  sheet.prev_chain_id = "B";
  sheet.prev_res_seq = 5;
  sheet.prev_i_code = "C";
  return sheet;
}

TEST(PdbRecordText, WritesEveryColumnOfASheetLine) {
  EXPECT_EQ(text_of({strand_2()}),
            "SHEET    2 S1  3 VAL B  20A ILE B  25 -1 N   VAL B  21  O   GLY B   5C" + std::string(10, ' '));

  Sheet blank = strand_2();
  blank.num_strands = 0;
  blank.sense = 0;
  blank.cur_atom = blank.cur_res_name = blank.cur_chain_id = blank.prev_atom = blank.prev_res_name =
      blank.prev_chain_id = "";
  blank.cur_res_seq = blank.prev_res_seq = 0;
  blank.prev_i_code = "~";
  EXPECT_EQ(text_of({blank}), "SHEET    2 S1    VAL B  20A ILE B  25  0" + std::string(40, ' '));
}

TEST(PdbRecordText, RefusesHelixAndSheetTextWhoseCutsSplitACharacter) {
  Helix helix = helix_5_to_12();
  helix.init_res_name = "AB\xc3\x84";  // the third column gets the first byte of a two-byte character
  auto text = Line{helix}.try_to_string();
  ASSERT_FALSE(text.has_value());
  EXPECT_EQ(text.error(), WriteError{"HELIX text is not valid UTF-8: a column cut splits a multi-byte character"});

  Sheet sheet = strand_2();
  sheet.init_chain_id = "\xc3\x84";
  text = Line{sheet}.try_to_string();
  ASSERT_FALSE(text.has_value());
  EXPECT_EQ(to_string(text.error()), "SHEET text is not valid UTF-8: a column cut splits a multi-byte character");
}

TEST(PdbRecordText, WritesSeqresNamesAfterTheCount) {
  Seqres seqres{1, "A", 27, {"ALA", "GLY", "SER", "ALA", "GLY"}};
  EXPECT_EQ(text_of({seqres}), "SEQRES   1 A   27  ALA GLY SER ALA GLY" + std::string(10, ' '));
  EXPECT_EQ(text_of({seqres}).size(), 48U);

  seqres.res_names.assign(13, "HOH");
  EXPECT_EQ(text_of({seqres}).size(), 80U);

  seqres = {12, "AB", 12345, {"A"}};
  EXPECT_EQ(text_of({seqres}), "SEQRES  12 AB 12345  A" + std::string(10, ' '));
}

TEST(PdbRecordText, WritesConectSerialsInFiveColumnsEach) {
  EXPECT_EQ(text_of({Conect{{0, 12}}}), "CONECT    0   12");
  EXPECT_EQ(text_of({Conect{{123456, 7}}}), "CONECT123456    7");
}

// These kinds are never written by the writer; their text is read back by the same columns.
TEST(PdbRecordText, WritesTheOtherRecordKindsInTheColumnsTheyAreReadFrom) {
  struct Case {
    Line line;
    std::string_view expected;
  };
  const Case cases[] = {
      {{Conect{}}, "CONECT"},
      {{Conect{{1, 2, 3}}}, "CONECT    1    2    3"},
      {{Dbref{"A", -3}}, "DBREF       A   -3"},
      {{Ter{7, "GLY", "B", 12}}, "TER       7      GLY B  12"},
      {{Ter{7, "GLYX", "BC", 12}}, "TER       7      GLY B  12"},
      {{Other{"REMARK   2 RESOLUTION."}}, "REMARK   2 RESOLUTION."},
      {{Model{}}, "MODEL "},
      {{EndModel{}}, "ENDMDL"},
      {{End{}}, "END"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(text_of(c.line), c.expected);
  }
}

TEST(PdbRecordText, TextOfEveryKindReadsBackAsTheSameRecord) {
  Atom atom = nitrogen();
  atom.serial = 99999;
  atom.name = "HG12";
  atom.alt_loc = "A";
  atom.i_code = "B";
  atom.seg_id = "SEG1";
  atom.charge = -2;
  atom.hetero = true;
  Atom plain = nitrogen();
  plain.i_code.reset();
  const Line lines[] = {{plain},
                        {atom},
                        {helix_5_to_12()},
                        {strand_2()},
                        {Seqres{1, "A", 2, {"ALA", "GLY"}}},
                        {Conect{{1, 2, 3}}},
                        {Conect{}},
                        {Dbref{"A", -3}},
                        {Ter{7, "GLY", "B", 12}},
                        {Other{"REMARK   2 RESOLUTION." + std::string(58, ' ')}},
                        {Model{}},
                        {EndModel{}},
                        {End{}}};
  for (const Line& line : lines) {
    const std::string text = text_of(line);
    SCOPED_TRACE(text);
    const auto read = Line::try_from(text, 1);
    ASSERT_TRUE(read.has_value()) << to_string(read.error());
    EXPECT_EQ(*read, line);
  }
}

TEST(PdbRecordText, DebugTextQuotesTheMessageLikeEveryErrorDoes) {
  EXPECT_EQ(debug_string(WriteError{"name \"X\\Y\" too long"}), "WriteError(\"name \\\"X\\\\Y\\\" too long\")");
  // Line breaks, control bytes and broken UTF-8 in a name are escaped, not copied.
  EXPECT_EQ(debug_string(WriteError{"name \"A\nB\x01\xC3\""}), "WriteError(\"name \\\"A\\nB\\u{1}\\xc3\\\"\")");
}

}  // namespace
}  // namespace redivi::pdb
