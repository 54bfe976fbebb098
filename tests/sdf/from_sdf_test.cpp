// Whole SDF texts to structures: each entry's structure and extras stay together, and the first failure
// in the file is the one reported, whether it lies in a structure or in data items.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "redivi/convert/sdf.hpp"

namespace redivi::sdf {

void PrintTo(const ConversionError& error, std::ostream* out);

namespace {

// An entry named name with the given atom lines, bond lines and data item lines. Its lines: 1 name,
// 4 counts, then atoms, bonds, "M  END", the items and "$$$$".
std::string entry(std::string_view name, std::string_view atoms, std::string_view bonds, std::string_view items) {
  const auto count = [](std::string_view lines) {
    return std::to_string(std::count(lines.begin(), lines.end(), '\n'));
  };
  std::string counts = "  " + count(atoms) + "  " + count(bonds);
  counts.insert(0, 6 - counts.size(), ' ');
  return std::string(name) + "\n\n\n" + counts + "\n" + std::string(atoms) + std::string(bonds) + "M  END\n" +
         std::string(items) + "$$$$\n";
}

// An atom line with x in columns 1-10 and the element symbol.
std::string atom_line(std::string_view x, std::string_view symbol) {
  std::string line = std::string(10 - x.size(), ' ') + std::string(x) + "    0.0000    0.0000 " + std::string(symbol);
  line.resize(36, ' ');
  return line + "0  0\n";
}

// Entries of very different shapes in a row, so that a list or item carried over from one molecule to
// the next shows.
TEST(SdfFromSdf, KeepsEachEntrysStructureAndItemsTogether) {
  const std::string ethanol =
      entry("ethanol-with-a-long-name", atom_line("1.0000", "C") + atom_line("2.0000", "C") + atom_line("3.0000", "O"),
            "  1  2  1  0\n  2  3  1  0\n", "> <ID>\n1\n\n> <SMILES>\nCCO\n\n> <NOTE>\nfirst line\nsecond line\n\n");
  const std::string unnamed = entry("", atom_line("0.2500", "C"), "", "");
  const std::string tethered =
      entry("t", atom_line("-1.5000", "N") + atom_line("0.5000", "Na"), "", "> <TETHERED ATOMS>\n1,2\n\n");
  const std::string carriage_returns = entry("crlf", atom_line("7.0000", "Cl"), "", "> <K>\r\na\r\nb\r\n\r\n");
  const std::string smiles_only = entry("s", atom_line("0.0000", "H"), "", "> <SMILES>\n[H]\n\n");
  const auto result = from_sdf(ethanol + unnamed + tethered + carriage_returns + smiles_only + ethanol);
  ASSERT_TRUE(result.has_value()) << to_string(result.error());
  ASSERT_EQ(result->first.size(), 6u);
  ASSERT_EQ(result->second.size(), 6u);

  struct Expected {
    std::string_view name;
    std::vector<Element> symbols;
    std::vector<float> x;
    std::size_t bonds;
    std::optional<DataBlocks> extras;
  };
  const DataBlocks ethanol_extras{{}, {{"ID", "1"}, {"NOTE", "first line\nsecond line"}}, "CCO"};
  const Expected expected[] = {
      {"ethanol-with-a-long-name", {Element::C, Element::C, Element::O}, {1, 2, 3}, 2, ethanol_extras},
      {"", {Element::C}, {0.25f}, 0, std::nullopt},
      {"t", {Element::N, Element::Na}, {-1.5f, 0.5f}, 0, DataBlocks{{{{1, 2}}}, {}, std::nullopt}},
      {"crlf", {Element::Cl}, {7}, 0, DataBlocks{{}, {{"K", "a\nb"}}, std::nullopt}},
      {"s", {Element::H}, {0}, 0, std::nullopt},
      {"ethanol-with-a-long-name", {Element::C, Element::C, Element::O}, {1, 2, 3}, 2, ethanol_extras},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    const TRC& trc = result->first[i];
    const Expected& e = expected[i];
    EXPECT_EQ(trc.residues.labels->at(0), std::vector<std::string>{std::string(e.name)});
    EXPECT_EQ(trc.topology.symbols, e.symbols);
    ASSERT_EQ(trc.topology.geometry.size(), 3 * e.x.size());
    for (std::size_t atom = 0; atom < e.x.size(); ++atom) EXPECT_EQ(trc.topology.geometry[3 * atom], e.x[atom]);
    EXPECT_EQ(trc.topology.connectivity->size(), e.bonds);
    EXPECT_EQ(trc.residues.residues.at(0).size(), e.symbols.size());
    EXPECT_EQ(result->second[i], e.extras);
  }
}

// One entry converted on its own gives what the whole text gives for it, failures included.
TEST(SdfFromSdf, EachEntryConvertsOnItsOwnAsInTheWholeText) {
  const std::string atoms = atom_line("1.0000", "C") + atom_line("2.0000", "O");
  const std::string entries[] = {
      entry("a", atoms, "  1  2  2  0\n", "> <ID>\n1\n\n> <SMILES>\nC=O\n\n> <ISO SMILES>\nC=O\n\n> <Z>\nz\n\n"),
      entry("b", atoms, "", "> <TETHERED ATOMS>\n1\n2\n\n> <SMILES>\nC.O\n\n"),
      entry("c", atoms, "", "> <SMILES>\nC.O\n\n"),
      entry("d", atoms, "", "> <TETHERED ATOMS>\n1,x\n\n"),
      entry("e", atoms, "  1  2  1  2\n", ""),
  };
  for (const std::string& text : entries) {
    SCOPED_TRACE(text);
    auto molecule = parse_sdf_entry(text);
    ASSERT_TRUE(molecule.has_value());
    const auto alone = std::move(*molecule).try_into();
    const auto whole = from_sdf(text);
    ASSERT_EQ(alone.has_value(), whole.has_value());
    if (!alone) {
      EXPECT_EQ(alone.error(), whole.error());
      continue;
    }
    EXPECT_EQ(alone->first, whole->first.at(0));
    EXPECT_EQ(alone->second, whole->second.at(0));
  }
}

TEST(SdfFromSdf, ReportsTheFirstFailureAcrossStructuresAndItems) {
  const std::string atoms = atom_line("1.0000", "C") + atom_line("2.0000", "C") + atom_line("3.0000", "O");
  // 10 lines each.
  const std::string good = entry("good", atoms, "  1  2  1  0\n", "");
  const std::string bad_stereo = entry("stereo", atoms, "  1  2  1  2\n", "");
  // 14 lines, the broken item header on line 13.
  const std::string bad_item = entry("item", atoms, "  1  2  1  0\n", "> <ID>\n1\n\nnot an item\n");
  // The atom line on line 5 is too short.
  const std::string bad_atom = entry("atom", "    1.0000    0.0000\n", "", "");
  // 12 lines.
  const std::string bad_tether = entry("tether", atoms, "", "> <TETHERED ATOMS>\nx\n\n");

  const auto parse_error = [](std::uint64_t line, SDFParseState state, SDFParseErrorType type) {
    return ConversionError{ConversionError::ParseError{SDFParseError{line, state, type}}};
  };
  const SDFParseState items{SDFParseState::DataItems{}};
  const SDFParseState atom_block{SDFParseState::AtomBlock{Counts{1, 0}}};
  struct Case {
    std::string text;
    ConversionError error;
  };
  const Case cases[] = {
      {good + bad_item + bad_atom, parse_error(10 + 13, items, SDFParseErrorType::ParseDataKey)},
      {good + bad_atom + bad_item, parse_error(10 + 5, atom_block, SDFParseErrorType::LineTooShort)},
      {bad_stereo + good + bad_item, parse_error(20 + 13, items, SDFParseErrorType::ParseDataKey)},
      {bad_tether + good + bad_item, parse_error(22 + 13, items, SDFParseErrorType::ParseDataKey)},
      {good + bad_tether + bad_stereo, ConversionError{ConversionError::ConstraintsError{}}},
      {good + bad_stereo + bad_tether, ConversionError{ConversionError::UnexpectedStereochemistry{2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto result = from_sdf(c.text);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.error);
  }
}

}  // namespace
}  // namespace redivi::sdf
