// The residue key's order, and atoms filed in runs joined into residues in key order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "structure/residue_runs.hpp"

namespace redivi::structure::detail {
namespace {

TEST(ResidueKey, OrdersByChainNumberInsertionCodeAndName) {
  struct Case {
    ResidueKey before, after;
  };
  const Case cases[] = {
      {{"A", 9, "~", "ALA"}, {"B", 1, "~", "ALA"}},    // chain first
      {{"", 5, "~", "ALA"}, {"A", 1, "~", "ALA"}},     // the blank chain before every other
      {{"A", 1, "~", "ALA"}, {"AA", 1, "~", "ALA"}},   // a prefix before the longer text
      {{"Z", 1, "~", "ALA"}, {"a", 1, "~", "ALA"}},    // bytewise: upper case before lower case
      {{"A", -1, "~", "ALA"}, {"A", 0, "~", "ALA"}},   // numbers as signed numbers
      {{"A", 52, "A", "ALA"}, {"A", 52, "~", "ALA"}},  // no insertion code after the lettered ones
      {{"A", 10, "~", "ALA"}, {"A", 10, "~", "GLY"}},  // the name is part of the key
      {{"A", 1, "~", "\x7f"}, {"A", 1, "~", "\x80"}},  // bytes compare unsigned
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.before.chain_id) + " " + std::to_string(c.before.res_seq));
    EXPECT_LT(c.before, c.after);
    EXPECT_GT(c.after, c.before);
    EXPECT_NE(c.before, c.after);
    EXPECT_EQ(c.before,
              (ResidueKey{std::string(c.before.chain_id), c.before.res_seq, c.before.i_code, c.before.res_name}));
  }
}

// One filed atom: its key fields and its insertion code as stored.
struct Atom {
  std::string chain_id;
  std::int32_t res_seq;
  std::string i_code;  // empty for none
  std::string res_name = "ALA";
  ResidueKey key() const { return {chain_id, res_seq, i_code.empty() ? "~" : std::string_view(i_code), res_name}; }
};

SortedResidues residues_of(const std::vector<Atom>& atoms) {
  ResidueRuns runs;
  for (std::size_t i = 0; i < atoms.size(); ++i)
    runs.file_atom(atoms[i].key(), atoms[i].i_code, static_cast<AtomRef>(i));
  return residues_in_key_order(runs);
}

// What the runs must give: the atoms sorted stably by key, cut where the key changes.
SortedResidues sorted_by_brute_force(const std::vector<Atom>& atoms) {
  std::vector<AtomRef> order(atoms.size());
  for (std::size_t i = 0; i < atoms.size(); ++i) order[i] = static_cast<AtomRef>(i);
  std::stable_sort(order.begin(), order.end(), [&](AtomRef a, AtomRef b) { return atoms[a].key() < atoms[b].key(); });
  SortedResidues sorted;
  for (const AtomRef atom : order) {
    if (sorted.keys.empty() || sorted.keys.back() != atoms[atom].key()) sorted.push_back(atoms[atom].key(), "", {});
    sorted.residues.residues.back().push_back(atom);
    sorted.residues.insertion_codes.back() = atoms[atom].i_code;
  }
  return sorted;
}

TEST(ResidueRuns, JoinAtomsOfOneKeyInKeyOrderWhereverTheyStand) {
  const std::vector<std::vector<Atom>> inputs = {
      {},
      {{"A", 1, ""}, {"A", 1, ""}, {"A", 2, ""}},
      // Chains recurring: the ligands and waters of every chain after all the polymers.
      {{"B", 1, ""}, {"A", 1, ""}, {"A", 2, ""}, {"B", 2, ""}, {"B", 500, "", "HOH"}, {"A", 500, "", "HOH"}},
      // A chain out of order: a ligand numbered below the polymer, and negative numbers after positive.
      {{"A", 5, ""}, {"A", 6, ""}, {"A", 1, "", "HEM"}, {"A", -2, ""}, {"A", 7, ""}},
      // Residue 52 without a code after 52A and 52B; one key split by another residue.
      {{"A", 52, ""}, {"A", 52, "A"}, {"A", 52, "B"}, {"A", 52, "~"}, {"A", 53, ""}, {"A", 52, ""}},
      // Two names under one chain, number and code are two residues.
      {{"A", 10, "", "ALA"}, {"A", 10, "", "GLY"}, {"A", 10, "", "ALA"}},
  };
  for (const auto& atoms : inputs) {
    const SortedResidues got = residues_of(atoms);
    const SortedResidues expected = sorted_by_brute_force(atoms);
    EXPECT_EQ(got.keys, expected.keys);
    EXPECT_EQ(got.residues.residues, expected.residues.residues);
    EXPECT_EQ(got.residues.insertion_codes, expected.residues.insertion_codes);  // the last atom's code
  }
}

TEST(ResidueRuns, AgreeWithASortOfTheAtomsOnShuffledChains) {
  std::mt19937 random(7);
  const std::string chains[] = {"A", "B", "", "a", "AB"};
  for (int round = 0; round < 50; ++round) {
    std::vector<Atom> atoms;
    const int count = 1 + static_cast<int>(random() % 300);
    for (int i = 0; i < count; ++i) {
      const int chain = static_cast<int>(random() % 5);
      const int res_seq = static_cast<int>(random() % 12) - 3;
      atoms.push_back({chains[chain], res_seq, random() % 4 == 0 ? "A" : "", random() % 5 == 0 ? "HOH" : "ALA"});
      // Several atoms of a residue in a row, as in a file.
      for (unsigned more = random() % 3; more > 0; --more) atoms.push_back(atoms.back());
    }
    SCOPED_TRACE(round);
    const SortedResidues got = residues_of(atoms);
    const SortedResidues expected = sorted_by_brute_force(atoms);
    ASSERT_EQ(got.keys, expected.keys);
    ASSERT_EQ(got.residues.residues, expected.residues.residues);
    ASSERT_EQ(got.residues.insertion_codes, expected.residues.insertion_codes);
  }
}

TEST(ResidueRuns, AddResiduesWithoutAtomsOnlyForNewKeys) {
  const std::vector<Atom> atoms = {{"A", 2, "~"}, {"B", 1, ""}};  // a code written "~" is kept as written
  const SortedResidues filed = residues_of(atoms);
  struct Case {
    std::vector<EmptyResidue> added;
    std::vector<ResidueKey> keys;
    std::vector<std::vector<AtomRef>> atoms;
    std::vector<std::string> insertion_codes;
  };
  const Case cases[] = {
      {{}, {{"A", 2, "~", "ALA"}, {"B", 1, "~", "ALA"}}, {{0}, {1}}, {"~", ""}},
      // In key order among the others, whatever order they are added in.
      {{{{"C", 1, "~", "GLY"}, ""}, {{"A", 1, "~", "GLY"}, ""}, {{"A", 3, "X", "GLY"}, "X"}},
       {{"A", 1, "~", "GLY"}, {"A", 2, "~", "ALA"}, {"A", 3, "X", "GLY"}, {"B", 1, "~", "ALA"}, {"C", 1, "~", "GLY"}},
       {{}, {0}, {}, {1}, {}},
       {"", "~", "X", "", ""}},
      // A key that has atoms keeps them and its code; of two equal keys added, the first counts.
      {{{{"A", 2, "~", "ALA"}, ""}, {{"B", 2, "~", "GLY"}, "~"}, {{"B", 2, "~", "GLY"}, ""}},
       {{"A", 2, "~", "ALA"}, {"B", 1, "~", "ALA"}, {"B", 2, "~", "GLY"}},
       {{0}, {1}, {}},
       {"~", "", "~"}},
  };
  for (const Case& c : cases) {
    SortedResidues residues = filed;
    add_residues_without_atoms(residues, c.added);
    EXPECT_EQ(residues.keys, c.keys);
    EXPECT_EQ(residues.residues.residues, c.atoms);
    EXPECT_EQ(residues.residues.insertion_codes, c.insertion_codes);
    ASSERT_EQ(residues.residues.seqs.size(), c.keys.size());
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
      EXPECT_EQ(residues.residues.seqs[i], c.keys[i].res_name);
      EXPECT_EQ(residues.residues.seq_ns[i], c.keys[i].res_seq);
    }
  }
}

}  // namespace
}  // namespace redivi::structure::detail
