// XYZ text: the reader of the first frame, its errors and the writer's fixed columns.
#include "redivi/convert/xyz.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>

#include "test_data.hpp"

namespace redivi::xyz {
namespace {

Error parse_atom_count(std::string reason) { return Error{Error::ParseAtomCount{std::move(reason)}}; }
Error parse_atom_line(std::string reason) { return Error{Error::ParseAtomLine{std::move(reason)}}; }
const Error missing_atom_line{Error::MissingAtomLine{}};
const Error missing_comment{Error::MissingComment{"line is empty"}};

// A topology with only its symbols and geometry: every optional field absent.
Topology topology_of(std::vector<Element> symbols, std::vector<float> geometry) {
  Topology topology;
  topology.symbols = std::move(symbols);
  topology.geometry = std::move(geometry);
  return topology;
}

struct ErrorCase {
  std::string_view text;
  Error error;
};

void expect_errors(std::span<const ErrorCase> cases) {
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.text);
    const auto topology = from_xyz(c.text);
    ASSERT_FALSE(topology.has_value());
    EXPECT_EQ(topology.error(), c.error) << debug_string(topology.error());
  }
}

TEST(XyzReader, ReadsTheAnnouncedAtomsInLineOrder) {
  struct Case {
    std::string_view text;
    std::vector<Element> symbols;
    std::vector<float> geometry;
  };
  const Case cases[] = {
      {"2\nwater\nO 0.0 0.0 0.117\nH 0.0 0.757 -0.467\n", {Element::O, Element::H}, {0, 0, 0.117f, 0, 0.757f, -0.467f}},
      {"2\r\nwater\r\nO 1 2 3\r\nH 4 5 6\r\n", {Element::O, Element::H}, {1, 2, 3, 4, 5, 6}},
      {"  +2 \t\nc\n\tcl 1 2 3 extra columns\nCA  4\t5  6", {Element::Cl, Element::Ca}, {1, 2, 3, 4, 5, 6}},
      {"1\ncomment\nX -1 -2 -3\nthis line is not read\n", {Element::X}, {-1, -2, -3}},
      {"0\nempty\nanything at all", {}, {}},
      {"0\nno line feed", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto topology = from_xyz(c.text);
    ASSERT_TRUE(topology.has_value()) << debug_string(topology.error());
    EXPECT_EQ(topology->symbols, c.symbols);
    EXPECT_EQ(topology->geometry, c.geometry);
    EXPECT_EQ(topology->schema_version, current_schema_version());
    EXPECT_EQ(*topology, topology_of(c.symbols, c.geometry));
  }
}

TEST(XyzReader, ParsesTheCountAsAnUnsignedInteger) {
  const ErrorCase cases[] = {
      {"", parse_atom_count("cannot parse integer from empty string")},
      {"\nwater\n", parse_atom_count("cannot parse integer from empty string")},
      {" \r\nwater\n", parse_atom_count("cannot parse integer from empty string")},
      {"2 atoms\nwater\n", parse_atom_count("invalid digit found in string")},
      {"+\nwater\n", parse_atom_count("invalid digit found in string")},
      {"-\nwater\n", parse_atom_count("invalid digit found in string")},
      {"-1\nwater\n", parse_atom_count("invalid digit found in string")},
      {"+-1\nwater\n", parse_atom_count("invalid digit found in string")},
      {"++1\nwater\n", parse_atom_count("invalid digit found in string")},
      {"1.0\nwater\n", parse_atom_count("invalid digit found in string")},
      {"1 2\nwater\n", parse_atom_count("invalid digit found in string")},
      {"x99999999999999999999\nwater\n", parse_atom_count("invalid digit found in string")},
      {"18446744073709551616\nwater\n", parse_atom_count("number too large to fit in target type")},
      {"99999999999999999999x\nwater\n", parse_atom_count("number too large to fit in target type")},
      // The largest count parses; it must not allocate for atoms the text cannot hold.
      {"18446744073709551615\nwater\nC 0 0 0\n", missing_atom_line},
  };
  expect_errors(cases);
}

TEST(XyzReader, RequiresACommentLine) {
  const ErrorCase cases[] = {
      {"1", missing_comment},
      {"1\n", missing_comment},
      {"1\n \t\r\nC 0 0 0\n", missing_comment},
      {"0\n\n", missing_comment},
  };
  expect_errors(cases);
}

TEST(XyzReader, ReportsMissingAtomLines) {
  const ErrorCase cases[] = {
      {"3\nwater\nO 0 0 0\nH 1 0 0\n", missing_atom_line},
      {"2\nwater\nO 0 0 0\n\nH 1 0 0\n", missing_atom_line},
      {"1\nwater\n  \r\n", missing_atom_line},
      {"1\nwater\nO 0 0\n", missing_atom_line},
      {"1\nwater\nO\n", missing_atom_line},
      {"1\nwater", missing_atom_line},
  };
  expect_errors(cases);
}

TEST(XyzReader, ReportsUnreadableSymbolsAndCoordinates) {
  const ErrorCase cases[] = {
      {"1\nc\nQq 0 0 0\n", parse_atom_line("invalid atom symbol Qq")},
      {"1\nc\nH1 0 0 0\n", parse_atom_line("invalid atom symbol H1")},
      {"1\nc\n1 N 0 0 0\n", parse_atom_line("invalid atom symbol 1")},
      {"1\nc\nC 0 0 z\n", parse_atom_line("invalid float literal")},
      // Each coordinate is read before the next is looked for.
      {"1\nc\nC 0 y\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC +-1 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC ++1 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC + 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 1e 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 1,5 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 0x1 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC . 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC nan(1) 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC infinit 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 0 0 nan(\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 1.5.2 0 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 0 1-2 0\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 0 0 -\n", parse_atom_line("invalid float literal")},
      {"1\nc\nC 0 0 1e5x\n", parse_atom_line("invalid float literal")},
  };
  expect_errors(cases);
}

TEST(XyzReader, ReadsEveryDecimalLiteralAsTheNearestFloat) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  struct Case {
    std::string_view literal;
    float value;
  };
  const Case cases[] = {
      {"+1.5", 1.5f},
      {"-2e3", -2000.0f},
      {"1E+2", 100.0f},
      {".5", 0.5f},
      {"1.", 1.0f},
      {"INF", inf},
      {"-Infinity", -inf},
      {"+inf", inf},
      // Beyond the float range: to an infinity or to zero, never an error.
      {"1e40", inf},
      {"-1e40", -inf},
      {"0.00001e44", inf},
      {"123456789012345678901234567890123456789012", inf},
      {"1e99999999999999999999", inf},
      {"1e-50", 0.0f},
      {"-1e-50", -0.0f},
      {"1e-99999999999999999999", 0.0f},
      {"100000e-51", 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.literal);
    const std::string text = "1\nc\nC " + std::string(c.literal) + " 0 0\n";
    const auto topology = from_xyz(text);
    ASSERT_TRUE(topology.has_value()) << debug_string(topology.error());
    EXPECT_EQ(topology->geometry[0], c.value);
    EXPECT_EQ(std::signbit(topology->geometry[0]), std::signbit(c.value));
  }
  for (std::string_view nan : {"nan", "NaN", "-NAN"}) {
    const auto topology = from_xyz("1\nc\nC 0 " + std::string(nan) + " 0\n");
    ASSERT_TRUE(topology.has_value()) << nan;
    EXPECT_TRUE(std::isnan(topology->geometry[1])) << nan;
  }
}

// Every prefix of a valid text, and the text with any byte replaced by a blank or a letter, gives
// a consistent topology or an error.
TEST(XyzReader, StaysSoundOnDamagedText) {
  const std::string text = "3\r\nwater\nO 0.0 0.0 0.117\nH +0.0 0.757 -4.67e-1 9\n\tH -0 -.757 -inf";
  auto expect_sound = [](std::string_view damaged) {
    const auto topology = from_xyz(damaged);
    if (topology) { EXPECT_EQ(topology->geometry.size(), 3 * topology->symbols.size()) << damaged; }
  };
  for (std::size_t length = 0; length <= text.size(); ++length) expect_sound(std::string_view(text).substr(0, length));
  for (std::size_t at = 0; at < text.size(); ++at) {
    for (const char replacement : {' ', 'x', '\n', '\0'}) {
      std::string damaged = text;
      damaged[at] = replacement;
      expect_sound(damaged);
    }
  }
  EXPECT_EQ(from_xyz(text)->symbols.size(), 3u);
}

TEST(XyzError, ShowsEachValueWithItsReason) {
  struct Case {
    Error error;
    std::string_view display, debug;
  };
  const Case cases[] = {
      {Error{Error::MissingAtomCount{}}, "missing atom count", "MissingAtomCount"},
      {parse_atom_count("invalid digit found in string"), "parsing atom count: invalid digit found in string",
       "ParseAtomCount(\"invalid digit found in string\")"},
      {missing_comment, "missing comment: line is empty", "MissingComment(\"line is empty\")"},
      {missing_atom_line, "missing atom line", "MissingAtomLine"},
      {parse_atom_line("invalid atom symbol \"Q\\"), "parsing atom line: invalid atom symbol \"Q\\",
       "ParseAtomLine(\"invalid atom symbol \\\"Q\\\\\")"},
      // A symbol is shown as read; its debug text escapes a broken UTF-8 byte and a control character.
      {parse_atom_line("invalid atom symbol C\xc3"), "parsing atom line: invalid atom symbol C\xc3",
       R"(ParseAtomLine("invalid atom symbol C\xc3"))"},
      {parse_atom_line("invalid atom symbol \x1b"), "parsing atom line: invalid atom symbol \x1b",
       R"(ParseAtomLine("invalid atom symbol \u{1b}"))"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(to_string(c.error), c.display);
    EXPECT_EQ(debug_string(c.error), c.debug);
  }
}

TEST(XyzWriter, WritesSymbolsAndFiveDecimalsInFixedColumns) {
  struct Case {
    std::vector<Element> symbols;
    std::vector<float> geometry;
    std::string_view text;
  };
  const Case cases[] = {
      {{Element::C}, {1, 2, 3}, "1\nvyr molecule\nC     1.00000    2.00000    3.00000"},
      {{}, {}, "0\nvyr molecule\n"},
      {{Element::Cl, Element::H},
       {-0.5f, 0.000004f, -0.000006f, 1234.5f, 0, 0},
       "2\nvyr molecule\nCl   -0.50000    0.00000   -0.00001\nH  1234.50000    0.00000    0.00000"},
      // The exact value of the float is rounded, and wide numbers are not cut.
      {{Element::O},
       {0.1f, 1e20f, -123456.0f},
       "1\nvyr molecule\nO     0.10000 100000002004087734272.00000 -123456.00000"},
      // Geometry beyond three values per atom is not written.
      {{Element::N}, {1, 2, 3, 4}, "1\nvyr molecule\nN     1.00000    2.00000    3.00000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto text = to_xyz(topology_of(c.symbols, c.geometry));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, c.text);
  }
}

// Every coordinate is its exact value rounded half to even at 5 decimals, whatever its size.
TEST(XyzWriter, RoundsEveryFloatLikeFixedNotation) {
  std::vector<float> geometry = {0.015625f, 0.046875f, -1.015625f, 999999999.0f, 1e9f, -0.0f, 0.000005f, 5e-6f};
  for (std::uint32_t bits = 0; bits < 0x7f800000; bits += 0x1234b) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    geometry.push_back(value);
    geometry.push_back(-value);
  }
  geometry.resize(geometry.size() + 2 - (geometry.size() + 2) % 3);
  const auto text = to_xyz(topology_of(std::vector<Element>(geometry.size() / 3, Element::C), geometry));
  ASSERT_TRUE(text.has_value());
  std::string expected = std::to_string(geometry.size() / 3) + "\nvyr molecule\n";
  for (std::size_t i = 0; i < geometry.size(); ++i) {
    if (i % 3 == 0) expected += i == 0 ? "C " : "\nC ";
    char number[64];
    const std::size_t width = static_cast<std::size_t>(
        std::to_chars(number, number + sizeof number, geometry[i], std::chars_format::fixed, 5).ptr - number);
    expected.append(1 + 10 - std::min<std::size_t>(width, 10), ' ').append(number, width);
  }
  EXPECT_EQ(*text, expected);
}

TEST(XyzWriter, RefusesAGeometryMissingCoordinates) {
  const auto text = to_xyz(topology_of({Element::O, Element::H}, {0, 0, 0, 1, 0}));
  ASSERT_FALSE(text.has_value());
  EXPECT_EQ(text.error(), (TopologyError{TopologyError::InvalidGeometryLength{5, 2}}));
  EXPECT_FALSE(to_xyz(topology_of({Element::O}, {})).has_value());
}

// Reading back what was written gives the same symbols and the coordinates to 5 decimals,
// and writing it again gives the same text.
void expect_round_trip(const Topology& topology) {
  const auto written = to_xyz(topology);
  ASSERT_TRUE(written.has_value());
  const auto read = from_xyz(*written);
  ASSERT_TRUE(read.has_value()) << debug_string(read.error());
  EXPECT_EQ(read->symbols, topology.symbols);
  ASSERT_EQ(read->geometry.size(), topology.geometry.size());
  for (std::size_t i = 0; i < topology.geometry.size(); ++i) {
    const float before = topology.geometry[i];
    const float after = read->geometry[i];
    if (std::isnan(before)) {
      EXPECT_TRUE(std::isnan(after)) << i;
    } else if (std::isinf(before)) {
      EXPECT_EQ(after, before) << i;
    } else {
      EXPECT_NEAR(after, before, 5e-6 + std::abs(before) * 1e-7) << i;
    }
  }
  EXPECT_EQ(to_xyz(*read), written);
}

TEST(XyzFiles, ReadTheFirstFrameOrReportWhyNot) {
  struct Case {
    std::string_view file;
    std::size_t atoms;
    std::optional<Error> error;
  };
  const Case cases[] = {
      {"fuzz_cve-2022-41793.xyz", 1, {}},
      {"fuzz_cve-2022-42885.xyz", 2, {}},
      {"ligs3d.xyz", 36, {}},
      {"rdkit_charged_test20.xyz", 35, {}},
      {"test2d.xyz", 12, {}},
      {"test_coordinates.xyz", 5, {}},
      // Atom names or lone pairs stand where symbols belong.
      {"frame0.xyz", 0, parse_atom_line("invalid atom symbol H1")},
      {"elements.xyz", 0, parse_atom_line("invalid atom symbol LP")},
      {"mini.xyz", 0, parse_atom_line("invalid atom symbol A")},
      // Atom lines begin with a serial number.
      {"2igd_924wat_tinker.xyz", 0, parse_atom_line("invalid atom symbol 1")},
  };
  if (!test::has_full_corpus()) GTEST_SKIP() << "the XYZ files are only in the shared corpus";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto text = test::read_corpus_file("xyz/" + std::string(c.file));
    ASSERT_TRUE(text.has_value());
    const auto topology = from_xyz(*text);
    if (c.error) {
      ASSERT_FALSE(topology.has_value());
      EXPECT_EQ(topology.error(), *c.error);
      continue;
    }
    ASSERT_TRUE(topology.has_value()) << debug_string(topology.error());
    EXPECT_EQ(topology->symbols.size(), c.atoms);
    EXPECT_EQ(topology->geometry.size(), 3 * c.atoms);
    expect_round_trip(*topology);
  }
}

TEST(XyzFiles, KeepUnusualValuesThroughARoundTrip) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  expect_round_trip(
      topology_of({Element::Og, Element::X, Element::U, Element::Kr},
                  {-inf, inf, nan, 3.4e38f, -1e-6f, 0.000005f, 99999.99999f, -0.0f, 12.345678f, 7, 8, 9}));
}

}  // namespace
}  // namespace redivi::xyz
