// Every structure each reader makes of the corpus, written by each writer and read back: what the format
// keeps comes back unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "redivi/amino_acid.hpp"
#include "redivi/convert/mmcif.hpp"
#include "redivi/convert/pdb.hpp"
#include "redivi/convert/sdf.hpp"
#include "redivi/convert/xyz.hpp"
#include "test_data.hpp"

namespace redivi {
namespace {

// One structure of a corpus file, with the extras of its SDF entry.
struct Read {
  std::string_view file;
  const TRC& trc;
  const std::optional<sdf::DataBlocks>& extras;
};

// Calls visit with every structure every reader makes of the corpus files of its format.
void for_each_corpus_structure(const std::function<void(const Read&)>& visit) {
  const std::optional<sdf::DataBlocks> none;
  const auto each_file = [](std::string_view folder, const auto& read) {
    for (const std::string& name : test::corpus_files(folder)) {
      const std::string file = std::string(folder) + "/" + name;
      SCOPED_TRACE(file);
      read(file, *test::read_corpus_file(file));
    }
  };
  each_file("pdb", [&](const std::string& file, const std::string& text) {
    const auto trcs = pdb::from_pdb_with_options(text, false);
    for (const TRC& trc : trcs.value_or(std::vector<TRC>{})) visit({file, trc, none});
  });
  each_file("cif", [&](const std::string& file, const std::string& text) {
    const auto trcs = mmcif::from_mmcif(text);
    for (const TRC& trc : trcs.value_or(std::vector<TRC>{})) visit({file, trc, none});
  });
  each_file("sdf", [&](const std::string& file, const std::string& text) {
    const auto read = sdf::from_sdf(text);
    if (!read) return;
    for (std::size_t i = 0; i < read->first.size(); ++i) visit({file, read->first[i], read->second[i]});
  });
  each_file("xyz", [&](const std::string& file, const std::string& text) {
    auto topology = xyz::from_xyz(text);
    if (topology) visit({file, TRC{std::move(*topology), {}, {}}, none});
  });
}

// Coordinates written with the given decimals and read back: within half the last decimal, and the
// float's own rounding, of what was written.
testing::AssertionResult same_coordinates(const std::vector<float>& back, const std::vector<float>& written,
                                          int decimals) {
  if (back.size() != written.size()) {
    return testing::AssertionFailure() << back.size() << " coordinates read back, " << written.size() << " written";
  }
  const double half_decimal = 0.5 * std::pow(10.0, -decimals);
  for (std::size_t i = 0; i < written.size(); ++i) {
    const double a = written[i];
    const double b = back[i];
    const bool same = std::isnan(a)   ? std::isnan(b)
                      : std::isinf(a) ? a == b
                                      : std::fabs(b - a) <= half_decimal + std::fabs(a) * 1.2e-7;
    if (!same) return testing::AssertionFailure() << "coordinate " << i << ": " << a << " read back as " << b;
  }
  return testing::AssertionSuccess();
}

TEST(WriterRoundTrip, XyzKeepsElementsAndCoordinatesToFiveDecimals) {
  std::size_t compared = 0;
  for_each_corpus_structure([&compared](const Read& read) {
    const Topology& written = read.trc.topology;
    const auto text = xyz::to_xyz(written);
    ASSERT_TRUE(text.has_value());
    const auto back = xyz::from_xyz(*text);
    ASSERT_TRUE(back.has_value()) << to_string(back.error());
    EXPECT_EQ(back->symbols, written.symbols);
    EXPECT_TRUE(same_coordinates(back->geometry, written.geometry, 5));
    ++compared;
  });
  EXPECT_GT(compared, 0U);
}

// The title: the first label of the only labelled residue, else empty.
std::vector<std::vector<std::string>> title_labels(const Residues& residues) {
  const bool titled = residues.labels && !residues.labels->empty() && !residues.labels->front().empty();
  return {{titled ? residues.labels->front().front() : std::string{}}};
}

// The extras as they read back: the SMILES is not written, so the first remaining item whose key holds
// "SMILES" becomes the SMILES; extras without groups or items are not there at all.
std::optional<sdf::DataBlocks> read_back_extras(const std::optional<sdf::DataBlocks>& written) {
  if (!written) return std::nullopt;
  sdf::DataBlocks extras{written->constraints, written->data_items, std::nullopt};
  const auto smiles = std::ranges::find_if(
      extras.data_items, [](const sdf::DataItem& item) { return item.first.find("SMILES") != std::string::npos; });
  if (smiles != extras.data_items.end()) {
    extras.smiles = smiles->second;
    extras.data_items.erase(smiles);
  }
  if (extras.constraints.tethered_atoms.empty() && extras.data_items.empty()) return std::nullopt;
  return extras;
}

TEST(WriterRoundTrip, SdfKeepsAtomsBondsTitleAndItems) {
  std::size_t compared = 0;
  for_each_corpus_structure([&compared](const Read& read) {
    std::string text;
    const auto written = sdf::to_sdf(std::span{&read.trc, 1}, std::span{&read.extras, 1}, text);
    // What the SDF reader makes, the SDF writer writes.
    if (read.file.starts_with("sdf/")) { ASSERT_TRUE(written.has_value()) << to_string(written.error()); }
    if (!written) return;
    const auto back = sdf::from_sdf(text);
    ASSERT_TRUE(back.has_value()) << to_string(back.error());
    ASSERT_EQ(back->first.size(), 1U);
    const Topology& before = read.trc.topology;
    const Topology& after = back->first[0].topology;
    const std::size_t atoms = before.symbols.size();
    const std::vector<Bond> bonds = before.connectivity.value_or(std::vector<Bond>{});
    EXPECT_EQ(after.symbols, before.symbols);
    EXPECT_TRUE(same_coordinates(after.geometry, before.geometry, 4));
    EXPECT_EQ(after.formal_charges, before.formal_charges.value_or(std::vector<std::int32_t>(atoms, 0)));
    EXPECT_EQ(after.connectivity, bonds);
    EXPECT_EQ(after.stereochemistry,
              before.stereochemistry.value_or(std::vector<Stereochemistry>(bonds.size(), Stereochemistry::NONE)));
    EXPECT_EQ(back->first[0].residues.labels, title_labels(read.trc.residues));
    EXPECT_EQ(back->second[0], read_back_extras(read.extras));
    ++compared;
  });
  EXPECT_GT(compared, 0U);
}

// The text of a name or code as its PDB columns keep it: its first bytes, without the blanks around.
std::string in_columns(std::string_view text, std::size_t width) {
  text = text.substr(0, width);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

bool is_ascii(std::string_view text) {
  return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Numbers wider than their columns widen the line, and text that is not ASCII shifts the columns after
// it: the reader refuses both. Charges of 10 or more lose their sign to the two columns.
bool fits_pdb_columns(const TRC& trc) {
  const Topology& topology = trc.topology;
  const auto& charges = topology.formal_charges;
  return topology.symbols.size() <= 100'000 && trc.chains.chains.size() <= 63 &&
         std::ranges::all_of(trc.residues.seq_ns, [](std::int32_t n) { return n >= -999 && n <= 9999; }) &&
         std::ranges::all_of(topology.geometry, [](float x) { return !(x <= -999.9995F || x >= 9999.9995F); }) &&
         std::ranges::all_of(trc.residues.seqs, is_ascii) &&
         std::ranges::all_of(trc.residues.insertion_codes, is_ascii) &&
         std::ranges::all_of(topology.labels.value_or(std::vector<std::string>{}), is_ascii) &&
         (!charges || std::ranges::all_of(*charges, [](std::int32_t c) { return c > -10 && c < 10; }));
}

// The chain the writer puts each residue in: the last chain that lists it, else the first.
std::vector<std::size_t> chain_of_residues(const TRC& trc) {
  std::vector<std::size_t> chain_of(trc.residues.residues.size(), 0);
  for (std::size_t c = 0; c < trc.chains.chains.size(); ++c) {
    for (const ResidueRef r : trc.chains.chains[c]) chain_of[r] = c;
  }
  return chain_of;
}

// The name the writer gives an atom: its label, else its element symbol.
std::string atom_name(const Topology& topology, AtomRef a) {
  return topology.labels ? (*topology.labels)[a] : std::string(topology.symbols[a].symbol());
}

std::int32_t charge_of(const Topology& topology, AtomRef a) {
  return topology.formal_charges ? (*topology.formal_charges)[a] : 0;
}

// Compares the residues that have atoms, in order, atom by atom; returns where each written atom went.
std::vector<std::optional<AtomRef>> expect_same_residues(const TRC& original, const TRC& reread) {
  std::vector<ResidueRef> written;
  for (ResidueRef r = 0; r < original.residues.residues.size(); ++r) {
    if (!original.residues.residues[r].empty()) written.push_back(r);
  }
  std::vector<std::optional<AtomRef>> moved(original.topology.symbols.size());
  EXPECT_EQ(reread.residues.residues.size(), written.size());
  if (reread.residues.residues.size() != written.size()) return moved;
  const std::vector<std::size_t> chain_before = chain_of_residues(original);
  const std::vector<std::size_t> chain_after = chain_of_residues(reread);
  const Topology& before = original.topology;
  const Topology& after = reread.topology;
  for (std::size_t k = 0; k < written.size(); ++k) {
    const ResidueRef r = written[k];
    SCOPED_TRACE(testing::Message() << "residue " << r);
    EXPECT_EQ(reread.residues.seqs[k], in_columns(original.residues.seqs[r], 3));
    EXPECT_EQ(reread.residues.seq_ns[k], original.residues.seq_ns[r]);
    EXPECT_EQ(reread.residues.insertion_codes[k], in_columns(original.residues.insertion_codes[r], 1));
    // Atom records name chain i by the character 'A' + i.
    EXPECT_EQ(reread.chains.labels->at(chain_after[k]).front(), std::string(1, char('A' + chain_before[r])));
    const Residue& old_atoms = original.residues.residues[r];
    const Residue& new_atoms = reread.residues.residues[k];
    EXPECT_EQ(new_atoms.size(), old_atoms.size());
    for (std::size_t i = 0; i < std::min(old_atoms.size(), new_atoms.size()); ++i) {
      const AtomRef a = old_atoms[i];
      const AtomRef b = new_atoms[i];
      moved[a] = b;
      EXPECT_EQ(after.symbols[b], before.symbols[a]) << "atom " << a;
      EXPECT_EQ((*after.labels)[b], in_columns(atom_name(before, a), 4)) << "atom " << a;
      EXPECT_EQ(charge_of(after, b), charge_of(before, a)) << "atom " << a;
      EXPECT_TRUE(same_coordinates({after.geometry.begin() + 3 * b, after.geometry.begin() + 3 * b + 3},
                                   {before.geometry.begin() + 3 * a, before.geometry.begin() + 3 * a + 3}, 3))
          << "atom " << a;
    }
  }
  return moved;
}

// Bonds between two atoms of amino-acid residues are not written; every other bond between written atoms
// comes back, its order counted in CONECT records: single to sextuple as they are, any other as single.
void expect_same_bonds(const TRC& original, const TRC& reread, const std::vector<std::optional<AtomRef>>& moved) {
  std::vector<bool> in_amino_acid(original.topology.symbols.size(), false);
  for (std::size_t r = 0; r < original.residues.residues.size(); ++r) {
    if (!AminoAcidSeq::is_amino_acid(original.residues.seqs[r])) continue;
    for (const AtomRef a : original.residues.residues[r]) in_amino_acid[a] = true;
  }
  std::vector<Bond> expected;
  for (const Bond& bond : original.topology.connectivity.value_or(std::vector<Bond>{})) {
    if (in_amino_acid[bond.first] && in_amino_acid[bond.second]) continue;
    if (!moved[bond.first] || !moved[bond.second]) continue;
    const AtomRef a = *moved[bond.first];
    const AtomRef b = *moved[bond.second];
    const auto units = static_cast<std::uint8_t>(bond.order);
    expected.push_back({std::min(a, b), std::max(a, b), units >= 1 && units <= 6 ? bond.order : BondOrder::Single});
  }
  std::vector<Bond> found = reread.topology.connectivity.value_or(std::vector<Bond>{});
  const auto by_atoms = [](const Bond& x, const Bond& y) {
    return std::pair(x.first, x.second) < std::pair(y.first, y.second);
  };
  std::ranges::sort(expected, by_atoms);
  std::ranges::sort(found, by_atoms);
  EXPECT_EQ(found, expected);
}

TEST(WriterRoundTrip, PdbKeepsResiduesAtomsAndBondsInTheirColumns) {
  std::size_t compared = 0;
  for_each_corpus_structure([&compared](const Read& read) {
    const TRC& original = read.trc;
    const bool has_atoms_in_residues =
        std::ranges::any_of(original.residues.residues, [](const Residue& residue) { return !residue.empty(); });
    if (!has_atoms_in_residues || !fits_pdb_columns(original)) return;
    const auto text = pdb::to_pdb(original);
    // What the PDB reader makes, the PDB writer writes.
    if (read.file.starts_with("pdb/")) { ASSERT_TRUE(text.has_value()) << text.error().message; }
    if (!text) return;
    const auto reread = pdb::from_pdb_with_options(*text, false);
    ASSERT_TRUE(reread.has_value()) << to_string(reread.error());
    ASSERT_EQ(reread->size(), 1U);
    expect_same_bonds(original, reread->front(), expect_same_residues(original, reread->front()));
    ++compared;
  });
  EXPECT_GT(compared, 0U);
}

}  // namespace
}  // namespace redivi
