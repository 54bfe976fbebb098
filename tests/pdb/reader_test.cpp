// PDB text to structures: lines, models, alternate locations, CONECT bonds, residues, chains, SEQRES, real files.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "listed_file.hpp"
#include "redivi/convert/pdb.hpp"
#include "redivi/diagnostics.hpp"
#include "test_data.hpp"

namespace redivi::pdb {
namespace {

using E = Error;

// One ATOM line; its x coordinate is its serial, so atoms can be told apart.
std::string atom(std::uint32_t serial, std::string_view res_name = "ALA", std::string_view chain = "A",
                 std::int32_t res_seq = 1, std::string_view i_code = "", std::string_view alt_loc = "",
                 std::string_view charge = "") {
  char line[96];
  std::snprintf(
      line, sizeof line, "ATOM  %5u  CA %1.1s%-3.3s %1.1s%4d%1.1s   %8.3f%8.3f%8.3f%6.2f%6.2f          %2s%-2.2s",
      serial, std::string(alt_loc).c_str(), std::string(res_name).c_str(), std::string(chain).c_str(), res_seq,
      std::string(i_code).c_str(), static_cast<double>(serial), 0.0, 0.0, 1.0, 0.0, " C", std::string(charge).c_str());
  return line;
}

std::string text(const std::vector<std::string>& lines, std::string_view terminator = "\n") {
  std::string out;
  for (const std::string& line : lines) out.append(line).append(terminator);
  return out;
}

std::vector<TRC> read(std::string_view contents, bool include_seqres = true) {
  auto structures = from_pdb_with_options(contents, include_seqres);
  EXPECT_TRUE(structures.has_value()) << to_string(structures.error());
  return structures.value_or(std::vector<TRC>{});
}

std::vector<std::size_t> atom_counts(const std::vector<TRC>& structures) {
  std::vector<std::size_t> counts;
  for (const TRC& trc : structures) counts.push_back(trc.topology.symbols.size());
  return counts;
}

// Collects the WARN events while it lives.
class Warnings {
 public:
  Warnings() {
    diagnostics::set_sink([this](const diagnostics::Event& e) { seen.emplace_back(e.message); },
                          diagnostics::Level::warn);
  }
  ~Warnings() { diagnostics::clear_sink(); }
  std::vector<std::string> seen;
};

TEST(PdbReader, CutsTheTextIntoLines) {
  const std::vector<std::string> lines = {atom(1), atom(2), "END"};
  const std::vector<TRC> plain = read(text(lines));
  ASSERT_EQ(atom_counts(plain), std::vector<std::size_t>{2});
  EXPECT_EQ(read(text(lines, "\r\n")), plain);
  EXPECT_EQ(read(atom(1) + "\n" + atom(2)), plain);  // no line feed after the last line
  EXPECT_TRUE(read("").empty());

  struct Case {
    std::string contents;
    Error error;
  };
  const Case cases[] = {
      {atom(1) + "\n\n" + atom(2), {E::InvalidLineLength{3, 0}}},
      {atom(1) + "\r\n\r\n" + atom(2), {E::InvalidLineLength{3, 0}}},
      {atom(1) + "\n" + atom(2) + "\n" + atom(3).substr(0, 46), {E::ExpectedFloat{3, 46, 54}}},
  };
  for (const Case& c : cases) {
    const auto result = from_pdb_with_options(c.contents, true);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.error);
  }
}

TEST(PdbReader, ClosesAModelAtEndmdlAndAtTheEndOfTheInput) {
  struct Case {
    std::vector<std::string> lines;
    std::vector<std::size_t> atoms;
  };
  const Case cases[] = {
      {{atom(1), atom(2)}, {2}},
      {{atom(1), "END", atom(2)}, {2}},
      {{"MODEL        1", atom(1), "ENDMDL", "MODEL        2", atom(1), atom(2), "ENDMDL"}, {1, 2}},
      {{atom(1), "MODEL        1", atom(2), "ENDMDL"}, {2}},
      {{"MODEL        1", atom(1), "ENDMDL", atom(2)}, {1, 1}},
      {{"MODEL        1", atom(1), "ENDMDL", "ENDMDL", "MODEL        2", "ENDMDL"}, {1}},
      {{"REMARK no atoms"}, {}},
  };
  for (const Case& c : cases) { EXPECT_EQ(atom_counts(read(text(c.lines))), c.atoms) << text(c.lines); }
}

TEST(PdbReader, AppliesHelixRecordsToTheModelsClosedAfterThem) {
  const std::string helix = "HELIX    1  H1 ALA A    1  ALA A    1  1                                   1";
  const auto structures = read(text({"MODEL        1", atom(1), "ENDMDL", helix, "MODEL        2", atom(1), "ENDMDL"}));
  ASSERT_EQ(structures.size(), 2U);
  EXPECT_FALSE(structures[0].chains.alpha_helices.has_value());
  ASSERT_TRUE(structures[1].chains.alpha_helices.has_value());
  EXPECT_EQ(structures[1].chains.alpha_helices->helix_ids, std::vector<std::string>{"H1"});
  EXPECT_EQ(read(text({helix, "MODEL        1", atom(1), "ENDMDL", atom(1)}))[1].chains.alpha_helices,
            structures[1].chains.alpha_helices);
}

TEST(PdbReader, KeepsBlankAndFirstAlternateLocationsOnly) {
  const auto structures = read(text({atom(1, "SER", "A", 1), atom(2, "SER", "A", 2, "", "A"),
                                     atom(3, "SER", "A", 2, "", "B"), atom(4, "THR", "A", 3, "", "B")}));
  ASSERT_EQ(structures.size(), 1U);
  const TRC& trc = structures[0];
  EXPECT_EQ(trc.topology.geometry, (std::vector<float>{1, 0, 0, 2, 0, 0}));
  EXPECT_EQ(trc.residues.seq_ns, (std::vector<std::int32_t>{1, 2}));
  // A model made only of dropped atoms is still open, so it warns at the end.
  Warnings warnings;
  EXPECT_TRUE(read(atom(1, "SER", "A", 1, "", "B")).empty());
  EXPECT_EQ(warnings.seen.size(), 1U);
}

// The structure has no place for them: occupancy, temperature factor, segment and the record name are dropped.
TEST(PdbReader, KeepsNoOccupancyTemperatureFactorSegmentOrRecordName) {
  const std::vector<TRC> plain = read(atom(1));
  const auto changed = [](std::size_t start, std::string_view columns) {
    return atom(1).replace(start, columns.size(), columns);
  };
  for (const std::string& line :
       {changed(54, "  0.25"), changed(60, " 99.99"), changed(72, "SEG1"), changed(0, "HETATM")}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(read(line), plain);
  }
}

TEST(PdbReader, CountsRepeatedConectPairsIntoBondOrders) {
  std::vector<std::string> atoms;
  for (std::uint32_t serial = 1; serial <= 6; ++serial) atoms.push_back(atom(serial));
  struct Case {
    std::vector<std::string> conect;
    std::vector<Bond> bonds;
  };
  const std::string c12 = "CONECT    1    2";
  const Case cases[] = {
      {{c12, c12}, {{0, 1, BondOrder::Double}}},
      {{c12, "CONECT    2    1"}, {{0, 1, BondOrder::Single}}},
      {{"CONECT    2    1"}, {{0, 1, BondOrder::Single}}},
      {{"CONECT    1    2    3"}, {{0, 1, BondOrder::Single}, {0, 2, BondOrder::Single}}},
      {{"CONECT    6    3", "CONECT    4    5"}, {{3, 4, BondOrder::Single}, {2, 5, BondOrder::Single}}},
      {{c12, c12, c12, c12, c12, c12}, {{0, 1, BondOrder::Sextuple}}},
      // More than six listings stay a sextuple bond: the count saturates.
      {std::vector<std::string>(7, c12), {{0, 1, BondOrder::Sextuple}}},
      {std::vector<std::string>(300, c12), {{0, 1, BondOrder::Sextuple}}},
      // A record without a partner, or without any serial, adds nothing.
      {{"CONECT    1", "CONECT", "CONECT          2"}, {}},
      // A pair naming an atom the model lacks is dropped.
      {{"CONECT    1   99", "CONECT   99    1", c12}, {{0, 1, BondOrder::Single}}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = atoms;
    lines.insert(lines.end(), c.conect.begin(), c.conect.end());
    const auto structures = read(text(lines));
    ASSERT_EQ(structures.size(), 1U);
    EXPECT_EQ(structures[0].topology.connectivity, c.bonds) << text(c.conect);
  }
  // Two atoms with one serial: the pair goes to the first of them.
  const auto twice = read(text({atom(1), atom(1), atom(2), c12}));
  EXPECT_EQ(twice[0].topology.connectivity, (std::vector<Bond>{{0, 2, BondOrder::Single}}));
}

TEST(PdbReader, AppliesConectRecordsOutsideModelsToEveryModel) {
  const std::vector<std::string> model_1 = {"MODEL        1", atom(1), atom(2), atom(3), "CONECT    1    2", "ENDMDL"};
  std::vector<std::string> lines = model_1;
  for (const std::string& line : {std::string("MODEL        2"), atom(1), atom(2), atom(3), std::string("ENDMDL"),
                                  std::string("CONECT    3    1"), std::string("CONECT    3    1")}) {
    lines.push_back(line);
  }
  const auto structures = read(text(lines));
  ASSERT_EQ(structures.size(), 2U);
  EXPECT_EQ(structures[0].topology.connectivity,
            (std::vector<Bond>{{0, 1, BondOrder::Single}, {0, 2, BondOrder::Double}}));
  EXPECT_EQ(structures[1].topology.connectivity, (std::vector<Bond>{{0, 2, BondOrder::Double}}));

  // CONECT records before the first atom of a file without MODEL records are file-level too.
  EXPECT_EQ(read(text({"CONECT    1    2", atom(1), atom(2)}))[0].topology.connectivity,
            (std::vector<Bond>{{0, 1, BondOrder::Single}}));

  struct Case {
    std::vector<std::string> lines;
    std::uint32_t serial;
  };
  const Case failing[] = {
      // The second model lacks atom 3.
      {{"MODEL        1", atom(1), atom(3), "ENDMDL", "MODEL        2", atom(1), "ENDMDL", "CONECT    1    3"}, 3},
      // Atom 2 is an alternate location "B", so it is not there.
      {{atom(1), atom(2, "ALA", "A", 1, "", "B"), "ENDMDL", "CONECT    2    1"}, 2},
  };
  for (const Case& c : failing) {
    const auto result = from_pdb_with_options(text(c.lines), true);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), (Error{E::InvalidConnection{c.serial}}));
  }
  // Inside the model the same record is dropped; with no model at all it is never looked at.
  EXPECT_EQ(read(text({atom(1), atom(2, "ALA", "A", 1, "", "B"), "CONECT    2    1"}))[0].topology.connectivity,
            std::vector<Bond>{});
  EXPECT_TRUE(read(text({"CONECT    2    1"})).empty());
}

TEST(PdbReader, WarnsAboutModelsWithoutAtoms) {
  const std::string no_atoms = "No ATOM lines found despite being in a model; PDB file may be malformed";
  const std::string no_atoms_conect =
      "CONECT lines found but no ATOM lines found for this model; PDB file may be malformed";
  struct Case {
    std::vector<std::string> lines;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {{"MODEL        1"}, {no_atoms}},
      {{"MODEL        1", "CONECT    1    2", "ENDMDL"}, {no_atoms_conect}},
      {{"MODEL        1", "CONECT    1    2"}, {no_atoms, no_atoms_conect}},
      {{"MODEL        1", atom(1), "ENDMDL", "ENDMDL"}, {}},
      {{atom(1), "CONECT    1    2"}, {}},
  };
  for (const Case& c : cases) {
    Warnings warnings;
    read(text(c.lines));
    EXPECT_EQ(warnings.seen, c.warnings) << text(c.lines);
  }
}

TEST(PdbReader, OrdersResiduesByChainNumberInsertionCodeAndName) {
  const auto trc = read(text({
      atom(1, "GLY", "A", 52),
      atom(2, "GLY", "A", 52, "A"),
      atom(3, "GLY", "A", 52, "B"),
      atom(4, "HOH", "A", 401),
      atom(5, "LYS", "A", -3),
      atom(6, "GLY", "A", 52),  // back to residue 52
      atom(7, "ALA", "B", 10),
      atom(8, "GLY", "B", 10),  // one number, two names
      atom(9, "DA", "a", 1),
      atom(10, "HOH", "", 1),
  }))[0];
  EXPECT_EQ(trc.residues.seq_ns, (std::vector<std::int32_t>{1, -3, 52, 52, 52, 401, 10, 10, 1}));
  EXPECT_EQ(trc.residues.insertion_codes, (std::vector<std::string>{"", "", "A", "B", "", "", "", "", ""}));
  EXPECT_EQ(trc.residues.seqs,
            (std::vector<std::string>{"HOH", "LYS", "GLY", "GLY", "GLY", "HOH", "ALA", "GLY", "DA"}));
  EXPECT_EQ(trc.residues.residues, (std::vector<Residue>{{9}, {4}, {1}, {2}, {0, 5}, {3}, {6}, {7}, {8}}));
  EXPECT_EQ(trc.chains.chains, (std::vector<Chain>{{0}, {1, 2, 3, 4, 5}, {6, 7}, {8}}));
  EXPECT_EQ(trc.chains.labeled, (std::vector<std::uint32_t>{0, 1, 2, 3}));
  EXPECT_EQ(trc.chains.labels, (std::vector<std::vector<std::string>>{{""}, {"A"}, {"B"}, {"a"}}));
  EXPECT_FALSE(trc.residues.labeled.has_value());
}

TEST(PdbReader, FillsFragmentsChargesAndLabels) {
  const auto trc = read(text({atom(1, "LYS", "A", 1, "", "", "1+"), atom(2, "LYS", "A", 1, "", "", "+1"),
                              atom(3, "ASP", "A", 2, "", "", "1-"), atom(4, "HOH", "A", 3)}))[0];
  const Topology& t = trc.topology;
  EXPECT_EQ(t.schema_version, current_schema_version());
  EXPECT_EQ(t.symbols, std::vector<Element>(4, Element::C));
  EXPECT_EQ(t.labels, std::vector<std::string>(4, "CA"));
  EXPECT_EQ(t.formal_charges, (std::vector<std::int32_t>{1, 1, -1, 0}));
  EXPECT_EQ(t.fragments, (std::vector<Fragment>{{0, 1}, {2}, {3}}));
  EXPECT_EQ(t.fragment_formal_charges, (std::vector<std::int32_t>{2, -1, 0}));
  EXPECT_EQ(t.connectivity, std::vector<Bond>{});
  EXPECT_FALSE(t.partial_charges || t.stereochemistry || t.velocities || t.fragment_partial_charges ||
               t.fragment_multiplicities);
}

// Neighbouring atoms often repeat the residue columns 18-27 or the columns 73-80; each atom still gets
// its own fields, whatever its neighbour's line held, and every field of every line is traced.
TEST(PdbReader, ReadsEachAtomWholeWhenItsNeighbourSharesColumns) {
  const auto with_tail = [](std::string line, std::string_view tail) { return line.replace(76, 4, tail); };
  std::string accented = atom(3, "ALA", "A", 1);
  accented.replace(12, 4, " C\xC3\x89");  // a two-byte letter inside the name columns
  const std::vector<std::string> lines = {
      atom(1, "ALA", "A", 1),
      with_tail(atom(2, "ALA", "A", 1), " N1+"),
      accented,
      with_tail(atom(4, "ALA", "A", 1), " N1+"),
      with_tail(atom(5, "ALA", "A", 2), " N1+"),
      with_tail(atom(6, "ALA", "A", 2), " N2-"),
      with_tail(atom(7, "ALA", "A", 2, "B"), " N2-"),
  };
  const auto trc = read(text(lines))[0];
  const Topology& t = trc.topology;
  EXPECT_EQ(t.labels, (std::vector<std::string>{"CA", "CA", "C\xC3\x89", "CA", "CA", "CA", "CA"}));
  EXPECT_EQ(t.symbols,
            (std::vector<Element>{Element::C, Element::N, Element::C, Element::N, Element::N, Element::N, Element::N}));
  EXPECT_EQ(t.formal_charges, (std::vector<std::int32_t>{0, 1, 0, 1, 1, -2, -2}));
  EXPECT_EQ(trc.residues.residues, (std::vector<Residue>{{0, 1, 2, 3}, {6}, {4, 5}}));  // "B" before none
  EXPECT_EQ(trc.residues.insertion_codes, (std::vector<std::string>{"", "B", ""}));

  std::size_t events = 0;
  diagnostics::set_sink([&events](const diagnostics::Event&) { ++events; }, diagnostics::Level::debug);
  read(text({lines[1], lines[3]}));
  diagnostics::clear_sink();
  EXPECT_EQ(events, 2 * 15 * 3);  // fifteen fields a line, three events a field
}

TEST(PdbReader, ResolvesHelicesAndSheetsAgainstTheResidues) {
  std::vector<std::string> lines;
  for (std::int32_t n = 1; n <= 5; ++n) lines.push_back(atom(static_cast<std::uint32_t>(n), "ALA", "A", n));
  lines.push_back(atom(6, "GLY", "B", 1));
  lines.push_back(atom(7, "GLY", "B", 2, "X"));
  const std::vector<std::string> records = {
      "HELIX    1  H1 ALA A    1  ALA A    3  1                                   3",
      "HELIX    2  H2 GLY A    1  ALA A    3  1                                   3",  // wrong name: skipped
      "HELIX    3  H3 ALA A    2  GLY B    2X11                                   0",  // chains differ
      "HELIX    4  H4 ALA C    1  ALA C    3  1",                                      // no chain C
      "SHEET    1  S1 3 ALA A   1  ALA A   2  0",
      "SHEET    2  S1 3 ALA A   4  ALA A   5 -1",
      "SHEET    3  S1 3 GLY B   1  GLY B   2X 1",
      "SHEET   -2  S2   ALA A   1  ALA A   1  0",
      "SHEET    5  S3   ALA A   1  ALA A   9  0",  // no residue 9: skipped
  };
  lines.insert(lines.end(), records.begin(), records.end());
  const Chains chains = read(text(lines))[0].chains;
  ASSERT_TRUE(chains.alpha_helices && chains.beta_sheets);
  AlphaHelices helices;
  helices.push("H1", 0, 0, 2, HelixClass::RightHandedAlpha, 3);
  helices.push("H3", 0, 1, 6, std::nullopt, std::nullopt);
  EXPECT_EQ(*chains.alpha_helices, helices);
  BetaSheets sheets;
  sheets.push("S1", "1", 1, 3, 0, 0, 1, StrandSense::First);
  sheets.push("S1", "2", 2, 3, 0, 3, 4, StrandSense::AntiParallel);
  sheets.push("S1", "3", 3, 3, 1, 5, 6, StrandSense::Parallel);
  sheets.push("S2", "-2", std::nullopt, std::nullopt, 0, 0, 0, std::nullopt);
  EXPECT_EQ(*chains.beta_sheets, sheets);

  const Chains none = read(text({atom(1), records[1], records[8]}))[0].chains;
  EXPECT_FALSE(none.alpha_helices.has_value());
  EXPECT_FALSE(none.beta_sheets.has_value());
}

struct SeqresCase {
  std::vector<std::string> lines;
  bool include_seqres;
  std::vector<std::int32_t> seq_ns;
  std::vector<std::string> seqs;
  std::vector<std::string> warnings;
};

void check(const SeqresCase& c) {
  Warnings warnings;
  const auto structures = read(text(c.lines), c.include_seqres);
  ASSERT_EQ(structures.size(), 1U);
  EXPECT_EQ(structures[0].residues.seq_ns, c.seq_ns);
  EXPECT_EQ(structures[0].residues.seqs, c.seqs);
  EXPECT_EQ(warnings.seen, c.warnings);
  std::vector<Fragment> with_atoms;  // the fragments: one per residue that has atoms
  for (std::size_t i = 0; i < structures[0].residues.residues.size(); ++i) {
    if (structures[0].residues.residues[i].empty()) {
      EXPECT_EQ(structures[0].residues.insertion_codes[i], "");
    } else {
      with_atoms.push_back(structures[0].residues.residues[i]);
    }
  }
  EXPECT_EQ(structures[0].topology.fragments, with_atoms);
}

TEST(PdbReader, CompletesChainsFromSeqres) {
  const std::string seqres = "SEQRES   1 A    6  MET GLY ALA SER LYS GLU";
  const std::vector<std::string> atoms = {atom(1, "ALA", "A", 3), atom(2, "SER", "A", 4), atom(3, "LYS", "A", 5)};
  auto with = [&atoms](std::vector<std::string> lines) {
    lines.insert(lines.end(), atoms.begin(), atoms.end());
    return lines;
  };
  const SeqresCase cases[] = {
      {with({seqres}), true, {1, 2, 3, 4, 5, 6}, {"MET", "GLY", "ALA", "SER", "LYS", "GLU"}, {}},
      // A DBREF record numbers the SEQRES names without comparing them; the first one counts.
      {with({"DBREF  1ABC A   10", "DBREF  1ABC A   20", seqres}),
       true,
       {3, 4, 5, 10, 11, 12, 13, 14, 15},
       {"ALA", "SER", "LYS", "MET", "GLY", "ALA", "SER", "LYS", "GLU"},
       {}},
      {with({seqres}), false, {3, 4, 5}, {"ALA", "SER", "LYS"}, {}},
      // SEQRES of a chain the model lacks changes nothing.
      {with({"SEQRES   1 B    1  GLY"}), true, {3, 4, 5}, {"ALA", "SER", "LYS"}, {}},
      {with({"SEQRES   1 A    2  MET GLY"}),
       true,
       {3, 4, 5},
       {"ALA", "SER", "LYS"},
       {"WARNING: chain A: could not align SEQRES with ATOM records (residue ALA at seq_n 3 not found in SEQRES). "
        "Skipping SEQRES processing for this chain."}},
  };
  for (const SeqresCase& c : cases) {
    SCOPED_TRACE(text(c.lines));
    check(c);
  }
}

TEST(PdbReader, ReportsSeqresGapsItDoesNotFill) {
  const std::vector<std::string> gapped = {"SEQRES   1 A    7  MET GLY ALA SER LYS GLU TRP", atom(1, "MET", "A", 1),
                                           atom(2, "GLY", "A", 2), atom(3, "LYS", "A", 5, "B")};
  // before GLY names, then ALA (the residue the model has, numbered 11), then one GLY.
  const auto terminal = [](std::size_t before) {
    std::string seqres = "SEQRES   1 A   12 ";
    for (std::size_t i = 0; i < before; ++i) seqres += " GLY";
    return std::vector<std::string>{seqres + " ALA GLY", atom(1, "ALA", "A", 11)};
  };
  const SeqresCase cases[] = {
      {gapped,
       false,
       {1, 2, 5},
       {"MET", "GLY", "LYS"},
       {"WARNING: chain A has 2 missing internal residue(s) from SEQRES that are being omitted because include_seqres "
        "is false: ALA 3, SER 4"}},
      {terminal(10),
       true,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       {"GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "ALA", "GLY"},
       {"WARNING: chain A has 11 empty terminal residues from SEQRES (resolved range: 11-11, SEQRES range: 1-12). Use "
        "from_pdb_with_options(..., false) to exclude them."}},
      {terminal(9),
       true,
       {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       {"GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "GLY", "ALA", "GLY"},
       {}},
  };
  for (const SeqresCase& c : cases) {
    SCOPED_TRACE(text(c.lines));
    check(c);
  }
}

// The first model of real files, counted independently: ATOM and HETATM lines with a blank or "A"
// alternate location per model, distinct chain identifiers, distinct residues.
TEST(PdbReader, CountsMatchRealFiles) {
  struct Case {
    std::string_view file;
    std::size_t models, atoms, chains, residues_with_atoms;
  };
  const Case cases[] = {
      {"pdb/1CRN.pdb", 1, 327, 1, 46},          {"pdb/1l2y.pdb", 38, 304, 1, 20},
      {"pdb/pdb1aq5.ent.gz", 20, 2292, 3, 141}, {"pdb/1LCD.pdb", 3, 1137, 3, 123},
      {"pdb/1aon.pdb.gz", 1, 58870, 21, 8029},  {"pdb/3o5r.pdb", 1, 1326, 1, 416},
      {"pdb/1igy.pdb", 1, 12750, 6, 1312},
  };
  std::size_t read_files = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto contents = test::read_listed_file(c.file);
    if (!contents) continue;
    ++read_files;
    const auto structures = read(*contents);
    ASSERT_EQ(structures.size(), c.models);
    const TRC& first = structures[0];
    EXPECT_EQ(first.topology.symbols.size(), c.atoms);
    EXPECT_EQ(first.chains.chains.size(), c.chains);
    EXPECT_EQ(first.topology.fragments->size(), c.residues_with_atoms);
  }
  EXPECT_GT(read_files, 0u);
}

// Each atom in exactly one residue and one fragment, each residue in one chain, every list as long as it should be.
void expect_consistent(const TRC& trc) {
  const auto checked = trc.check();
  EXPECT_TRUE(checked.has_value()) << to_string(checked.error());
  const Topology& t = trc.topology;
  const std::size_t atoms = t.symbols.size();
  EXPECT_EQ(t.geometry.size(), 3 * atoms);
  EXPECT_EQ(t.labels->size(), atoms);
  EXPECT_EQ(t.formal_charges->size(), atoms);
  EXPECT_EQ(t.fragment_formal_charges->size(), t.fragments->size());
  std::vector<int> in_residue(atoms), in_fragment(atoms);
  for (const Residue& residue : trc.residues.residues) {
    for (const AtomRef a : residue) ++in_residue.at(a);
  }
  for (const Fragment& fragment : *t.fragments) {
    for (const AtomRef a : fragment) ++in_fragment.at(a);
  }
  EXPECT_EQ(in_residue, std::vector<int>(atoms, 1));
  EXPECT_EQ(in_fragment, std::vector<int>(atoms, 1));
  std::vector<int> in_chain(trc.residues.residues.size());
  for (const Chain& chain : trc.chains.chains) {
    for (const ResidueRef r : chain) ++in_chain.at(r);
  }
  EXPECT_EQ(in_chain, std::vector<int>(trc.residues.residues.size(), 1));
  for (const Bond& bond : *t.connectivity) EXPECT_TRUE(bond.first <= bond.second && bond.second < atoms);
}

// Files whose content the reader rejects, and why: wrapped serials, short or element-less lines, an old layout.
TEST(PdbReader, ReadsEveryRealFileOrNamesItsFault) {
  const std::map<std::string, std::string> rejected = {
      {"BaceCgSystemAtomistic.pdb", "invalid symbol "},
      {"a_structure.pdb", "invalid line length, expected '> 6', found '5'"},
      {"adk_oplsaa.pdb", "invalid symbol "},
      {"incomplete.pdb", "expected float at 3:54-60"},
      {"md_ascii_trj.pdb", "invalid symbol "},
      {"model_then_cryst.pdb", "invalid symbol "},
      {"occupancy.pdb", "expected float at 3:54-60"},
      {"odd01.pdb", "invalid symbol "},
      {"pdb1gdr.ent", "expected int at 91:71-76"},
      {"water_hex.pdb.gz", "expected int at 100001:6-11"},
      {"xl_serial.pdb", "invalid symbol "},
  };
  const auto files = test::corpus_files("pdb");
  ASSERT_FALSE(files.empty()) << "neither the shared corpus nor tests/data holds PDB files";
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const auto structures = from_pdb_with_options(*test::read_corpus_file("pdb/" + file), true);
    const auto fault = rejected.find(file);
    if (fault != rejected.end()) {
      ASSERT_FALSE(structures.has_value());
      EXPECT_EQ(to_string(structures.error()), fault->second);
      continue;
    }
    ASSERT_TRUE(structures.has_value()) << to_string(structures.error());
    for (const TRC& trc : *structures) expect_consistent(trc);
  }
}

// The reading field by field that a debug listener turns on gives every value the one-pass reading gives,
// and the same warnings, on every real file: the same structures, or the same fault for a file it refuses.
TEST(PdbReader, ReadsAlikeWithAndWithoutADebugListener) {
  const auto files = test::corpus_files("pdb");
  ASSERT_FALSE(files.empty()) << "neither the shared corpus nor tests/data holds PDB files";
  for (const std::string& file : files) {
    const std::string contents = *test::read_corpus_file("pdb/" + file);
    for (const bool include_seqres : {false, true}) {
      SCOPED_TRACE(testing::Message() << file << (include_seqres ? " with SEQRES" : ""));
      std::vector<std::string> warnings;
      std::vector<std::string> traced_warnings;
      std::size_t traced_fields = 0;
      diagnostics::set_sink([&warnings](const diagnostics::Event& e) { warnings.emplace_back(e.message); },
                            diagnostics::Level::warn);
      const auto one_pass = from_pdb_with_options(contents, include_seqres);
      diagnostics::set_sink(
          [&](const diagnostics::Event& e) {
            if (e.level == diagnostics::Level::warn) {
              traced_warnings.emplace_back(e.message);
            } else {
              ++traced_fields;
            }
          },
          diagnostics::Level::debug);
      const auto by_field = from_pdb_with_options(contents, include_seqres);
      diagnostics::clear_sink();
      EXPECT_EQ(traced_warnings, warnings);
      ASSERT_EQ(by_field.has_value(), one_pass.has_value());
      if (!one_pass) {
        EXPECT_EQ(by_field.error(), one_pass.error());
        continue;
      }
      ASSERT_EQ(by_field->size(), one_pass->size());
      if (!one_pass->empty()) { EXPECT_GT(traced_fields, 0U); }
      for (std::size_t model = 0; model < one_pass->size(); ++model) {
        const TRC& a = (*one_pass)[model];
        const TRC& b = (*by_field)[model];
        EXPECT_TRUE(b.topology == a.topology) << "model " << model;
        EXPECT_TRUE(b.residues == a.residues) << "model " << model;
        EXPECT_TRUE(b.chains == a.chains) << "model " << model;
      }
    }
  }
}

// Damaged copies of a whole file (a byte replaced by a line feed, a letter, a sign or half of a
// two-byte character) read to structures or to an error, never further.
TEST(PdbReader, SurvivesDamagedFiles) {
  const auto contents = test::read_corpus_file("pdb/1CRN.pdb");
  ASSERT_TRUE(contents.has_value()) << "neither the shared corpus nor tests/data holds 1CRN.pdb";
  std::size_t read = 0, failed = 0;
  for (std::size_t i = 0; i < contents->size(); i += 41) {
    for (const char replacement : {'\n', 'x', '-', '\xC3'}) {
      std::string damaged = *contents;
      damaged[i] = replacement;
      const auto structures = from_pdb_with_options(damaged, true);
      if (structures) {
        ++read;
        for (const TRC& trc : *structures) EXPECT_TRUE(trc.check().has_value());
      } else {
        ++failed;
      }
    }
  }
  EXPECT_GT(read, 0U);
  EXPECT_GT(failed, 0U);
}

}  // namespace
}  // namespace redivi::pdb
