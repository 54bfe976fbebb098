// SDF text to molecules and structures: entries, atom and bond blocks, charges, data items, every error.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "redivi/convert/sdf.hpp"
#include "test_data.hpp"

namespace redivi::sdf {
namespace {

using Type = SDFParseErrorType;

}  // namespace

// Failed expectations show errors by their debug text.
void PrintTo(const SDFParseError& error, std::ostream* out) { *out << debug_string(error); }
void PrintTo(const ConversionError& error, std::ostream* out) { *out << debug_string(error); }

namespace {

// Water with a charge code on atom 2 and one data item. Lines: 1 name, 4 counts, 5-7 atoms, 8-9 bonds,
// 10 "M  END", 11-13 the data item, 14 "$$$$".
constexpr std::string_view water =
    "water\n"
    "     RIRU           3D\n"
    "\n"
    "  3  2  0  0  0  0  0  0  0  0999 V2000\n"
    "    0.0000    0.0000    0.0000 O   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "    0.9570    0.0000    0.0000 H   0  3  0  0  0  0  0  0  0  0  0  0\n"
    "   -0.2400    0.9270    1e-3   H   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "  1  2  1  0  0  0  0\n"
    "  1  3  1  6\n"
    "M  END\n"
    "> <ID>\n"
    "12\n"
    "\n"
    "$$$$\n";

// The water entry with line number (1-based) replaced.
std::string water_with(std::size_t number, std::string_view replacement) {
  std::string text;
  std::size_t start = 0;
  for (std::size_t line = 1; start < water.size(); ++line) {
    const std::size_t end = water.find('\n', start) + 1;
    if (line == number) {
      text.append(replacement).push_back('\n');
    } else {
      text.append(water.substr(start, end - start));
    }
    start = end;
  }
  return text;
}

SDFParseError error_at(std::uint64_t line, SDFParseState state, Type type) { return {line, state, type}; }
const SDFParseState counts_line{SDFParseState::CountsLine{}};
const SDFParseState atom_block{SDFParseState::AtomBlock{Counts{3, 2}}};
const SDFParseState bond_block{SDFParseState::BondBlock{Counts{3, 2}}};
const SDFParseState properties{SDFParseState::PropertiesBlock{}};
const SDFParseState data_items{SDFParseState::DataItems{}};
const SDFParseState header{SDFParseState::HeaderBlock{}};

TEST(SdfEntries, CutsAtTerminatorLinesAndNumbersFirstLines) {
  using Item = std::variant<SDFEntry, SDFParseError>;
  struct Case {
    std::string_view text;
    std::vector<Item> items;
  };
  const Case cases[] = {
      {"", {error_at(1, header, Type::ParseTerminator)}},
      {"a\nb\n", {error_at(1, header, Type::ParseTerminator)}},
      {"$$$$\n", {error_at(1, header, Type::ParseTerminator)}},
      {"a\n$$$$", {SDFEntry{1, "a\n$$$$"}}},
      {"a\n$$$$\nb\nc\n$$$$\n", {SDFEntry{1, "a\n$$$$\n"}, SDFEntry{3, "b\nc\n$$$$\n"}}},
      {"a\n$$$$\n\n", {SDFEntry{1, "a\n$$$$\n"}, error_at(3, header, Type::ParseTerminator)}},
      {"a\n$$$$\nb\n", {SDFEntry{1, "a\n$$$$\n"}, error_at(3, header, Type::ParseTerminator)}},
      {"a\r\n$$$$\r\nb\n$$$$\n", {error_at(1, header, Type::ParseTerminator)}},
      {"a\n$$$$$\n", {error_at(1, header, Type::ParseTerminator)}},
      {"a\n$$$\n$$$$\n", {SDFEntry{1, "a\n$$$\n$$$$\n"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(sdf_entries(c.text), c.items);
  }
}

TEST(SdfEntry, ReadsNameAtomsBondsAndDataItems) {
  const auto molecule = parse_sdf_entry(water);
  ASSERT_TRUE(molecule.has_value()) << to_string(molecule.error());
  const Molecule expected{
      "water",
      {{0, 0, 0, Element::O, 0}, {0.957, 0, 0, Element::H, 1}, {-0.24, 0.927, 0.001, Element::H, 0}},
      {{0, 1, 1, 0}, {0, 2, 1, 6}},
      {{"ID", "12"}}};
  EXPECT_EQ(*molecule, expected);
}

// Every coordinate text must give exactly the double that a correctly rounding parser gives.
TEST(SdfEntry, ReadsCoordinatesAsTheNearestDouble) {
  for (const std::string_view x :
       {"0.0000", "-0.0000", "1.2345", "-9999.9999", "0.1", "123456789.", ".5", "-.5", "+1.5", "1e-3", "1.5E2",
        "0.30000001", "9007199.25", "-inf", "NaN", "4.35", "0.0001"}) {
    SCOPED_TRACE(x);
    std::string line(10 - x.size(), ' ');
    line.append(x).append("    0.0000    0.0000 C   0  0");
    const auto molecule = parse_sdf_entry("name\n\n\n  1  0\n" + line + "\n");
    ASSERT_TRUE(molecule.has_value()) << to_string(molecule.error());
    const std::string_view digits = x.starts_with('+') ? x.substr(1) : x;
    double expected = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), expected);
    const double read = molecule->atoms.at(0).x;
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << read << " != " << expected;
  }
}

TEST(SdfEntry, ReportsEachFailureWithLineStateAndType) {
  struct Case {
    std::size_t line;
    std::string_view replacement;
    SDFParseError error;
  };
  const Case cases[] = {
      {4, "  3  2  0  0  0  0  0  0  0  0999 V3000", error_at(4, counts_line, Type::UnsupportedFormat)},
      {4, "V3000", error_at(4, counts_line, Type::UnsupportedFormat)},
      {4, "  x  2", error_at(4, counts_line, Type::ParseNumAtoms)},
      {4, " -3  2", error_at(4, counts_line, Type::ParseNumAtoms)},
      {4, "  3 +-2", error_at(4, counts_line, Type::ParseNumBonds)},
      {4, "  3", error_at(4, counts_line, Type::LineTooShort)},
      {4, "1 3  2", error_at(4, counts_line, Type::ParseNumAtoms)},
      {5, "    0.00x0    0.0000    0.0000 O   0  0", error_at(5, atom_block, Type::ParseX)},
      {5, "    0.0000          ", error_at(5, atom_block, Type::ParseY)},
      {5, "    0.0000    0.0000    0.0.00 O   0  0", error_at(5, atom_block, Type::ParseZ)},
      {5, "    0.0000    0.0000    0.0000 Qq  0  0", error_at(5, atom_block, Type::ParseSymbol)},
      {5, "    0.0000    0.0000    0.0000 O   0  4", error_at(5, atom_block, Type::ParseCharge)},
      {5, "    0.0000    0.0000    0.0000 O   0  8", error_at(5, atom_block, Type::ParseCharge)},
      {5, "    0.0000    0.0000    0.0000 O   0   ", error_at(5, atom_block, Type::ParseCharge)},
      {5, "    0.0000    0.0000    0.0000 O   0 ", error_at(5, atom_block, Type::LineTooShort)},
      {5, "    0.0000    0.0000    0.0000 O ", error_at(5, atom_block, Type::LineTooShort)},
      {5, "    0.0000    0.0000    0.0000 O   0  0  0  0  0  0  0  0 ", error_at(5, atom_block, Type::LineTooShort)},
      {5, "    0.0000    0.0000    0.0000 O   0  0  0  0  0  0  0  0", error_at(5, atom_block, Type::LineTooShort)},
      {5, "    0.0000    0.0000    0.0000 O   0  0  0  0  0  0  0    1",
       error_at(5, atom_block, Type::ParseAtomAtomMappingNumber)},
      {5, "    0.0000    0.0000    0.0000 O   0  0  0  0  0  0  0   x ",
       error_at(5, atom_block, Type::ParseAtomAtomMappingNumber)},
      {5, "   0.0000\xc3\xa9   0.0000    0.0000 O   0  0", error_at(5, atom_block, Type::LineTooShort)},
      {8, "  1  2  x  0", error_at(8, bond_block, Type::ParseBondType)},
      {8, "  1  2  5  0", error_at(8, bond_block, Type::BondTypeNotAllowed)},
      {8, "  1  2  0  0", error_at(8, bond_block, Type::BondTypeNotAllowed)},
      {8, "  x  2  1  0", error_at(8, bond_block, Type::ParseBondAtom1)},
      {8, "  1  y  1  0", error_at(8, bond_block, Type::ParseBondAtom2)},
      {8, "  1 -2  1  0", error_at(8, bond_block, Type::ParseBondAtom2)},
      {8, "  1  2  1", error_at(8, bond_block, Type::LineTooShort)},
      {8, "  1  2", error_at(8, bond_block, Type::LineTooShort)},
      {10, "M", error_at(10, properties, Type::LineTooShort)},
      {10, "M  CHG", error_at(10, properties, Type::LineTooShort)},
      {10, "M  CHG  x   1  -1", error_at(10, properties, Type::ParsePropertyCHGCount)},
      {10, "M  CHG  0", error_at(10, properties, Type::PropertyCHGCount)},
      {10, "M  CHG  9   1  -1", error_at(10, properties, Type::PropertyCHGCount)},
      {10, "M  CHG  1   x  -1", error_at(10, properties, Type::ParsePropertyCHGIndex)},
      {10, "M  CHG  1   1  -x", error_at(10, properties, Type::ParsePropertyCHGCharge)},
      {10, "M  CHG  1   1 --1", error_at(10, properties, Type::ParsePropertyCHGCharge)},
      {10, "M  CHG  1   1 - 1", error_at(10, properties, Type::ParsePropertyCHGCharge)},
      {10, "M  CHG  1   1", error_at(10, properties, Type::LineTooShort)},
      {10, "M  CHG  2   1  -1   2", error_at(10, properties, Type::LineTooShort)},
      {10, "M  CHG  1   0  -1", error_at(10, properties, Type::PropertyCHGIndex)},
      {10, "M  CHG  1   4  -1", error_at(10, properties, Type::PropertyCHGIndex)},
      {11, "<ID>", error_at(11, data_items, Type::ParseDataKey)},
      {11, "> ID>", error_at(11, data_items, Type::ParseDataKey)},
      {11, "> <ID", error_at(11, data_items, Type::ParseDataKey)},
      {11, "$$$$ ", error_at(11, data_items, Type::ParseDataKey)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.replacement);
    const auto molecule = parse_sdf_entry(water_with(c.line, c.replacement));
    ASSERT_FALSE(molecule.has_value());
    EXPECT_EQ(molecule.error(), c.error) << debug_string(molecule.error());
  }
}

TEST(SdfEntry, FailsOnStructureThatEndsTooEarly) {
  struct Case {
    std::string_view text;
    SDFParseError error;
  };
  const Case cases[] = {
      {"name", error_at(2, header, Type::HeaderLine)},
      {"name\n$$$$", error_at(3, header, Type::HeaderLine)},
      // Without its "M  END" line the block reaches "$$$$" as a property line.
      {"name\n\n\n  1  0\n    0.0000    0.0000    0.0000 C   0  0\n$$$$\n",
       error_at(6, properties, Type::LineTooShort)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto molecule = parse_sdf_entry(c.text);
    ASSERT_FALSE(molecule.has_value());
    EXPECT_EQ(molecule.error(), c.error);
  }
}

TEST(SdfEntry, ReadsAMoleculeWithoutAtoms) {
  // A "no structure" record: its bond block, properties and data items are read as for any molecule.
  const std::string counts = "none\n\n\n  0  0  0  0  0  0  0  0  0  0999 V2000\n";
  const auto molecule = parse_sdf_entry(counts + "M  END\n> <ID>\n7\n\n$$$$\n");
  ASSERT_TRUE(molecule.has_value());
  EXPECT_EQ(molecule->name, "none");
  EXPECT_TRUE(molecule->atoms.empty());
  EXPECT_EQ(molecule->data_items, (std::vector<DataItem>{{"ID", "7"}}));

  // A charge line can only name atoms that exist.
  const auto charged = parse_sdf_entry(counts + "M  CHG  1   1   1\nM  END\n$$$$\n");
  ASSERT_FALSE(charged.has_value());
  EXPECT_EQ(charged.error(), error_at(5, properties, Type::PropertyCHGIndex));

  // Bonds announced without atoms are read, and the structure check then names the missing atoms.
  const auto bonded = from_sdf("none\n\n\n  0  1\n  1  2  1  0\nM  END\n$$$$\n");
  ASSERT_FALSE(bonded.has_value());
  EXPECT_EQ(to_string(bonded.error()), "invalid connectivity between: AtomRef(0) and AtomRef(1)");

  const auto library = from_sdf(counts + "M  END\n$$$$\n" + std::string(water));
  ASSERT_TRUE(library.has_value()) << to_string(library.error());
  ASSERT_EQ(library->first.size(), 2U);
  const TRC& none = library->first[0];
  EXPECT_TRUE(none.topology.symbols.empty());
  EXPECT_EQ(none.residues.labels, (std::vector<std::vector<std::string>>{{"none"}}));
  EXPECT_TRUE(none.check().has_value());
  EXPECT_EQ(library->first[1].topology.symbols.size(), 3U);
}

TEST(SdfEntry, ReturnsWhatWasReadWhenTheLinesRunOut) {
  const auto molecule = parse_sdf_entry("name\n\n\n  3  2\n    1.0000    2.0000    3.0000 N   0  0\n");
  ASSERT_TRUE(molecule.has_value());
  EXPECT_EQ(molecule->atoms, (std::vector<AtomRecord>{{1, 2, 3, Element::N, 0}}));
  EXPECT_TRUE(molecule->bonds.empty());
}

TEST(SdfEntry, ReadsChargeCodesAndChargeLines) {
  const std::string codes =
      "charged\n\n\n  7  0\n"
      "    0.0000    0.0000    0.0000 C   0  0\n    0.0000    0.0000    0.0000 C   0  1\n"
      "    0.0000    0.0000    0.0000 C   0  2\n    0.0000    0.0000    0.0000 C   0  3\n"
      "    0.0000    0.0000    0.0000 C   0  5\n    0.0000    0.0000    0.0000 C   0  6\n"
      "    0.0000    0.0000    0.0000 C   0 +7\n";
  struct Case {
    std::string_view properties;
    std::vector<std::int32_t> charges;
  };
  const Case cases[] = {
      {"", {0, 3, 2, 1, -1, -2, -3}},
      // The first charge line clears the atom block's charges; a later one changes only its own atoms.
      {"M  CHG  1   3  -1\n", {0, 0, -1, 0, 0, 0, 0}},
      {"M  CHG  2   3  -1   7  12\nM  CHG  1   1 +20\n", {20, 0, -1, 0, 0, 0, 12}},
      // A blank byte 8 moves the fields one byte to the left.
      {"M  CHG 1   3  -1\n", {0, 0, -1, 0, 0, 0, 0}},
      {"M  ISO  1   1  13\nM  RAD  1   2   2\n", {0, 3, 2, 1, -1, -2, -3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.properties);
    const auto molecule = parse_sdf_entry(codes + std::string(c.properties) + "M  END\n$$$$\n");
    ASSERT_TRUE(molecule.has_value()) << to_string(molecule.error());
    std::vector<std::int32_t> charges;
    for (const AtomRecord& atom : molecule->atoms) charges.push_back(atom.formal_charge);
    EXPECT_EQ(charges, c.charges);
  }
}

TEST(SdfEntry, ReadsDataItemValuesUpToABlankLine) {
  const std::string head = "name\n\n\n  1  0\n    0.0000    0.0000    0.0000 C   0  0\nM  END\n";
  struct Case {
    std::string_view items;
    std::vector<DataItem> expected;
  };
  const Case cases[] = {
      {"> <ID>\n12\n\n$$$$\n", {{"ID", "12"}}},
      {"> <ID>\n12\n13\n\n$$$$\n", {{"ID", "12\n13"}}},
      {"> <ID>\n12\n$$$$\n", {{"ID", "12\n$$$$\n"}}},
      {"> <ID>\n\n\n> 25 <a b> (x)\n  v \n\n> <ID>\nsecond\n\n$$$$\n", {{"ID", ""}, {"a b", "  v "}, {"ID", "second"}}},
      {">  <>\nx\n\n$$$$\n", {{"", "x"}}},
      {"> <ID>\r\n12\r\n13\r\n\r\n$$$$\r\n", {{"ID", "12\n13"}}},
      {"> <ID>\n12\r\n13\n14\r\n\n$$$$\n", {{"ID", "12\n13\n14"}}},
      {"> <ID>\n12\n13", {{"ID", "12\n13\n"}}},
      {"> <ID>\n12\r\n13\r", {{"ID", "12\n13\r\n"}}},
      {"> <ID>\n", {{"ID", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    const auto molecule = parse_sdf_entry(head + std::string(c.items));
    ASSERT_TRUE(molecule.has_value()) << to_string(molecule.error());
    EXPECT_EQ(molecule->data_items, c.expected);
  }
}

TEST(SdfEntry, SkipsBlankLinesAndAcceptsCarriageReturns) {
  std::string text;
  for (const char c : water_with(6, "   \n    0.9570    0.0000    0.0000 H   0  3  0  0  0  0  0  0  0  0  0  0")) {
    if (c == '\n') text.push_back('\r');
    text.push_back(c);
  }
  const auto molecule = parse_sdf_entry(text);
  ASSERT_TRUE(molecule.has_value()) << to_string(molecule.error());
  EXPECT_EQ(*molecule, *parse_sdf_entry(water));
}

TEST(SdfFromSdf, ReportsParseErrorsAtAbsoluteLinesWithTheirText) {
  struct Case {
    std::string text;
    SDFParseError error;
    std::string_view message;
  };
  const Case cases[] = {
      {"", error_at(1, header, Type::ParseTerminator),
       "error parsing SDF: line 1 state HeaderBlock: could not find correctly formatted terminator"},
      {std::string(water) + water_with(9, "  1  3"), error_at(23, bond_block, Type::LineTooShort),
       "error parsing SDF: line 23 state BondBlock: line shorter than the expcted length"},
      {std::string(water) + water_with(10, "M  CHG  0"), error_at(24, properties, Type::PropertyCHGCount),
       "error parsing SDF: line 24 state PropertiesBlock: HG count out of range"},
      // A terminator fault at the end is found before the entries are read.
      {water_with(4, "V3000") + std::string(water) + "\n", error_at(29, header, Type::ParseTerminator),
       "error parsing SDF: line 29 state HeaderBlock: could not find correctly formatted terminator"},
  };
  for (const Case& c : cases) {
    const auto result = from_sdf(c.text);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), ConversionError{ConversionError::ParseError{c.error}});
    EXPECT_EQ(to_string(result.error()), c.message);
  }
}

// A structure of the given atoms and bonds, each a line of the SDF blocks, and data items.
std::string entry(std::string_view atoms, std::string_view bonds, std::string_view items) {
  const auto count = [](std::string_view lines) { return std::count(lines.begin(), lines.end(), '\n'); };
  std::string counts = "  " + std::to_string(count(atoms)) + "  " + std::to_string(count(bonds));
  return "mol\n\n\n" + counts + "\n" + std::string(atoms) + std::string(bonds) + "M  END\n" + std::string(items) +
         "$$$$\n";
}

constexpr std::string_view three_atoms =
    "    1.0000    0.0000    0.0000 C   0  0\n"
    "    2.0000    0.0000    0.0000 C   0  0\n"
    "    3.0000    0.0000    0.0000 O   0  0\n";

TEST(SdfMolecule, BuildsOneResidueLigInOneChain) {
  const auto result = from_sdf(water);
  ASSERT_TRUE(result.has_value()) << to_string(result.error());
  TRC expected;
  expected.topology.symbols = {Element::O, Element::H, Element::H};
  expected.topology.geometry = {0, 0, 0, 0.957f, 0, 0, -0.24f, 0.927f, 0.001f};
  expected.topology.formal_charges = std::vector<std::int32_t>{0, 1, 0};
  expected.topology.connectivity = std::vector<Bond>{{0, 1, BondOrder::Single}, {0, 2, BondOrder::Single}};
  expected.topology.stereochemistry = std::vector<Stereochemistry>{Stereochemistry::NONE, Stereochemistry::Down};
  expected.topology.fragments = std::vector<Fragment>{{0, 1, 2}};
  expected.topology.fragment_formal_charges = std::vector<std::int32_t>{1};
  expected.residues.residues = {{0, 1, 2}};
  expected.residues.seqs = {"LIG"};
  expected.residues.seq_ns = {0};
  expected.residues.insertion_codes = {""};
  expected.residues.labeled = std::vector<ResidueRef>{0};
  expected.residues.labels = std::vector<std::vector<std::string>>{{"water"}};
  expected.chains.chains = {{0}};
  ASSERT_EQ(result->first.size(), 1u);
  EXPECT_EQ(result->first[0], expected);
  EXPECT_EQ(result->second, (std::vector<std::optional<DataBlocks>>{DataBlocks{{}, {{"ID", "12"}}, std::nullopt}}));
}

TEST(SdfMolecule, MapsBondTypesAndStereoCodes) {
  struct Case {
    std::string_view bond;
    std::expected<std::pair<BondOrder, Stereochemistry>, ConversionError> expected;
  };
  const auto error = [](auto value) { return std::unexpected(ConversionError{value}); };
  const Case cases[] = {
      {"  1  2  1  0", std::pair{BondOrder::Single, Stereochemistry::NONE}},
      {"  1  2  2  1", std::pair{BondOrder::Double, Stereochemistry::Up}},
      {"  1  2  3  3", std::pair{BondOrder::Triple, Stereochemistry::CisOrTrans}},
      {"  1  2  4  4", std::pair{BondOrder::Ring, Stereochemistry::Either}},
      {"  1  2  1  6", std::pair{BondOrder::Single, Stereochemistry::Down}},
      {"  1  2  1   ", std::pair{BondOrder::Single, Stereochemistry::NONE}},
      {"  1  2  1  x", std::pair{BondOrder::Single, Stereochemistry::NONE}},
      {"  1  2  1  2", error(ConversionError::UnexpectedStereochemistry{2})},
      {"  1  2  1  5", error(ConversionError::UnexpectedStereochemistry{5})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bond);
    const auto result = from_sdf(entry(three_atoms, std::string(c.bond) + "\n", ""));
    ASSERT_EQ(result.has_value(), c.expected.has_value());
    if (!result) {
      EXPECT_EQ(result.error(), c.expected.error());
      continue;
    }
    const Topology& topology = result->first[0].topology;
    EXPECT_EQ(topology.connectivity->at(0), (Bond{0, 1, c.expected->first}));
    EXPECT_EQ(topology.stereochemistry->at(0), c.expected->second);
  }
  const ConversionError stereo{ConversionError::UnexpectedStereochemistry{5}};
  EXPECT_EQ(to_string(stereo), "Unexpected stereochemistry value 5");
  EXPECT_EQ(to_string(ConversionError{ConversionError::UnexpectedBondOrder{9}}), "Unexpected bond order 9");
}

TEST(SdfMolecule, ReportsBondsToMissingAtomsThroughTheStructureCheck) {
  for (std::string_view bond : {"  0  2  1  0", "  1  4  1  0"}) {
    SCOPED_TRACE(bond);
    const auto result = from_sdf(entry(three_atoms, std::string(bond) + "\n", ""));
    ASSERT_FALSE(result.has_value());
    const auto* invalid = std::get_if<ConversionError::InvalidTRC>(&result.error().value);
    ASSERT_NE(invalid, nullptr) << debug_string(result.error());
    const auto* topology = std::get_if<TRCError::InvalidTopology>(&invalid->error.value);
    ASSERT_NE(topology, nullptr) << debug_string(result.error());
    EXPECT_TRUE(std::holds_alternative<TopologyError::InvalidConnectivity>(topology->error.value));
    EXPECT_EQ(to_string(result.error()), to_string(invalid->error));
  }
}

TEST(SdfMolecule, ReadsTetheredAtomGroups) {
  struct Case {
    std::string_view items;
    std::optional<std::vector<std::vector<std::uint32_t>>> groups;  // nothing: the value is refused
  };
  const Case cases[] = {
      {"> <TETHERED ATOMS>\n1,2,3\n4,5\n\n", std::vector<std::vector<std::uint32_t>>{{1, 2, 3}, {4, 5}}},
      {"> <TETHERED ATOMS>\n+7\n\n> <TETHERED ATOMS>\n1, 2\n\n", std::vector<std::vector<std::uint32_t>>{{7}}},
      {"> <TETHERED ATOMS>\n1, 2\n\n", std::nullopt},
      {"> <TETHERED ATOMS>\n1,,2\n\n", std::nullopt},
      {"> <TETHERED ATOMS>\n-1\n\n", std::nullopt},
      {"> <TETHERED ATOMS>\n4294967296\n\n", std::nullopt},
      {"> <TETHERED ATOMS>\n\n", std::nullopt},
      {"> <TETHERED ATOMS>\n1\n", std::nullopt},  // the value runs into "$$$$" and ends in a line feed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    const auto result = from_sdf(entry(three_atoms, "", c.items));
    if (!c.groups) {
      ASSERT_FALSE(result.has_value());
      EXPECT_EQ(result.error(), ConversionError{ConversionError::ConstraintsError{}});
      EXPECT_EQ(to_string(result.error()), "error parsing constraints");
      continue;
    }
    ASSERT_TRUE(result.has_value()) << to_string(result.error());
    ASSERT_TRUE(result->second[0].has_value());
    EXPECT_EQ(result->second[0]->constraints.tethered_atoms, *c.groups);
  }
}

TEST(SdfMolecule, TakesOutTheFirstSmilesItem) {
  struct Case {
    std::string_view items;
    std::optional<DataBlocks> extras;
  };
  const Case cases[] = {
      {"", std::nullopt},
      {"> <PUBCHEM_OPENEYE_CAN_SMILES>\nCCO\n\n", std::nullopt},
      {"> <A>\na\n\n> <SMILES>\nCCO\n\n> <B>\nb\n\n> <SMILES>\nC\n\n",
       DataBlocks{{}, {{"A", "a"}, {"B", "b"}, {"SMILES", "C"}}, "CCO"}},
      {"> <smiles>\nCCO\n\n", DataBlocks{{}, {{"smiles", "CCO"}}, std::nullopt}},
      {"> <TETHERED ATOMS>\n1\n\n> <SMILES>\nCCO\n\n", DataBlocks{{{{1}}}, {}, "CCO"}},
      {"> <MY TETHERED ATOMS>\n1\n\n", DataBlocks{{}, {{"MY TETHERED ATOMS", "1"}}, std::nullopt}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    const auto result = from_sdf(entry(three_atoms, "", c.items));
    ASSERT_TRUE(result.has_value()) << to_string(result.error());
    EXPECT_EQ(result->second[0], c.extras);
  }
}

TEST(SdfFromSdf, GivesOneStructurePerEntryOrOnlyTheFirstFailure) {
  const std::string good = entry(three_atoms, "  1  2  1  0\n", "");
  const std::string bad_stereo = entry(three_atoms, "  1  2  1  2\n", "");
  const std::string bad_tether = entry(three_atoms, "", "> <TETHERED ATOMS>\nx\n\n");
  const auto three = from_sdf(good + water_with(1, "second") + good);
  ASSERT_TRUE(three.has_value());
  EXPECT_EQ(three->first.size(), 3u);
  EXPECT_EQ(three->second.size(), 3u);
  EXPECT_EQ(three->first[1].residues.labels->at(0).at(0), "second");

  const auto third_fails = from_sdf(good + good + bad_stereo + bad_tether);
  ASSERT_FALSE(third_fails.has_value());
  EXPECT_EQ(third_fails.error(), ConversionError{ConversionError::UnexpectedStereochemistry{2}});

  // Every entry is read before a conversion failure counts.
  const auto parse_wins = from_sdf(bad_stereo + good + water_with(5, "x"));
  ASSERT_FALSE(parse_wins.has_value());
  EXPECT_EQ(parse_wins.error(),
            (ConversionError{ConversionError::ParseError{error_at(2 * 10 + 5, atom_block, Type::LineTooShort)}}));
}

// Every prefix of an entry and every byte replaced gives a value or an error that names a line of the input.
TEST(SdfFromSdf, DamagedInputGivesAValueOrAnErrorInsideTheText) {
  const std::string text = std::string(water) + water_with(10, "M  CHG  2   1  -1   2   4");
  const auto line_count = static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  std::vector<std::string> inputs;
  for (std::size_t length = 0; length < text.size(); ++length) inputs.push_back(text.substr(0, length));
  for (std::size_t at = 0; at < text.size(); ++at) {
    for (const char replacement : {' ', 'x', '\n', '\xc3'}) {
      std::string damaged = text;
      damaged[at] = replacement;
      inputs.push_back(damaged);
    }
  }
  for (const std::string& input : inputs) {
    const auto result = from_sdf(input);
    if (result) continue;
    SCOPED_TRACE(input);
    EXPECT_FALSE(to_string(result.error()).empty());
    if (const auto* parse = std::get_if<ConversionError::ParseError>(&result.error().value)) {
      EXPECT_GE(parse->error.line_number, 1u);
      EXPECT_LE(parse->error.line_number, line_count);
    }
  }
}

TEST(SdfErrors, HaveTheirDebugForms) {
  const SDFParseError error = error_at(5, atom_block, Type::ParseX);
  EXPECT_EQ(debug_string(ConversionError{ConversionError::ParseError{error}}),
            "ParseError(SDFParseError { line_number: 5, state: AtomBlock(Counts { num_atoms: 3, num_bonds: 2 }), "
            "ty: ParseX })");
  EXPECT_EQ(to_string(SDFParseState{SDFParseState::Done{}}), "Done");
  EXPECT_EQ(to_string(Type::NoResults), "there should be at least an error result");
  EXPECT_EQ(to_string(Type::ParseConstraints), "could not parse constraints");
  EXPECT_EQ(debug_string(Type::ParseAtomAtomMappingNumber), "ParseAtomAtomMappingNumber");
  EXPECT_EQ(debug_string(SDFParseState{SDFParseState::BondBlock{Counts{0, 1}}}),
            "BondBlock(Counts { num_atoms: 0, num_bonds: 1 })");
  EXPECT_EQ(debug_string(SDFParseState{SDFParseState::DataItems{}}), "DataItems");
  EXPECT_EQ(debug_string(ConversionError{ConversionError::InvalidTRC{{TRCError::AtomDoesNotExist{4}}}}),
            "InvalidTRC(AtomDoesNotExist(AtomRef(4)))");
  EXPECT_EQ(debug_string(ConversionError{ConversionError::UnexpectedStereochemistry{5}}),
            "UnexpectedStereochemistry(5)");
}

}  // namespace
}  // namespace redivi::sdf

namespace redivi::sdf {
namespace {

// Files whose content the reader refuses, with the reason: V3000 blocks, query atoms ("*"), charge code 4
// (a doublet radical in the atom block), carriage returns after "$$$$" and a block without "$$$$".
TEST(SdfCorpus, EveryFileReadsOrFailsWithTheErrorItsContentCallsFor) {
  const std::vector<std::pair<std::string_view, std::string_view>> refused = {
      {"03F.v3000.sdf", "line 4 state CountsLine: unsupported format, only V2000 is supported by this parser"},
      {"chebi_15469.v3k.mol", "line 1 state HeaderBlock: could not find correctly formatted terminator"},
      {"esters.prop_name_trunc.sdf", "line 1 state HeaderBlock: could not find correctly formatted terminator"},
      {"esters_end.sdf", "line 1 state HeaderBlock: could not find correctly formatted terminator"},
      {"fuzz_ant-2026-00770.sdf", "line 1 state HeaderBlock: could not find correctly formatted terminator"},
      {"inchi_Samples.sdf", "line 5 state AtomBlock: could not parse symbol"},
      {"pubchem-hard-set.sdf.gz", "line 5192 state AtomBlock: could not parse charge"},
  };
  const std::vector<std::string> names = test::corpus_files("sdf");
  ASSERT_FALSE(names.empty()) << "neither the shared corpus nor tests/data holds SDF files";
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const auto text = test::read_corpus_file("sdf/" + name);
    ASSERT_TRUE(text.has_value());
    const auto result = from_sdf(*text);
    const auto known = std::find_if(refused.begin(), refused.end(), [&](const auto& r) { return r.first == name; });
    if (known != refused.end()) {
      ASSERT_FALSE(result.has_value());
      EXPECT_EQ(to_string(result.error()), "error parsing SDF: " + std::string(known->second));
    } else {
      ASSERT_TRUE(result.has_value()) << to_string(result.error());
      EXPECT_EQ(result->first.size(), sdf_entries(*text).size());
    }
  }
}

TEST(SdfCorpus, ReadsPubchemChargesBondsAndItems) {
  const auto text = test::read_corpus_file("sdf/mols.1000.sdf.gz");
  if (!text) GTEST_SKIP() << "mols.1000.sdf.gz is only in the shared corpus";
  const auto result = from_sdf(*text);
  ASSERT_TRUE(result.has_value()) << to_string(result.error());
  EXPECT_EQ(result->first.size(), 1000u);
  std::size_t charged = 0, stereo = 0, items = 0;
  for (std::size_t i = 0; i < result->first.size(); ++i) {
    const Topology& topology = result->first[i].topology;
    for (const std::int32_t charge : *topology.formal_charges) charged += charge != 0;
    for (const Stereochemistry s : *topology.stereochemistry) stereo += s != Stereochemistry::NONE;
    if (result->second[i]) items += result->second[i]->data_items.size();
  }
  EXPECT_GT(charged, 0u);
  EXPECT_GT(stereo, 0u);
  EXPECT_GT(items, 1000u);
}

}  // namespace
}  // namespace redivi::sdf
