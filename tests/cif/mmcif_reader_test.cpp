// mmCIF text to structures: models, atom sites, elements, charges, residues, sequences, bonds, secondary structure.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cif/mmcif_records.hpp"
#include "redivi/convert/mmcif.hpp"
#include "redivi/diagnostics.hpp"
#include "test_data.hpp"

namespace redivi::mmcif::detail {
namespace {

constexpr std::string_view atom_site_header =
    "loop_\n_atom_site.group_PDB\n_atom_site.id\n_atom_site.type_symbol\n_atom_site.label_atom_id\n"
    "_atom_site.label_alt_id\n_atom_site.label_comp_id\n_atom_site.label_asym_id\n_atom_site.label_seq_id\n"
    "_atom_site.pdbx_PDB_ins_code\n_atom_site.Cartn_x\n_atom_site.Cartn_y\n_atom_site.Cartn_z\n"
    "_atom_site.pdbx_formal_charge\n_atom_site.auth_seq_id\n_atom_site.auth_asym_id\n"
    "_atom_site.pdbx_PDB_model_num\n";

struct Site {
  std::string name = "CA";
  std::string comp = "ALA";
  std::string chain = "A";
  int seq = 1;
  std::string ins = "?";
  std::string alt = ".";
  std::string element = "C";
  std::string charge = "?";
  std::string model = "1";
};

// A block whose atom sites are sites, numbered from 1 with x = id, followed by other categories.
std::string block(const std::vector<Site>& sites, std::string_view rest = "") {
  std::string text = "data_test\n" + std::string(atom_site_header);
  int id = 0;
  for (const Site& s : sites) {
    ++id;
    const std::string seq = std::to_string(s.seq);
    text += "ATOM " + std::to_string(id) + " " + s.element + " " + s.name + " " + s.alt + " " + s.comp + " " + s.chain +
            " " + seq + " " + s.ins + " " + std::to_string(id) + ".0 0 0 " + s.charge + " " + seq + " " + s.chain +
            " " + s.model + "\n";
  }
  return text + std::string(rest);
}

std::vector<TRC> read(std::string_view text) {
  auto structures = from_mmcif(text);
  EXPECT_TRUE(structures.has_value()) << (structures ? "" : to_string(structures.error()));
  return structures ? std::move(*structures) : std::vector<TRC>{};
}

std::vector<float> xs(const TRC& trc) {
  std::vector<float> out;
  for (std::size_t i = 0; i < trc.topology.geometry.size(); i += 3) out.push_back(trc.topology.geometry[i]);
  return out;
}

// Residues as "chain/number[insertion code]name:atom count".
std::vector<std::string> residue_keys(const TRC& trc) {
  std::vector<std::string> keys;
  for (std::size_t c = 0; c < trc.chains.chains.size(); ++c) {
    for (const ResidueRef r : trc.chains.chains[c]) {
      keys.push_back((*trc.chains.labels)[c][0] + "/" + std::to_string(trc.residues.seq_ns[r]) +
                     trc.residues.insertion_codes[r] + trc.residues.seqs[r] + ":" +
                     std::to_string(trc.residues.residues[r].size()));
    }
  }
  return keys;
}

// The warnings emitted while reading text.
std::vector<std::string> warnings_of(std::string_view text) {
  std::vector<std::string> seen;
  diagnostics::set_sink(
      [&seen](const diagnostics::Event& event) {
        EXPECT_EQ(event.target, "redivi::convert::mmcif");
        seen.emplace_back(event.message);
      },
      diagnostics::Level::warn);
  (void)from_mmcif(text);
  diagnostics::clear_sink();
  return seen;
}

TEST(MmcifReader, GivesOneStructurePerModelInOrderOfFirstAppearance) {
  const auto structures = read(block({{.model = "2"}, {.model = "1"}, {.name = "CB", .model = "2"}}) +
                               block({{.model = "01"}, {.model = "1"}}));
  ASSERT_EQ(structures.size(), 4u);
  EXPECT_EQ(xs(structures[0]), (std::vector<float>{1, 3}));
  EXPECT_EQ(xs(structures[1]), (std::vector<float>{2}));
  EXPECT_EQ(xs(structures[2]), (std::vector<float>{1}));
  EXPECT_EQ(xs(structures[3]), (std::vector<float>{2}));
  EXPECT_EQ(*structures[0].topology.labels, (std::vector<std::string>{"CA", "CB"}));

  // Without a model column, or with "?" as model, every site is in model "1".
  const auto single = read(
      "data_x\nloop_\n_atom_site.type_symbol\n_atom_site.Cartn_x\n"
      "_atom_site.pdbx_PDB_model_num\nC 1 ?\nN 2 1\nO 3 ?\n");
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(xs(single[0]), (std::vector<float>{1, 2, 3}));
  EXPECT_EQ(read("data_x\nloop_\n_atom_site.type_symbol\nC\nN\n")[0].topology.symbols.size(), 2u);
  EXPECT_TRUE(read("data_x\n_atom_site.type_symbol C\n").empty());
  EXPECT_TRUE(read("").empty());
  // Text that is not CIF has no block with atom sites: no structure, and no error.
  EXPECT_TRUE(read("ATOM      1  N   ALA A   1      11.104   6.134  -6.504  1.00  0.00           N\n").empty());
  EXPECT_TRUE(read("\x89PNG\r\n;\n_\nloop_\n").empty());
}

// A row with the wrong number of cells is dropped; in the others a number that does not parse reads as 0.
TEST(MmcifReader, ReadsCellsThatAreNoNumbersAsZero) {
  const auto structures = read(
      "data_x\nloop_\n_atom_site.type_symbol\n_atom_site.label_atom_id\n_atom_site.label_comp_id\n"
      "_atom_site.auth_asym_id\n_atom_site.auth_seq_id\n_atom_site.Cartn_x\n_atom_site.Cartn_y\n"
      "_atom_site.Cartn_z\n_atom_site.pdbx_formal_charge\n"
      "C CA ALA A 1 1.5 abc ? x\n"
      "C CB ALA A x 1,5 2 3 ?\n"
      "C CG ALA A 1 1 2 3\n");
  ASSERT_EQ(structures.size(), 1u);
  const TRC& trc = structures[0];
  EXPECT_EQ(trc.topology.geometry, (std::vector<float>{1.5f, 0, 0, 0, 2, 3}));
  EXPECT_EQ(*trc.topology.formal_charges, (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(residue_keys(trc), (std::vector<std::string>{"A/0ALA:1", "A/1ALA:1"}));
}

// The structure has no place for them: the serial, occupancy, B-factor and record group are not read.
TEST(MmcifReader, KeepsNoSerialOccupancyBFactorOrGroup) {
  const auto text = [](std::string_view row) {
    return "data_x\nloop_\n_atom_site.group_PDB\n_atom_site.id\n_atom_site.type_symbol\n_atom_site.occupancy\n"
           "_atom_site.B_iso_or_equiv\n_atom_site.Cartn_x\n" +
           std::string(row) + "\n";
  };
  const std::vector<TRC> plain = read(text("ATOM 1 C 1.00 20.00 1.5"));
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(read(text("HETATM 977 C 0.25 99.99 1.5")), plain);
}

// The chain and number are the author's, as PDB files give them; the label columns stand in when those are absent.
TEST(MmcifReader, TakesChainAndNumberFromTheAuthorColumnsElseTheLabelColumns) {
  const auto structures = read(
      "data_x\nloop_\n_atom_site.type_symbol\n_atom_site.label_atom_id\n_atom_site.label_comp_id\n"
      "_atom_site.label_asym_id\n_atom_site.label_seq_id\n_atom_site.auth_asym_id\n_atom_site.auth_seq_id\n"
      "C CA ALA A 1 B 10\n"
      "C CA GLY A 2 ? ?\n");
  ASSERT_EQ(structures.size(), 1u);
  EXPECT_EQ(residue_keys(structures[0]), (std::vector<std::string>{"A/2GLY:1", "B/10ALA:1"}));
}

// Atom sites are read row by row as the text is tokenized; what a block keeps must still decide.
TEST(MmcifReader, TakesTheAtomSitesOfEachBlocksLastAtomSiteItem) {
  constexpr std::string_view loop =
      "loop_\n_atom_site.type_symbol\n_atom_site.label_atom_id\n_atom_site.Cartn_x\n_atom_site.pdbx_PDB_model_num\n";
  struct Case {
    std::string text;
    std::vector<std::vector<std::string>> labels;
  };
  const std::vector<Case> cases = {
      {"data_a\n" + std::string(loop) + "N N 1 2\n" + std::string(loop) + "C CA 2 1\nC C 3 1\n", {{"CA", "C"}}},
      {"data_a\n" + std::string(loop) + "N N 1 1\n_atom_site x\n", {}},
      {"data_a\n" + std::string(loop) + "N N 1 1\ndata_b\n" + std::string(loop) + "O O 4 1\ndata_c\n", {{"N"}, {"O"}}},
      {std::string(loop) + "N N 1 1\ndata_a\n_atom_site.id 1\n", {}},
      {"data_a\n" + std::string(loop) + "N N 1 1 9\nC CA 2\n1\nC C 3\n_x y\nO O5\"'\" 4 1\n", {{"CA"}}},
      {"data_a\n" + std::string(loop) + "O O5\"'\" 4 1\nC x'y z' 5 1\n", {{"O5'", "xy z"}}},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<std::string>> labels;
    for (const TRC& trc : read(c.text)) labels.push_back(*trc.topology.labels);
    EXPECT_EQ(labels, c.labels) << c.text;
  }
}

TEST(MmcifReader, KeepsSitesWithoutAlternateOrWithAlternateA) {
  const auto structures = read(block({{.name = "N", .alt = "."},
                                      {.name = "CA", .alt = "A"},
                                      {.name = "CA", .alt = "B"},
                                      {.name = "CB", .alt = "a"},
                                      {.name = "C", .alt = "?"},
                                      {.name = "O", .seq = 2, .alt = "B"}}));
  ASSERT_EQ(structures.size(), 1u);
  EXPECT_EQ(xs(structures[0]), (std::vector<float>{1, 2, 5}));
  EXPECT_EQ(residue_keys(structures[0]), (std::vector<std::string>{"A/1ALA:3"}));
}

TEST(MmcifReader, TakesTheElementFromTheLettersOfTheTypeSymbol) {
  struct Case {
    std::string symbol;
    std::string error;
    Element element;
  };
  const Case cases[] = {
      {"Fe2+", "", Element::Fe},
      {"1H", "", Element::H},
      {"cl", "", Element::Cl},
      {"C\xC2\xB2", "", Element::C},  // a superscript two is no letter
      {"+", "invalid element symbol: ", Element::X},
      {"?", "invalid element symbol: ", Element::X},
      {"Xx", "invalid element symbol: Xx", Element::X},
      {"CAL", "invalid element symbol: CAL", Element::X},
      {"F\xC3\xA9", "invalid element symbol: F\xC3\xA9", Element::X},
      {"\xEF\xBC\xA6"
       "e1",
       "invalid element symbol: \xEF\xBC\xA6"
       "e",
       Element::X},  // FULLWIDTH F
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbol);
    const auto result = from_mmcif(block({{.element = "N"}, {.element = c.symbol}}));
    if (c.error.empty()) {
      ASSERT_TRUE(result.has_value());
      EXPECT_EQ((*result)[0].topology.symbols[1], c.element);
    } else {
      ASSERT_FALSE(result.has_value());
      EXPECT_EQ(to_string(result.error()), c.error);
    }
  }
  // A bad symbol in a later model fails the whole call.
  const auto result = from_mmcif(block({{.model = "1"}, {.element = "Qq", .model = "2"}}));
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error(), (MmCifError{MmCifError::InvalidElement{"Qq"}}));
}

TEST(MmcifReader, ReadsFormalChargesWrittenEitherWay) {
  struct Case {
    std::string_view text;
    std::optional<std::int32_t> charge;
  };
  const Case cases[] = {
      {"2+", 2},
      {"+2", 2},
      {"1-", -1},
      {"-1", -1},
      {"3", 3},
      {" 2- ", -2},
      {"", 0},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"+2-", -2},
      {"--2", 2},
      {"2+3", std::nullopt},
      {"-2147483647", -2147483647},
      {"-2147483648", std::nullopt},
      {"2147483648-", std::nullopt},
      {"\xC2\xA0"
       "1+",
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_charge(c.text), c.charge);
  }
  const auto structures = read(block({{.charge = "2+"}, {.charge = "x"}, {.seq = 2, .charge = "-1"}}));
  ASSERT_EQ(structures.size(), 1u);
  EXPECT_EQ(*structures[0].topology.formal_charges, (std::vector<std::int32_t>{2, 0, -1}));
  EXPECT_EQ(*structures[0].topology.fragment_formal_charges, (std::vector<std::int32_t>{2, -1}));
}

TEST(MmcifReader, NumbersResiduesAndChainsInKeyOrder) {
  const auto structures = read(block({{.chain = "B", .seq = 1},
                                      {.chain = "A", .seq = 1},
                                      {.chain = "A", .seq = -1},
                                      {.chain = "A", .seq = 0},
                                      {.chain = "AA", .seq = 5},
                                      {.chain = "a", .seq = 5},
                                      {.chain = "Z", .seq = 53},
                                      {.chain = "Z", .seq = 52},
                                      {.chain = "Z", .seq = 52, .ins = "A"},
                                      {.name = "CB", .chain = "A", .seq = 1}}));
  ASSERT_EQ(structures.size(), 1u);
  const TRC& trc = structures[0];
  EXPECT_EQ(residue_keys(trc), (std::vector<std::string>{"A/-1ALA:1", "A/0ALA:1", "A/1ALA:2", "AA/5ALA:1", "B/1ALA:1",
                                                         "Z/52AALA:1", "Z/52ALA:1", "Z/53ALA:1", "a/5ALA:1"}));
  EXPECT_EQ(trc.residues.residues[2], (Residue{1, 9}));
  EXPECT_EQ(trc.residues.insertion_codes[5], "A");
  EXPECT_EQ(trc.residues.insertion_codes[6], "");
  EXPECT_EQ(*trc.chains.labeled, (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(*trc.topology.fragments, trc.residues.residues);
  EXPECT_FALSE(trc.chains.alpha_helices.has_value());
  EXPECT_FALSE(trc.chains.beta_sheets.has_value());
  EXPECT_TRUE(trc.topology.connectivity.has_value());
  EXPECT_FALSE(trc.topology.partial_charges.has_value());
  EXPECT_EQ(trc.topology.schema_version, current_schema_version());

  // A model whose sites are all skipped has no atoms, residues or chains, but the lists are there.
  const TRC empty = read(block({{.alt = "B"}}))[0];
  EXPECT_TRUE(empty.topology.symbols.empty());
  EXPECT_TRUE(empty.residues.residues.empty());
  EXPECT_EQ(empty.chains.labeled, std::vector<std::uint32_t>{});
  EXPECT_EQ(empty.topology.connectivity, std::vector<Bond>{});
}

constexpr std::string_view poly_seq_header =
    "loop_\n_pdbx_poly_seq_scheme.seq_id\n_pdbx_poly_seq_scheme.mon_id\n_pdbx_poly_seq_scheme.pdb_strand_id\n";

TEST(MmcifReader, AddsResiduesWithoutAtomsFromThePolymerSequence) {
  struct Case {
    std::string_view name;
    std::vector<Site> sites;
    std::string rest;
    std::vector<std::string> keys;
  };
  const Case cases[] = {
      {"alignment begin from _struct_ref_seq",
       {{.comp = "XXX", .seq = 2}},
       std::string(poly_seq_header) + "1 ALA A\n2 GLY A\n3 SER A\n_struct_ref_seq.pdbx_strand_id A\n"
                                      "_struct_ref_seq.seq_align_beg 1\n",
       {"A/1ALA:0", "A/2XXX:1", "A/3SER:0"}},
      {"begin from the lowest resolved residue",
       {{.comp = "GLY", .seq = 10}, {.comp = "SER", .seq = 11}},
       std::string(poly_seq_header) + "1 MET A\n2 GLY A\n3 SER A\n4 ALA A\n",
       {"A/9MET:0", "A/10GLY:1", "A/11SER:1", "A/12ALA:0"}},
      {"positions only order the names",
       {{.comp = "GLY", .seq = 2}},
       std::string(poly_seq_header) + "9 SER A\n5 ALA A\n7 GLY A\n" +
           "loop_\n_struct_ref_seq.pdbx_strand_id\n_struct_ref_seq.seq_align_beg\n'A, B' 1\nB 7\n",
       {"A/1ALA:0", "A/2GLY:1", "A/3SER:0"}},
      {"a chain without atoms is passed over",
       {{.chain = "A"}},
       std::string(poly_seq_header) + "1 ALA B\n2 GLY B\n",
       {"A/1ALA:1"}},
      {"lowest residue not in the sequence",
       {{.comp = "HOH", .seq = 1}},
       std::string(poly_seq_header) + "1 ALA A\n2 GLY A\n",
       {"A/1HOH:1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto structures = read(block(c.sites, c.rest));
    ASSERT_EQ(structures.size(), 1u);
    EXPECT_EQ(residue_keys(structures[0]), c.keys);
    // Every residue is a fragment, an empty one when it has no atoms.
    EXPECT_EQ(*structures[0].topology.fragments, structures[0].residues.residues);
  }
  EXPECT_EQ(warnings_of(block(cases[4].sites, cases[4].rest)),
            std::vector<std::string>{"mmCIF: chain A: cannot align _pdbx_poly_seq_scheme with resolved residues "
                                     "(residue HOH at auth seq 1 not found in polymer sequence); skipping "
                                     "sequence-driven empty residue injection for this chain"});
}

TEST(MmcifReader, RecordsTheFirstAlignmentBeginOfEachStrand) {
  SeqBegins begins;
  insert_chain_seq_begin(begins, "A,B", 5);
  insert_chain_seq_begin(begins, "B", 7);
  insert_chain_seq_begin(begins, " C , ,D\xE2\x80\x80", -3);
  EXPECT_EQ(begins, (SeqBegins{{"A", 5}, {"B", 5}, {"C", -3}, {"D", -3}}));
}

constexpr std::string_view unobserved_header =
    "loop_\n_pdbx_unobs_or_zero_occ_residues.polymer_flag\n_pdbx_unobs_or_zero_occ_residues.PDB_model_num\n"
    "_pdbx_unobs_or_zero_occ_residues.auth_asym_id\n_pdbx_unobs_or_zero_occ_residues.auth_comp_id\n"
    "_pdbx_unobs_or_zero_occ_residues.auth_seq_id\n_pdbx_unobs_or_zero_occ_residues.PDB_ins_code\n";

TEST(MmcifReader, AddsUnobservedResiduesOfChainsWithoutSequence) {
  const std::string rest = std::string(unobserved_header) +
                           "Y 2 A GLY 7 ?\n"
                           "Y ? A SER 5 B\n"
                           "N ? A TRP 9 ?\n"
                           "Y ? A LYS ? ?\n"
                           "Y ? ? LYS 3 ?\n"
                           "? ? A ALA 1 ?\n"
                           "Y ? C ALA 1 ?\n" +
                           std::string(poly_seq_header) + "1 ALA C\n2 GLY C\n";
  const std::vector<Site> sites = {{.model = "1"}, {.model = "2"}, {.chain = "C", .model = "2"}};
  const auto structures = read(block(sites, rest));
  ASSERT_EQ(structures.size(), 2u);
  // Chain C has no atoms in model 1, so its sequence is passed over and its unobserved residue added.
  EXPECT_EQ(residue_keys(structures[0]), (std::vector<std::string>{"A/1ALA:1", "A/5BSER:0", "C/1ALA:0"}));
  EXPECT_EQ(residue_keys(structures[1]),
            (std::vector<std::string>{"A/1ALA:1", "A/5BSER:0", "A/7GLY:0", "C/1ALA:1", "C/2GLY:0"}));
  EXPECT_EQ(warnings_of(block(sites, rest)),
            (std::vector<std::string>{"mmCIF: chain <unknown>: skipped 1 _pdbx_unobs_or_zero_occ_residues row(s) "
                                      "due to missing chain/sequence/name fields",
                                      "mmCIF: chain A: skipped 1 _pdbx_unobs_or_zero_occ_residues row(s) due to "
                                      "missing chain/sequence/name fields"}));
}

constexpr std::string_view struct_conn_header =
    "loop_\n_struct_conn.id\n_struct_conn.conn_type_id\n_struct_conn.ptnr1_label_atom_id\n"
    "_struct_conn.ptnr1_label_asym_id\n_struct_conn.ptnr1_label_seq_id\n_struct_conn.ptnr2_label_atom_id\n"
    "_struct_conn.ptnr2_label_asym_id\n_struct_conn.ptnr2_label_seq_id\n";
constexpr std::string_view comp_bond_header =
    "loop_\n_chem_comp_bond.comp_id\n_chem_comp_bond.atom_id_1\n_chem_comp_bond.atom_id_2\n"
    "_chem_comp_bond.value_order\n";

TEST(MmcifReader, BondsFromConnectionsAndComponentBonds) {
  const std::vector<Site> sites = {{.name = "N"},
                                   {.name = "CA"},
                                   {.name = "C"},
                                   {.name = "O", .alt = "B"},
                                   {.name = "O", .alt = "A"},
                                   {.name = "N", .seq = 2},
                                   {.name = "CA", .seq = 2},
                                   {.name = "CB", .seq = 2}};
  const std::string rest = std::string(comp_bond_header) +
                           "ALA C O DOUB\n"
                           "ALA N CA ?\n"
                           "ALA CA CB doub\n"
                           "ALA CA C TRIP\n"
                           "ALA CA C QUAD\n"
                           "ALA CA XX DOUB\n" +
                           std::string(struct_conn_header) +
                           "h1 hydrog C A 1 N A 2\n"
                           "c1 covale N A 2 CB A 2\n"
                           "m1 metalc O A 1 N A 2\n"
                           "x1 covale N A 1 CA B 1\n"
                           "d1 disulf C A 1 O A 1\n";
  const auto structures = read(block(sites, rest));
  ASSERT_EQ(structures.size(), 1u);
  const std::vector<Bond> expected = {
      {0, 1, BondOrder::Single}, {1, 2, BondOrder::Quadruple}, {2, 3, BondOrder::Double}, {2, 4, BondOrder::Single},
      {4, 5, BondOrder::Single}, {4, 6, BondOrder::Single},    {5, 6, BondOrder::Single},
  };
  EXPECT_EQ(structures[0].topology.connectivity, expected);
}

// An atom with many bonds (a metal centre) is sorted like one with a few; each pair comes once.
TEST(MmcifReader, OrdersTheManyBondsOfOneAtom) {
  for (const int ligands : {3, 20}) {
    SCOPED_TRACE(ligands);
    std::vector<Site> sites = {{.name = "ZN", .comp = "LIG"}};
    std::string rest = std::string(comp_bond_header) + "LIG O2 ZN DOUB\n" + std::string(struct_conn_header);
    for (int i = 1; i <= ligands; ++i) {
      sites.push_back({.name = "O" + std::to_string(i), .comp = "LIG"});
      const std::string ligand = "O" + std::to_string(ligands + 1 - i);
      rest += "m" + std::to_string(i) + " metalc ZN A 1 " + ligand + " A 1\n";
      rest += "r" + std::to_string(i) + " metalc " + ligand + " A 1 ZN A 1\n";
    }
    const auto structures = read(block(sites, rest));
    ASSERT_EQ(structures.size(), 1u);
    std::vector<Bond> expected;
    for (int i = 1; i <= ligands; ++i) {
      expected.push_back({0, static_cast<AtomRef>(i), i == 2 ? BondOrder::Double : BondOrder::Single});
    }
    EXPECT_EQ(structures[0].topology.connectivity, expected);
  }
}

TEST(MmcifReader, ResolvesComponentBondsInsideOneNameChainAndNumber) {
  // Two residues that differ only in insertion code form one group: names resolve to the earlier atoms.
  const std::vector<Site> sites = {{.name = "C1", .comp = "NAG"},
                                   {.name = "O1", .comp = "NAG"},
                                   {.name = "C1", .comp = "NAG", .ins = "A"},
                                   {.name = "O1", .comp = "NAG", .ins = "A"},
                                   {.name = "C1", .comp = "NAG", .seq = 2},
                                   {.name = "O1", .comp = "NAG", .seq = 2}};
  const auto structures = read(block(sites, std::string(comp_bond_header) + "NAG C1 O1 SING\n"));
  ASSERT_EQ(structures.size(), 1u);
  EXPECT_EQ(structures[0].topology.connectivity,
            (std::vector<Bond>{{0, 1, BondOrder::Single}, {4, 5, BondOrder::Single}}));
}

constexpr std::string_view struct_conf_header =
    "loop_\n_struct_conf.conf_type_id\n_struct_conf.id\n_struct_conf.pdbx_PDB_helix_id\n"
    "_struct_conf.beg_label_comp_id\n_struct_conf.beg_auth_asym_id\n_struct_conf.beg_auth_seq_id\n"
    "_struct_conf.pdbx_beg_PDB_ins_code\n_struct_conf.end_label_comp_id\n_struct_conf.end_auth_asym_id\n"
    "_struct_conf.end_auth_seq_id\n_struct_conf.pdbx_end_PDB_ins_code\n_struct_conf.pdbx_PDB_helix_class\n"
    "_struct_conf.pdbx_PDB_helix_length\n";

const std::vector<Site> four_residues = {{.seq = 1}, {.seq = 2}, {.seq = 3}, {.seq = 4, .ins = "B"}};

TEST(MmcifSecondaryStructure, ReadsHelicesFromTheLoop) {
  const std::string rest = std::string(struct_conf_header) +
                           "HELX_P HELX_P1 ? ALA A 1 ? ALA A 3 ? 1 3\n"
                           "TURN_TY1_P TURN1 T1 ALA A 1 ? ALA A 2 ? 1 2\n"
                           "helx_p H2 H2 ALA A 1 ? ALA A 2 ? 1 2\n"
                           "HELX_RH_AL_P HELX_P2 H3 ALA A 2 ? ALA A 4 B 10 -3\n"
                           "HELX_P HELX_P3 H4 ALA A 1 ? ALA A 2 ? 11 2\n"
                           "HELX_P HELX_P4 H5 ALA B 1 ? ALA A 2 ? 1 2\n"
                           "HELX_P HELX_P5 H6 ALA A 1 ? ALA A 5 ? 1 2\n"
                           "HELX_P HELX_P6 H7 GLY A 1 ? ALA A 2 ? 1 2\n";
  std::vector<Site> two_models = four_residues;
  for (Site site : four_residues) {
    site.model = "2";
    two_models.push_back(site);
  }
  const auto structures = read(block(two_models, rest));
  ASSERT_EQ(structures.size(), 2u);
  AlphaHelices expected;
  expected.push("HELX_P1", 0, 0, 2, HelixClass::RightHandedAlpha, 3);
  expected.push("H3", 0, 1, 3, HelixClass::Polyproline, std::nullopt);
  expected.push("H4", 0, 0, 1, std::nullopt, 2);
  for (const TRC& trc : structures) {
    ASSERT_TRUE(trc.chains.alpha_helices.has_value());
    EXPECT_EQ(*trc.chains.alpha_helices, expected);
    EXPECT_FALSE(trc.chains.beta_sheets.has_value());
  }
}

TEST(MmcifSecondaryStructure, ReadsALoneHelixFromSingleItems) {
  struct Case {
    std::string_view name;
    std::string items;
    std::optional<std::string> helix_id;
  };
  const std::string ends =
      "_struct_conf.beg_label_comp_id ALA\n_struct_conf.beg_auth_seq_id 1\n"
      "_struct_conf.end_label_comp_id ALA\n_struct_conf.end_auth_asym_id A\n_struct_conf.end_auth_seq_id 2\n";
  const Case cases[] = {
      {"identifier from id",
       "_struct_conf.conf_type_id HELX_P\n_struct_conf.id HELX_P1\n"
       "_struct_conf.pdbx_PDB_helix_id ''\n_struct_conf.beg_auth_asym_id A\n" +
           ends,
       "''"},
      {"empty text falls back to id",
       "_struct_conf.conf_type_id HELX_P\n_struct_conf.id H9\n"
       "_struct_conf.beg_auth_asym_id A\n" +
           ends,
       "H9"},
      {"no start chain", "_struct_conf.conf_type_id HELX_P\n_struct_conf.id H1\n" + ends, std::nullopt},
      {"start chain ?",
       "_struct_conf.conf_type_id HELX_P\n_struct_conf.id H1\n_struct_conf.beg_auth_asym_id ?\n" + ends, std::nullopt},
      {"not a helix", "_struct_conf.conf_type_id TURN_P\n_struct_conf.id H1\n_struct_conf.beg_auth_asym_id A\n" + ends,
       std::nullopt},
      {"insertion code ? is a code",
       "_struct_conf.conf_type_id HELX_P\n_struct_conf.id H1\n"
       "_struct_conf.beg_auth_asym_id A\n_struct_conf.pdbx_beg_PDB_ins_code ?\n" +
           ends,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto structures = read(block(four_residues, c.items));
    ASSERT_EQ(structures.size(), 1u);
    const auto& helices = structures[0].chains.alpha_helices;
    ASSERT_EQ(helices.has_value(), c.helix_id.has_value());
    if (helices) { EXPECT_EQ(helices->helix_ids, std::vector<std::string>{*c.helix_id}); }
  }
}

TEST(MmcifSecondaryStructure, ReadsStrandsWithTheirSensesAndCounts) {
  const std::string rest =
      "loop_\n_struct_sheet_range.sheet_id\n_struct_sheet_range.id\n_struct_sheet_range.beg_label_comp_id\n"
      "_struct_sheet_range.beg_auth_asym_id\n_struct_sheet_range.beg_auth_seq_id\n"
      "_struct_sheet_range.end_label_comp_id\n_struct_sheet_range.end_auth_asym_id\n"
      "_struct_sheet_range.end_auth_seq_id\n_struct_sheet_range.pdbx_end_PDB_ins_code\n"
      "A 1 ALA A 1 ALA A 2 ?\nA 2 ALA A 3 ALA A 4 B\nA B1 ALA A 1 ALA A 1 ?\nA 3 ALA Q 1 ALA A 1 ?\n"
      "? 4 ALA A 1 ALA A 1 ?\n"
      "loop_\n_struct_sheet_order.sheet_id\n_struct_sheet_order.range_id_1\n_struct_sheet_order.range_id_2\n"
      "_struct_sheet_order.sense\nA 1 2 Anti-Parallel\nA 2 1 'anti parallel'\n"
      "loop_\n_struct_sheet.id\n_struct_sheet.number_strands\nA 3\nA 2\nB x\n";
  const auto structures = read(block(four_residues, rest));
  ASSERT_EQ(structures.size(), 1u);
  BetaSheets expected;
  expected.push("A", "1", 1, 2, 0, 0, 1, StrandSense::First);
  expected.push("A", "2", 2, 2, 0, 2, 3, StrandSense::AntiParallel);
  expected.push("A", "B1", std::nullopt, 2, 0, 0, 0, std::nullopt);
  ASSERT_TRUE(structures[0].chains.beta_sheets.has_value());
  EXPECT_EQ(*structures[0].chains.beta_sheets, expected);
}

TEST(MmcifSecondaryStructure, RecognisesSheetSenses) {
  struct Case {
    std::string_view text;
    std::optional<StrandSense> sense;
  };
  const Case cases[] = {
      {"first", StrandSense::First},
      {"PARALLEL", StrandSense::Parallel},
      {"Anti-Parallel", StrandSense::AntiParallel},
      {"antiparallel", StrandSense::AntiParallel},
      {" parallel", std::nullopt},
      {"anti parallel", std::nullopt},
      {"", std::nullopt},
      {"\xC3\x89"
       "first",
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_sheet_sense(c.text), c.sense);
  }
}

TEST(MmcifError, ShowsItsDocumentedTexts) {
  struct Case {
    MmCifError error;
    std::string_view display, debug;
  };
  const Case cases[] = {
      {{MmCifError::InvalidFormat{"x"}}, "invalid mmCIF format: x", "InvalidFormat(\"x\")"},
      {{MmCifError::MissingField{"_atom_site.id"}},
       "missing required field: _atom_site.id",
       "MissingField(\"_atom_site.id\")"},
      {{MmCifError::InvalidElement{"Q\"\\\n"}}, "invalid element symbol: Q\"\\\n", "InvalidElement(\"Q\\\"\\\\\\n\")"},
      {{MmCifError::Parse{"bad"}}, "parse error: bad", "Parse(\"bad\")"},
      {{MmCifError::InvalidConnection{"7"}}, "invalid connection for atom 7", "InvalidConnection(\"7\")"},
      {{MmCifError::ChargeCountMismatch{}}, "atom charges should zip with atoms", "ChargeCountMismatch"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(to_string(c.error), c.display);
    EXPECT_EQ(debug_string(c.error), c.debug);
  }
}

TEST(MmcifReader, ReadsEveryCorpusFile) {
  struct Count {
    std::string_view file;
    std::size_t models, first_model_atoms;
  };
  const Count counts[] = {
      {"cif/1A8O.cif", 1, 644},      {"cif/1gya.cif", 18, 1976}, {"cif/1l2y.cif", 38, 304},
      {"cif/2L6N.cif", 20, 1929},    {"cif/2BEG.cif", 10, 1855}, {"cif/1LCD.cif", 3, 1137},
      {"cif/1xnr.cif", 1, 43833},    {"cif/4zxb.cif", 1, 12918}, {"cif/ATP_ccd.cif", 0, 0},
      {"cif/misc_syntax.cif", 0, 0}, {"cif/eol-test.cif", 0, 0}, {"cif/components-000-001-002.cif", 0, 0},
  };
  const auto files = test::corpus_files("cif");
  ASSERT_FALSE(files.empty()) << "neither the shared corpus nor tests/data holds mmCIF files";
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const auto text = test::read_corpus_file("cif/" + file);
    ASSERT_TRUE(text.has_value());
    const auto structures = from_mmcif(*text);
    ASSERT_TRUE(structures.has_value()) << to_string(structures.error());
    for (const TRC& trc : *structures) {
      const auto checked = trc.check();
      EXPECT_TRUE(checked.has_value()) << (checked ? "" : to_string(checked.error()));
    }
    for (const Count& count : counts) {
      if (count.file != "cif/" + file) continue;
      EXPECT_EQ(structures->size(), count.models);
      if (!structures->empty()) { EXPECT_EQ((*structures)[0].topology.symbols.size(), count.first_model_atoms); }
    }
  }
}

TEST(MmcifReader, SurvivesDamagedText) {
  const std::string text = block({{.name = "N"}, {.name = "O5'", .ins = "'A'"}, {.seq = 2, .charge = "1+"}},
                                 std::string(comp_bond_header) + "ALA N CA DOUB\n" + std::string(struct_conf_header) +
                                     "HELX_P H1 H1 ALA A 1 ? ALA A 2 ? 1 2\n");
  for (std::size_t n = 0; n <= text.size(); ++n) {
    const auto result = from_mmcif(text.substr(0, n));
    if (!result) {
      EXPECT_EQ(result.error().value.index(), 2u) << n;  // InvalidElement only
    }
  }
  for (const char replacement : {' ', 'x', '\'', ';', '\n', '\xC2'}) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      std::string damaged = text;
      damaged[i] = replacement;
      const auto result = from_mmcif(damaged);
      if (!result) { EXPECT_EQ(result.error().value.index(), 2u) << i; }
    }
  }
}

}  // namespace
}  // namespace redivi::mmcif::detail
