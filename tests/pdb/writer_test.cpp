// Structures written as PDB text: record order, chain identifiers, ATOM versus HETATM, CONECT rules, bad tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "redivi/convert/pdb.hpp"

namespace redivi::pdb {
namespace {

struct ResidueSpec {
  std::string name;
  std::vector<AtomRef> atoms;
  std::string i_code;
};

// Residues numbered from 1 in list order; atom a is a carbon at (a, a, a).
TRC structure(const std::vector<ResidueSpec>& residues, std::vector<Chain> chains, std::size_t atom_count) {
  TRC trc;
  trc.topology.symbols.assign(atom_count, Element::C);
  for (std::size_t a = 0; a < 3 * atom_count; ++a) trc.topology.geometry.push_back(static_cast<float>(a / 3));
  std::int32_t number = 1;
  for (const ResidueSpec& residue : residues) {
    trc.residues.residues.push_back(residue.atoms);
    trc.residues.seqs.push_back(residue.name);
    trc.residues.seq_ns.push_back(number++);
    trc.residues.insertion_codes.push_back(residue.i_code);
  }
  trc.chains.chains = std::move(chains);
  return trc;
}

std::vector<std::string> lines_of(const TRC& trc) {
  const auto text = to_pdb(trc);
  EXPECT_TRUE(text.has_value()) << (text ? "" : text.error().message);
  std::vector<std::string> lines;
  if (!text) return lines;
  EXPECT_TRUE(text->empty() || text->back() == '\n');
  std::size_t start = 0;
  for (std::size_t end = text->find('\n'); end != std::string::npos; end = text->find('\n', start)) {
    lines.push_back(text->substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The 1-based, inclusive columns of one line.
std::string columns(const std::string& line, std::size_t first, std::size_t last) {
  return line.size() < last ? "<short line: " + line + ">" : line.substr(first - 1, last - first + 1);
}

std::vector<std::string> lines_starting(const std::vector<std::string>& lines, std::string_view record) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.starts_with(record)) found.push_back(line);
  }
  return found;
}

TEST(PdbWriter, WritesNothingForAnEmptyStructure) {
  const auto text = to_pdb(TRC{});
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, "");
}

TEST(PdbWriter, WritesSeqresThenAtomsWithZeroBasedSerials) {
  // Atom 2 is in no residue and is not written; atom 3 has no label and is named by its element.
  TRC trc = structure({{"ALA", {0, 1}, "~"}, {"FE", {3}, ""}}, {{0, 1}}, 4);
  trc.topology.symbols = {Element::N, Element::C, Element::C, Element::Fe};
  trc.topology.labels = {{"N", "CA"}};
  trc.topology.formal_charges = {{0, 0, 0, 2}};
  const auto text = to_pdb(trc);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text,
            "SEQRES   1 A    1  ALA          \n"
            "ATOM      0  N   ALA A   1       0.000   0.000   0.000  1.00  0.00           N  \n"
            "ATOM      1  CA  ALA A   1       1.000   1.000   1.000  1.00  0.00           C  \n"
            "HETATM    3  Fe   FE A   2       3.000   3.000   3.000  1.00  0.00          Fe2+\n");
}

TEST(PdbWriter, SplitsSeqresIntoRecordsOfThirteenAminoAcids) {
  std::vector<ResidueSpec> residues;
  Chain protein;
  for (AtomRef a = 0; a < 27; ++a) {
    residues.push_back({a % 2 == 0 ? "ALA" : "gly", {a}, ""});
    residues.push_back({"HOH", {}, ""});  // not an amino acid: left out of SEQRES
    protein.push_back(2 * a);
    protein.push_back(2 * a + 1);
  }
  residues.push_back({"HOH", {27}, ""});
  const std::vector<std::string> seqres = lines_starting(lines_of(structure(residues, {protein, {54}}, 28)), "SEQRES");
  ASSERT_EQ(seqres.size(), 3U);
  EXPECT_EQ(seqres[0], "SEQRES   1 A   27  ALA gly ALA gly ALA gly ALA gly ALA gly ALA gly ALA          ");
  EXPECT_EQ(seqres[1], "SEQRES   2 A   27  gly ALA gly ALA gly ALA gly ALA gly ALA gly ALA gly          ");
  EXPECT_EQ(seqres[2], "SEQRES   3 A   27  ALA          ");
}

TEST(PdbWriter, WritesAminoAcidResiduesAsAtomAndOthersAsHetatm) {
  struct Case {
    std::string_view name, record;
  };
  const Case cases[] = {{"ALA", "ATOM  "}, {"ala", "ATOM  "}, {"UNK", "ATOM  "}, {"HYP", "ATOM  "},
                        {"Ala", "HETATM"}, {"HOH", "HETATM"}, {"AL", "HETATM"},  {"ALAN", "HETATM"},
                        {"DA", "HETATM"},  {"U", "HETATM"},   {"MSE", "HETATM"}};  // nucleotides, modified residues
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto lines = lines_of(structure({{std::string(c.name), {0}, ""}}, {{0}}, 1));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(columns(lines.back(), 1, 6), c.record);
  }
}

TEST(PdbWriter, NamesChainsByLabelInSeqresHelixAndSheetButByLetterInAtoms) {
  TRC trc = structure({{"ALA", {0}, ""}, {"GLY", {1}, ""}, {"SER", {2}, ""}}, {{0}, {1}, {2}}, 3);
  trc.chains.labeled = {{0, 1, 2}};
  trc.chains.labels = {{{"X"}, {"Y", "Z"}, {}}};  // chain 2 has no label: its letter C stands
  trc.chains.alpha_helices = AlphaHelices{};
  trc.chains.alpha_helices->push("1", 1, 1, 1, std::nullopt, std::nullopt);
  trc.chains.beta_sheets = BetaSheets{};
  trc.chains.beta_sheets->push("S", "1", std::nullopt, std::nullopt, 0, 0, 0, std::nullopt);
  trc.chains.beta_sheets->push("S", "2", std::nullopt, std::nullopt, 2, 2, 2, std::nullopt);
  const auto lines = lines_of(trc);
  ASSERT_EQ(lines.size(), 9U);
  EXPECT_EQ(columns(lines[0], 12, 12) + columns(lines[1], 12, 12) + columns(lines[2], 12, 12), "XYC");
  EXPECT_EQ(columns(lines[3], 1, 6) + columns(lines[3], 20, 20) + columns(lines[3], 32, 32), "HELIX YY");
  EXPECT_EQ(columns(lines[4], 1, 6) + columns(lines[4], 22, 22) + columns(lines[4], 33, 33), "SHEET XX");
  EXPECT_EQ(columns(lines[5], 22, 22) + columns(lines[5], 33, 33), "CC");
  EXPECT_EQ(columns(lines[6], 22, 22) + columns(lines[7], 22, 22) + columns(lines[8], 22, 22), "ABC");
}

TEST(PdbWriter, GivesEachResidueTheLastChainListingIt) {
  // Residue 0 is in chains 0 and 2; residue 1 is in no chain.
  const auto lines = lines_of(structure({{"HOH", {0}, ""}, {"HOH", {1}, ""}}, {{0}, {}, {0}}, 2));
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(columns(lines[0], 22, 22), "C");
  EXPECT_EQ(columns(lines[1], 22, 22), "A");
}

TEST(PdbWriter, WritesChainLettersBeyondAsciiAsUtf8) {
  std::vector<ResidueSpec> residues;
  std::vector<Chain> chains;
  for (AtomRef c = 0; c < 70; ++c) {
    residues.push_back({"HOH", {c}, ""});
    chains.push_back({c});
  }
  TRC trc = structure(residues, chains, 70);
  const auto lines = lines_of(trc);
  ASSERT_EQ(lines.size(), 70U);
  EXPECT_EQ(columns(lines[25], 22, 22), "Z");
  EXPECT_EQ(columns(lines[26], 22, 22), "[");
  EXPECT_EQ(columns(lines[62], 22, 22), "\x7f");
  EXPECT_EQ(columns(lines[63], 22, 23), "\xc2\x80");  // U+0080 takes two bytes and widens the line
  EXPECT_EQ(columns(lines[69], 22, 23), "\xc2\x86");
  EXPECT_EQ(lines[63].size(), 81U);

  // HELIX keeps only the first byte of a chain identifier: the letter of chain 63 cannot be written there.
  trc.chains.alpha_helices = AlphaHelices{};
  trc.chains.alpha_helices->push("1", 63, 63, 63, std::nullopt, std::nullopt);
  const auto text = to_pdb(trc);
  ASSERT_FALSE(text.has_value());
  EXPECT_EQ(to_string(text.error()), "HELIX text is not valid UTF-8: a column cut splits a multi-byte character");
}

TEST(PdbWriter, WritesConectForBondsOutsideProteinRepeatedByOrder) {
  // Atom 6 is listed by a water and by the alanine: it counts as a protein atom.
  TRC trc = structure({{"ALA", {0, 1, 6}, ""}, {"GLY", {2}, ""}, {"LIG", {3, 4}, ""}, {"HOH", {5, 6}, ""}},
                      {{0, 1, 2, 3}}, 7);
  trc.topology.connectivity = {{
      {0, 1, BondOrder::Single},  // within one protein residue
      {1, 2, BondOrder::Double},  // between two protein residues
      {6, 2, BondOrder::Single},
      {1, 3, BondOrder::Double},
      {3, 4, BondOrder::Ring},
      {4, 3, BondOrder::Unspecified},
      {4, 5, BondOrder::Triple},
      {5, 3, BondOrder::OneAndAHalf},
      {3, 4, static_cast<BondOrder>(100)},  // no bond order: written once
  }};
  EXPECT_EQ(lines_starting(lines_of(trc), "CONECT"),
            (std::vector<std::string>{"CONECT    1    3", "CONECT    1    3", "CONECT    3    4", "CONECT    4    3",
                                      "CONECT    4    5", "CONECT    4    5", "CONECT    4    5", "CONECT    5    3",
                                      "CONECT    3    4"}));
}

// One text per structure: the records in a fixed order, and no MODEL, TER or END record to close anything.
TEST(PdbWriter, WritesRecordsInOneOrderWithoutModelTerOrEnd) {
  TRC trc =
      structure({{"CYS", {0, 1}, ""}, {"CYS", {2, 3}, ""}, {"HEM", {4}, ""}, {"DA", {5}, ""}}, {{0, 1, 2}, {3}}, 6);
  trc.chains.alpha_helices = AlphaHelices{};
  trc.chains.alpha_helices->push("1", 0, 0, 1, std::nullopt, std::nullopt);
  trc.topology.connectivity = {{{1, 3, BondOrder::Single}, {3, 4, BondOrder::Single}}};  // a disulfide, a ligand bond
  std::string kinds;
  for (const std::string& line : lines_of(trc)) kinds += columns(line, 1, 6) + "|";
  EXPECT_EQ(kinds, "SEQRES|HELIX |ATOM  |ATOM  |ATOM  |ATOM  |HETATM|HETATM|CONECT|");
  EXPECT_EQ(lines_starting(lines_of(trc), "CONECT"), std::vector<std::string>{"CONECT    3    4"});
}

// Serials past 99999 and residue numbers outside -999 to 9999 are written whole: the line widens, and
// the fields after the number leave the columns the reader takes them from.
TEST(PdbWriter, WidensLinesForNumbersPastTheirColumnsWhichTheReaderRefuses) {
  struct Case {
    std::size_t atoms;
    std::int32_t seq_n;
    std::string_view error;
  };
  const Case cases[] = {
      {100'001, 1, "expected int at 1:22-26"},
      {1, 10'000, "expected float at 1:38-46"},
      {1, -1'000, "expected float at 1:38-46"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    TRC trc = structure({{"HOH", {static_cast<AtomRef>(c.atoms - 1)}, ""}}, {{0}}, c.atoms);
    trc.topology.geometry.assign(3 * c.atoms, 1.5F);
    trc.residues.seq_ns = {c.seq_n};
    const auto lines = lines_of(trc);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].size(), 81U);
    const auto reread = from_pdb_with_options(lines[0], false);
    ASSERT_FALSE(reread.has_value());
    EXPECT_EQ(to_string(reread.error()), c.error);
  }
  // The widest numbers that fit read back.
  TRC widest = structure({{"HOH", {99'999}, ""}}, {{0}}, 100'000);
  widest.topology.geometry.assign(300'000, 1.5F);
  widest.residues.seq_ns = {9'999};
  const auto text = to_pdb(widest);
  ASSERT_TRUE(text.has_value());
  const auto reread = from_pdb_with_options(*text, false);
  ASSERT_TRUE(reread.has_value()) << to_string(reread.error());
  EXPECT_EQ(reread->front().residues.seq_ns, std::vector<std::int32_t>{9'999});
}

TEST(PdbWriter, WritesHelicesFromTheirResidues) {
  TRC trc = structure({{"ALA", {0}, "~"}, {"GLY", {1}, ""}, {"SER", {2}, "B"}}, {{0, 1, 2}}, 3);
  trc.residues.seq_ns = {-5, 6, 1000};
  trc.chains.alpha_helices = AlphaHelices{};
  trc.chains.alpha_helices->push("ALPHA", 0, 0, 2, HelixClass::RightHandedPi, 12);
  trc.chains.alpha_helices->push("", 0, 99, 1, std::nullopt, std::nullopt);  // start beyond the residues
  const auto helices = lines_starting(lines_of(trc), "HELIX");
  ASSERT_EQ(helices.size(), 2U);
  EXPECT_EQ(helices[0], "HELIX    1 ALP ALA A   -5  SER A 1000B 3" + std::string(31, ' ') + "   12    ");
  EXPECT_EQ(helices[1], "HELIX    2         A    0  GLY A    6" + std::string(43, ' '));
}

TEST(PdbWriter, NumbersStrandsByOrdinalThenNumericIdentifierThenPlace) {
  TRC trc = structure({{"VAL", {0}, "~"}, {"ILE", {1}, ""}}, {{0, 1}}, 2);
  trc.chains.beta_sheets = BetaSheets{};
  BetaSheets& sheets = *trc.chains.beta_sheets;
  sheets.push("SHEETA", "A", 7, 5, 0, 0, 1, StrandSense::First);
  sheets.push("S", "3", std::nullopt, std::nullopt, 0, 0, 1, StrandSense::Parallel);
  sheets.push("S", "+4", std::nullopt, std::nullopt, 0, 0, 1, StrandSense::AntiParallel);
  sheets.push("S", "B", std::nullopt, std::nullopt, 0, 0, 1, std::nullopt);
  sheets.push("S", "-2", std::nullopt, std::nullopt, 0, 0, 1, std::nullopt);
  const auto strands = lines_starting(lines_of(trc), "SHEET");
  ASSERT_EQ(strands.size(), 5U);
  EXPECT_EQ(strands[0], "SHEET    7 SHE 5 VAL A   1  ILE A   2  0" + std::string(40, ' '));
  struct Case {
    std::string_view strand, sense;
  };
  const Case cases[] = {{"  3", " 1"}, {"  4", "-1"}, {"  4", " 0"}, {"  5", " 0"}};
  for (std::size_t k = 1; k < strands.size(); ++k) {
    SCOPED_TRACE(strands[k]);
    EXPECT_EQ(columns(strands[k], 8, 10), cases[k - 1].strand);
    EXPECT_EQ(columns(strands[k], 15, 16), "  ");
    EXPECT_EQ(columns(strands[k], 39, 40), cases[k - 1].sense);
  }
}

// Two residues in one chain, with a helix and two strands.
TRC with_helix_and_strands() {
  TRC trc = structure({{"ALA", {0, 1}, ""}, {"HOH", {2}, ""}}, {{0, 1}}, 3);
  trc.chains.alpha_helices = AlphaHelices{};
  trc.chains.alpha_helices->push("1", 0, 0, 0, std::nullopt, std::nullopt);
  trc.chains.beta_sheets = BetaSheets{};
  trc.chains.beta_sheets->push("S", "1", std::nullopt, std::nullopt, 0, 0, 0, std::nullopt);
  trc.chains.beta_sheets->push("S", "2", std::nullopt, std::nullopt, 0, 0, 0, std::nullopt);
  return trc;
}

TEST(PdbWriter, RefusesStructuresWhoseListsDisagree) {
  struct Case {
    void (*change)(TRC&);
    std::string_view message;
  };
  const Case cases[] = {
      {[](TRC& t) { t.chains.chains[0].push_back(5); }, "chain 0 lists ResidueRef(5) beyond the 2 residues"},
      {[](TRC& t) { t.residues.seqs.pop_back(); }, "residues.seqs has 1 entries, fewer than the 2 of residues"},
      {[](TRC& t) { t.residues.seq_ns.clear(); }, "residues.seq_ns has 0 entries, fewer than the 2 of residues"},
      {[](TRC& t) { t.residues.insertion_codes.pop_back(); },
       "residues.insertion_codes has 1 entries, fewer than the 2 of residues"},
      {[](TRC& t) { t.residues.residues[1].push_back(9); },
       "ResidueRef(1) lists AtomRef(9), beyond the 3 atoms that have a symbol and three coordinates"},
      {[](TRC& t) { t.topology.geometry.pop_back(); },
       "ResidueRef(1) lists AtomRef(2), beyond the 2 atoms that have a symbol and three coordinates"},
      {[](TRC& t) { t.topology.symbols.pop_back(); },
       "ResidueRef(1) lists AtomRef(2), beyond the 2 atoms that have a symbol and three coordinates"},
      {[](TRC& t) { t.chains.alpha_helices->end_residues.clear(); },
       "alpha_helices.end_residues has 0 entries, fewer than the 1 of helix_ids"},
      {[](TRC& t) { t.chains.alpha_helices->lengths.clear(); },
       "alpha_helices.lengths has 0 entries, fewer than the 1 of helix_ids"},
      {[](TRC& t) { t.chains.beta_sheets->strand_ids.clear(); },
       "beta_sheets.strand_ids has 0 entries, fewer than the 2 of sheet_ids"},
      {[](TRC& t) { t.chains.beta_sheets->senses.pop_back(); },
       "beta_sheets.senses has 1 entries, fewer than the 2 of sheet_ids"},
      {[](TRC& t) {
         t.topology.labels = {{"N", "CALPHA"}};
       },
       "atom name \"CALPHA\" is longer than the 4 bytes of columns 13-16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TRC trc = with_helix_and_strands();
    ASSERT_TRUE(to_pdb(trc).has_value());
    c.change(trc);
    const auto text = to_pdb(trc);
    ASSERT_FALSE(text.has_value());
    EXPECT_EQ(to_string(text.error()), c.message);
  }
}

TEST(PdbWriter, RefusesTextsHoldingALineFeed) {
  struct Case {
    void (*change)(TRC&);
    std::string_view message;
  };
  const Case cases[] = {
      {[](TRC& t) {
         t.topology.labels = {{"N", "C\nA", "O"}};
       },
       "atom name \"C\\nA\" of serial 1 holds a line feed"},
      {[](TRC& t) { t.residues.seqs[1] = "\nHOH"; }, "residues.seqs[1] holds a line feed"},
      {[](TRC& t) { t.residues.insertion_codes[0] = "\n"; }, "residues.insertion_codes[0] holds a line feed"},
      {[](TRC& t) {
         t.chains.labeled = {{0}};
         t.chains.labels = {{{"A\nB"}}};
       },
       "chains.labels[0][0] holds a line feed"},
      {[](TRC& t) { t.chains.alpha_helices->helix_ids[0] = "H\n"; }, "alpha_helices.helix_ids[0] holds a line feed"},
      {[](TRC& t) { t.chains.beta_sheets->sheet_ids[1] = "S\n1"; }, "beta_sheets.sheet_ids[1] holds a line feed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TRC trc = with_helix_and_strands();
    c.change(trc);
    const auto text = to_pdb(trc);
    ASSERT_FALSE(text.has_value());
    EXPECT_EQ(to_string(text.error()), c.message);
  }
  // An atom in no residue is not written, so its name may hold anything.
  TRC unwritten = with_helix_and_strands();
  unwritten.topology.symbols.push_back(Element::O);
  unwritten.topology.geometry.insert(unwritten.topology.geometry.end(), {0, 0, 0});
  unwritten.topology.labels = {{"N", "CA", "O", "\n"}};
  EXPECT_TRUE(to_pdb(unwritten).has_value());
}

}  // namespace
}  // namespace redivi::pdb
