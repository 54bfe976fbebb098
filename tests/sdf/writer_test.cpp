// Structures written as SDF text: blocks, charges, data items, tethered groups, refusals, corpus round trips.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "redivi/convert/sdf.hpp"
#include "test_data.hpp"

namespace redivi::sdf {

void PrintTo(const SDFWriteErrorType& error, std::ostream* out) { *out << debug_string(error); }

namespace {

// n carbons on the x axis in one residue of one chain, without labels, charges or bonds.
TRC carbons(std::size_t n) {
  TRC trc;
  trc.topology.symbols.assign(n, Element::C);
  for (std::size_t i = 0; i < n; ++i) trc.topology.geometry.insert(trc.topology.geometry.end(), {float(i), 0, 0});
  Residue atoms(n);
  std::iota(atoms.begin(), atoms.end(), AtomRef{0});
  trc.residues.residues = {atoms};
  trc.residues.seqs = {"LIG"};
  trc.residues.seq_ns = {0};
  trc.residues.insertion_codes = {""};
  trc.chains.chains = {{0}};
  return trc;
}

std::expected<std::string, SDFWriteErrorType> write(const TRC& trc, std::optional<DataBlocks> extras = {}) {
  std::string out;
  const auto written = to_sdf(std::span{&trc, 1}, std::span{&extras, 1}, out);
  if (!written) return std::unexpected(written.error());
  return out;
}

// The lines of the text from line first (0-based) on, count of them.
std::vector<std::string> lines(std::string_view text, std::size_t first, std::size_t count) {
  std::vector<std::string> all;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    all.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return {all.begin() + static_cast<std::ptrdiff_t>(first), all.begin() + static_cast<std::ptrdiff_t>(first + count)};
}

TEST(SdfWriter, WritesBlockItemsAndTetheredGroups) {
  const auto read = from_sdf(
      "ethanol\n  prog\ncomment\n  3  2  0  0  0  0  0  0  0  0999 V2000\n"
      "   -1.5000    0.2500    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
      "    0.0000   -0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
      "    1.2345   12.0000 -100.0000 O   0  5  0  0  0  0  0  0  0  0  0  0\n"
      "  1  2  1  1\n  2  3  2  0\nM  END\n"
      "> <SMILES>\nCCO\n\n> <TETHERED ATOMS>\n1,2\n3\n\n> <NOTE>\ntwo\nlines\n\n$$$$\n");
  ASSERT_TRUE(read.has_value()) << to_string(read.error());
  std::string out;
  ASSERT_TRUE(to_sdf(read->first, read->second, out).has_value());
  EXPECT_EQ(out,
            "ethanol\n     RIRU           3D\n\n"
            "  3  2  0  0  0  0  0  0  0  0999 V2000\n"
            "   -1.5000    0.2500    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
            "    0.0000   -0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
            "    1.2345   12.0000 -100.0000 O   0  5  0  0  0  0  0  0  0  0  0  0\n"
            "  1  2  1  1     0  0\n"
            "  2  3  2  0     0  0\n"
            "M  END\n"
            "> <TETHERED ATOMS>\n1,2\n3\n\n"
            "> <NOTE>\ntwo\nlines\n\n"
            "$$$$\n");
}

TEST(SdfWriter, WritesSmallChargesAsCodesAndOthersOnChargeLines) {
  struct Case {
    std::vector<std::int32_t> charges;
    std::vector<std::string> codes;  // the charge code field of each atom line
    std::vector<std::string> charge_lines;
  };
  const Case cases[] = {
      {{-3, -2, -1, 0, 1, 2, 3}, {"  7", "  6", "  5", "  0", "  3", "  2", "  1"}, {}},
      {{0, 4}, {"  0", "  0"}, {"M  CHG  2   1   0   2   4"}},
      {{-15, 1}, {"  0", "  0"}, {"M  CHG  2   1 -15   2   1"}},
      {{0, 0, 0, 0, 0, 0, 0, 0, -4},
       {"  0", "  0", "  0", "  0", "  0", "  0", "  0", "  0", "  0"},
       {"M  CHG  8   1   0   2   0   3   0   4   0   5   0   6   0   7   0   8   0", "M  CHG  1   9  -4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.charges.size());
    TRC trc = carbons(c.charges.size());
    trc.topology.formal_charges = c.charges;
    const auto out = write(trc);
    ASSERT_TRUE(out.has_value()) << to_string(out.error());
    std::vector<std::string> codes;
    for (const std::string& line : lines(*out, 4, c.charges.size())) codes.push_back(line.substr(36, 3));
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(lines(*out, 4 + c.charges.size(), c.charge_lines.size() + 1).back(), "M  END");
    EXPECT_EQ(lines(*out, 4 + c.charges.size(), c.charge_lines.size()), c.charge_lines);
  }
}

TEST(SdfWriter, RefusesStructuresItCannotWrite) {
  TRC too_charged = carbons(2);
  too_charged.topology.formal_charges = std::vector<std::int32_t>{0, 16};
  TRC most_negative = carbons(1);
  most_negative.topology.formal_charges = std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::min()};
  TRC quadruple = carbons(2);
  quadruple.topology.connectivity = std::vector<Bond>{{0, 1, BondOrder::Quadruple}};
  TRC two_label_lists = carbons(2);
  two_label_lists.residues.residues = {{0}, {1}};
  two_label_lists.residues.seqs = {"A", "B"};
  two_label_lists.residues.seq_ns = {1, 2};
  two_label_lists.residues.insertion_codes = {"", ""};
  two_label_lists.residues.labeled = std::vector<ResidueRef>{0, 1};
  two_label_lists.residues.labels = std::vector<std::vector<std::string>>{{"a"}, {"b"}};
  two_label_lists.chains.chains = {{0, 1}};
  struct Case {
    const TRC& trc;
    SDFWriteErrorType error;
    std::string_view text;
    std::size_t lines_written;
  };
  const Case cases[] = {
      {too_charged, {SDFWriteErrorType::ChargeFormat{}}, "could not format charge", 4},
      {most_negative, {SDFWriteErrorType::ChargeFormat{}}, "could not format charge", 4},
      {quadruple,
       {SDFWriteErrorType::UnsupportedBondOrder{BondOrder::Quadruple}},
       "unsupported bond order: Quadruple",
       6},
      {two_label_lists,
       {SDFWriteErrorType::TooManyResidues{}},
       "only 1 residue expected when doing a single conversion to SDF",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string out;
    const std::optional<DataBlocks> extras;
    const auto written = to_sdf(std::span{&c.trc, 1}, std::span{&extras, 1}, out);
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(written.error(), c.error);
    EXPECT_EQ(to_string(written.error()), c.text);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), static_cast<std::ptrdiff_t>(c.lines_written));
  }
}

TEST(SdfWriter, RefusesStructuresThatFailTheirCheck) {
  TRC broken = carbons(2);
  broken.topology.geometry.pop_back();
  const auto checked = broken.check();
  ASSERT_FALSE(checked.has_value());
  const auto out = write(broken);
  ASSERT_FALSE(out.has_value());
  EXPECT_EQ(out.error(), SDFWriteErrorType{SDFWriteErrorType::BadTRC{checked.error()}});
  EXPECT_EQ(to_string(out.error()), "bad TRC: " + debug_string(checked.error()));
}

TEST(SdfWriter, NamesTheCauseInTheDebugTextOfAnError) {
  using E = SDFWriteErrorType;
  struct Case {
    E error;
    std::string_view debug;
  };
  const Case cases[] = {
      {{E::BadTRC{{TRCError::InvalidChains{ChainsError::LabelsMissing}}}}, "BadTRC(InvalidChains(LabelsMissing))"},
      {{E::ChargeFormat{}}, "ChargeFormat"},
      {{E::UnsupportedBondOrder{BondOrder::Quadruple}}, "UnsupportedBondOrder(Quadruple)"},
  };
  for (const Case& c : cases) EXPECT_EQ(debug_string(c.error), c.debug);
}

TEST(SdfWriter, TakesTheTitleFromTheOnlyResidueLabelList) {
  using Labels = std::optional<std::vector<std::vector<std::string>>>;
  struct Case {
    Labels labels;
    std::string_view title;
  };
  const Case cases[] = {
      {std::nullopt, ""},
      {std::vector<std::vector<std::string>>{{"  name with blanks ", "second"}}, "  name with blanks "},
      {std::vector<std::vector<std::string>>{std::vector<std::string>{}}, ""},
  };
  for (const Case& c : cases) {
    TRC trc = carbons(1);
    if (c.labels) trc.residues.labeled = std::vector<ResidueRef>{0};
    trc.residues.labels = c.labels;
    const auto out = write(trc);
    ASSERT_TRUE(out.has_value()) << to_string(out.error());
    EXPECT_EQ(lines(*out, 0, 1)[0], c.title);
  }
  TRC unlabelled = carbons(2);
  unlabelled.residues.residues = {{0}, {1}};
  unlabelled.residues.seqs = {"A", "B"};
  unlabelled.residues.seq_ns = {1, 2};
  unlabelled.residues.insertion_codes = {"", ""};
  unlabelled.chains.chains = {{0, 1}};
  const auto out = write(unlabelled);
  ASSERT_TRUE(out.has_value()) << to_string(out.error());
  EXPECT_EQ(lines(*out, 0, 1)[0], "");
}

TEST(SdfWriter, WritesCoordinatesWithFourDecimalsOfTheExactFloat) {
  struct Case {
    float value;
    std::string_view field;
  };
  const Case cases[] = {
      {1.5f, "    1.5000"},      {-2.25f, "   -2.2500"},     {0.0f, "    0.0000"},     {-0.0f, "   -0.0000"},
      {0.00005f, "    0.0000"},  {0.00015f, "    0.0002"},   {1.23455f, "    1.2345"}, {1.00005f, "    1.0000"},
      {99999.99f, "99999.9922"}, {-9999.999f, "-9999.9990"}, {INFINITY, "       inf"}, {-NAN, "      -nan"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    TRC trc = carbons(1);
    trc.topology.geometry = {c.value, c.value, c.value};
    const auto out = write(trc);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(lines(*out, 4, 1)[0].substr(0, 3 * c.field.size()),
              std::string(c.field) + std::string(c.field) + std::string(c.field));
  }
}

TEST(SdfWriter, RefusesCountsAndCoordinatesWiderThanTheirColumns) {
  using E = SDFWriteErrorType;
  TRC many_bonds = carbons(2);
  many_bonds.topology.connectivity = std::vector<Bond>(1000, Bond{0, 1, BondOrder::Single});
  TRC far = carbons(3);
  far.topology.geometry[7] = 100000.0f;
  TRC far_below = carbons(3);
  far_below.topology.geometry[3] = -10000.0f;
  struct Case {
    const TRC& trc;
    E error;
    std::string_view text;
  };
  const Case cases[] = {
      {carbons(1000),
       {E::CountsFormat{1, 1000, 0}},
       "could not format counts of structure 1: 1000 atoms and 0 bonds, at most 999 each"},
      {many_bonds,
       {E::CountsFormat{1, 2, 1000}},
       "could not format counts of structure 1: 2 atoms and 1000 bonds, at most 999 each"},
      {far,
       {E::CoordinateFormat{1, 2}},
       "could not format coordinates of AtomRef(2) in structure 1: wider than 10 columns"},
      {far_below,
       {E::CoordinateFormat{1, 1}},
       "could not format coordinates of AtomRef(1) in structure 1: wider than 10 columns"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::vector<TRC> trcs = {carbons(1), c.trc};
    std::string out;
    const auto written = to_sdf(trcs, std::vector<std::optional<DataBlocks>>(2), out);
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(written.error(), c.error);
    EXPECT_EQ(to_string(written.error()), c.text);
  }
  // The widest counts and coordinates the columns hold read back as written.
  TRC widest = carbons(999);
  widest.topology.geometry[0] = 99999.99f;
  widest.topology.geometry[1] = -9999.999f;
  const auto out = write(widest);
  ASSERT_TRUE(out.has_value());
  const auto read = from_sdf(*out);
  ASSERT_TRUE(read.has_value()) << to_string(read.error());
  EXPECT_EQ(read->first[0].topology.symbols.size(), 999U);
  EXPECT_EQ(read->first[0].topology.geometry[0], 99999.99f);
  EXPECT_EQ(read->first[0].topology.geometry[1], -9999.999f);
}

// A labelled carbon with the given title and extras, written after a first structure that is fine.
std::expected<std::string, SDFWriteErrorType> write_second(std::string title, std::optional<DataBlocks> extras) {
  TRC second = carbons(1);
  second.residues.labeled = std::vector<ResidueRef>{0};
  second.residues.labels = std::vector<std::vector<std::string>>{{std::move(title)}};
  const std::vector<TRC> trcs = {carbons(1), std::move(second)};
  const std::vector<std::optional<DataBlocks>> all_extras = {std::nullopt, std::move(extras)};
  std::string out;
  const auto written = to_sdf(trcs, all_extras, out);
  if (!written) return std::unexpected(written.error());
  return out;
}

DataBlocks items(std::vector<DataItem> data_items, Constraints constraints = {}) {
  return DataBlocks{std::move(constraints), std::move(data_items), std::nullopt};
}

TEST(SdfWriter, RefusesTextThatWouldReadBackAsSomethingElse) {
  using E = SDFWriteErrorType;
  const std::string bad_value = ": a blank line, a line starting with \"$$$$\" or a carriage return ending a line";
  struct Case {
    std::string title;
    std::optional<DataBlocks> extras;
    E error;
    std::string text;
  };
  const Case cases[] = {
      {"two\nlines",
       std::nullopt,
       {E::TitleFormat{1}},
       "could not format title of structure 1: a line feed in it, or a carriage return ending it"},
      {"return\r",
       std::nullopt,
       {E::TitleFormat{1}},
       "could not format title of structure 1: a line feed in it, or a carriage return ending it"},
      {"",
       items({{"A", "1"}, {"B\nC", "2"}}),
       {E::DataKeyFormat{1, 1}},
       "could not format key of data item 1 in structure 1: a line feed or \">\" in it"},
      {"",
       items({{"a>b", "1"}}),
       {E::DataKeyFormat{1, 0}},
       "could not format key of data item 0 in structure 1: a line feed or \">\" in it"},
      {"",
       items({{"A", "1"}, {"B", "one\n\nthree"}}),
       {E::DataValueFormat{1, 1}},
       "could not format value of data item 1 in structure 1" + bad_value},
      {"",
       items({{"A", "one\n \t\nthree"}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"A", "one\n"}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"A", " "}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"A", "$$$$"}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"A", "one\n$$$$\nthree"}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"A", "one\n$$$$ three"}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"A", "one\r\ntwo"}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"A", "one\r"}}),
       {E::DataValueFormat{1, 0}},
       "could not format value of data item 0 in structure 1" + bad_value},
      {"",
       items({{"TETHERED ATOMS", "1,2"}}),
       {E::TetheredAtomsFormat{1}},
       "could not format tethered atoms of structure 1: an empty group, or a \"TETHERED ATOMS\" data item beside "
       "no groups"},
      {"",
       items({}, Constraints{{{1}, {}}}),
       {E::TetheredAtomsFormat{1}},
       "could not format tethered atoms of structure 1: an empty group, or a \"TETHERED ATOMS\" data item beside "
       "no groups"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto out = write_second(c.title, c.extras);
    ASSERT_FALSE(out.has_value());
    EXPECT_EQ(out.error(), c.error);
    EXPECT_EQ(to_string(out.error()), c.text);
  }
}

TEST(SdfWriter, WritesEveryOtherTextSoThatItReadsBackUnchanged) {
  struct Case {
    std::string title;
    DataBlocks extras;
  };
  const Case cases[] = {
      {"$$$$", items({{"", ""}, {"a<b", "x$$$$"}, {"K", "> <not a key>\nline\r two"}})},
      {"mid\tline\rreturn", items({{"TETHERED ATOMS", "kept as an item"}, {"re\rturn", "x"}}, Constraints{{{1}}})},
      {"  blanks around  ", items({{" K ", "  leading and trailing blanks  "}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const auto out = write_second(c.title, c.extras);
    ASSERT_TRUE(out.has_value()) << to_string(out.error());
    const auto read = from_sdf(*out);
    ASSERT_TRUE(read.has_value()) << to_string(read.error());
    ASSERT_EQ(read->first.size(), 2U);
    EXPECT_EQ(read->first[1].residues.labels, (std::vector<std::vector<std::string>>{{c.title}}));
    EXPECT_EQ(read->second[1], c.extras);
  }
  // A structure without atoms is one entry, read back without atoms.
  const auto none = write(carbons(0));
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(*none, "\n     RIRU           3D\n\n  0  0  0  0  0  0  0  0  0  0999 V2000\nM  END\n$$$$\n");
  const auto read = from_sdf(*none);
  ASSERT_TRUE(read.has_value()) << to_string(read.error());
  EXPECT_TRUE(read->first.at(0).topology.symbols.empty());
}

TEST(SdfWriter, WritesBondTypeAndStereoCodes) {
  TRC trc = carbons(3);
  trc.topology.connectivity = std::vector<Bond>{{0, 1, BondOrder::Single},
                                                {1, 2, BondOrder::Double},
                                                {2, 0, BondOrder::Triple},
                                                {0, 2, BondOrder::Ring},
                                                {1, 0, BondOrder::Single}};
  const auto no_stereo = write(trc);
  ASSERT_TRUE(no_stereo.has_value());
  EXPECT_EQ(lines(*no_stereo, 3, 1)[0], "  3  5  0  0  0  0  0  0  0  0999 V2000");
  EXPECT_EQ(lines(*no_stereo, 7, 5),
            (std::vector<std::string>{"  1  2  1  0     0  0", "  2  3  2  0     0  0", "  3  1  3  0     0  0",
                                      "  1  3  4  0     0  0", "  2  1  1  0     0  0"}));
  trc.topology.stereochemistry =
      std::vector<Stereochemistry>{Stereochemistry::NONE, Stereochemistry::Up, Stereochemistry::Down,
                                   Stereochemistry::Either, Stereochemistry::CisOrTrans};
  const auto stereo = write(trc);
  ASSERT_TRUE(stereo.has_value());
  std::vector<std::string> codes;
  for (const std::string& line : lines(*stereo, 7, 5)) codes.push_back(line.substr(9, 3));
  EXPECT_EQ(codes, (std::vector<std::string>{"  0", "  1", "  6", "  4", "  3"}));
}

TEST(SdfWriter, WritesOnlyPairsOfStructureAndExtras) {
  const std::vector<TRC> two = {carbons(1), carbons(2)};
  const std::vector<std::optional<DataBlocks>> one = {DataBlocks{{}, {{"K", "v"}}, std::nullopt}};
  std::string out = "kept\n";
  ASSERT_TRUE(to_sdf(two, one, out).has_value());
  EXPECT_EQ(out,
            "kept\n\n     RIRU           3D\n\n  1  0  0  0  0  0  0  0  0  0999 V2000\n"
            "    0.0000    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\nM  END\n> <K>\nv\n\n$$$$\n");
  std::string empty;
  ASSERT_TRUE(to_sdf(two, {}, empty).has_value());
  ASSERT_TRUE(to_sdf({}, one, empty).has_value());
  EXPECT_EQ(empty, "");
}

// The tethered groups and the data items a writer keeps: SMILES items are not written, so a later SMILES
// item becomes the SMILES of the next reading.
std::pair<Constraints, std::vector<DataItem>> written_extras(const std::optional<DataBlocks>& extras) {
  if (!extras) return {};
  std::vector<DataItem> items;
  for (const DataItem& item : extras->data_items) {
    if (item.first.find("SMILES") == std::string::npos) items.push_back(item);
  }
  return {extras->constraints, items};
}

// Read, write, read: the same names, elements, coordinates to four decimals, charges, bonds, stereo
// codes, tethered groups and data items.
TEST(SdfCorpus, EveryReadableFileSurvivesARoundTrip) {
  std::size_t files = 0;
  for (const std::string& name : test::corpus_files("sdf")) {
    SCOPED_TRACE(name);
    const auto first = from_sdf(*test::read_corpus_file("sdf/" + name));
    if (!first) continue;
    ++files;
    std::string written;
    ASSERT_TRUE(to_sdf(first->first, first->second, written).has_value());
    const auto second = from_sdf(written);
    ASSERT_TRUE(second.has_value()) << to_string(second.error());
    ASSERT_EQ(second->first.size(), first->first.size());
    for (std::size_t i = 0; i < first->first.size(); ++i) {
      TRC a = first->first[i];
      const TRC& b = second->first[i];
      ASSERT_EQ(a.topology.geometry.size(), b.topology.geometry.size());
      for (std::size_t k = 0; k < a.topology.geometry.size(); ++k) {
        const float x = a.topology.geometry[k];
        EXPECT_NEAR(b.topology.geometry[k], x, 5e-5 + 2e-7 * std::fabs(x)) << "molecule " << i;
      }
      a.topology.geometry = b.topology.geometry;
      EXPECT_EQ(a, b) << "molecule " << i;
      EXPECT_EQ(written_extras(second->second[i]), written_extras(first->second[i])) << "molecule " << i;
    }
  }
  EXPECT_GT(files, 0u) << "neither the shared corpus nor tests/data holds an SDF file that reads";
}

}  // namespace
}  // namespace redivi::sdf
