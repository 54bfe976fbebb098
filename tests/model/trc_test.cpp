// The structure check: consistent structures pass, and the first disagreement is reported in check order.
#include "redivi/trc.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace redivi {
namespace {

using E = TRCError;
using Labels = std::vector<std::vector<std::string>>;

// A structure whose residues hold the given atoms, each residue in a chain of its own.
TRC structure(std::size_t atom_count, std::vector<Residue> residues) {
  TRC trc;
  trc.topology.symbols.assign(atom_count, Element::O);
  trc.topology.geometry.assign(3 * atom_count, 0.0f);
  for (std::size_t i = 0; i < residues.size(); ++i) {
    trc.residues.seqs.push_back("HOH");
    trc.residues.seq_ns.push_back(static_cast<std::int32_t>(i));
    trc.residues.insertion_codes.push_back("");
    trc.chains.chains.push_back({static_cast<ResidueRef>(i)});
  }
  trc.residues.residues = std::move(residues);
  return trc;
}

TRC with(TRC trc, const std::function<void(TRC&)>& change) {
  change(trc);
  return trc;
}

TEST(TRCCheck, AcceptsConsistentStructures) {
  const TRC cases[] = {
      TRC{},
      structure(3, {{0, 2}, {1}}),
      with(structure(3, {{2}, {0, 1}}),
           [](TRC& t) {
             t.chains.chains = {{1, 0}};
             t.residues.labeled = std::vector<ResidueRef>{1, 1};
             t.residues.labels = Labels{{"a"}, {}};
             t.chains.labeled = std::vector<std::uint32_t>{0};
             t.chains.labels = Labels{{"A"}};
             t.chains.alpha_helices.emplace().push("H", 9, 9, 9, std::nullopt, std::nullopt);  // not tested
           }),
      // A residue without atoms and a residue in two chains.
      with(structure(1, {{0}, {}}),
           [](TRC& t) {
             t.chains.chains = {{0, 1}, {1}};
           }),
  };
  for (const TRC& trc : cases) {
    const auto result = trc.check();
    EXPECT_TRUE(result.has_value()) << debug_string(result.error());
  }
}

TEST(TRCCheck, ReportsTheFirstDisagreementInOrder) {
  struct Case {
    const char* name;
    TRC trc;
    E expected;
  };
  using R = ResiduesError;
  const Case cases[] = {
      {"topology first",
       with(structure(2, {{0}}),
            [](TRC& t) {
              t.topology.geometry.clear();
              t.residues.labels.emplace();
            }),
       {E::InvalidTopology{{TopologyError::InvalidGeometryLength{0, 2}}}}},
      {"residue labels missing",
       with(structure(1, {{0}}), [](TRC& t) { t.residues.labeled.emplace(); }),
       {E::InvalidResidues{{R::LabelsMissing{}}}}},
      {"residue label lengths",
       with(structure(1, {{0}}),
            [](TRC& t) {
              t.residues.labeled = std::vector<ResidueRef>{0, 0};
              t.residues.labels = Labels{{"a"}};
            }),
       {E::InvalidResidues{{R::LabelMismatch{2, 1}}}}},
      {"label of a missing residue",
       with(structure(1, {{0}}),
            [](TRC& t) {
              t.residues.labeled = std::vector<ResidueRef>{0, 1};
              t.residues.labels = Labels{{"a"}, {"b"}};
            }),
       {E::InvalidResidues{{R::InvalidLabel{2, 1}}}}},
      {"residue labeled missing",
       with(structure(1, {{0}}), [](TRC& t) { t.residues.labels.emplace(); }),
       {E::InvalidResidues{{R::LabeledMissing{}}}}},
      {"labels before columns",
       with(structure(1, {{0}}),
            [](TRC& t) {
              t.residues.labels.emplace();
              t.residues.seqs.clear();
            }),
       {E::InvalidResidues{{R::LabeledMissing{}}}}},
      {"seqs",
       with(structure(1, {{0}}), [](TRC& t) { t.residues.seqs.push_back("X"); }),
       {E::InvalidResidues{{R::InvalidSeqsLength{2, 1}}}}},
      {"seq_ns",
       with(structure(1, {{0}}), [](TRC& t) { t.residues.seq_ns.clear(); }),
       {E::InvalidResidues{{R::InvalidSeqNLength{0, 1}}}}},
      {"insertion codes",
       with(structure(2, {{0}, {1}}), [](TRC& t) { t.residues.insertion_codes.pop_back(); }),
       {E::InvalidResidues{{R::InvalidInsertionCodesLength{1, 2}}}}},
      {"chain labels missing",
       with(structure(1, {{0}}), [](TRC& t) { t.chains.labeled.emplace(); }),
       {E::InvalidChains{ChainsError::LabelsMissing}}},
      {"chain label lengths",
       with(structure(1, {{0}}),
            [](TRC& t) {
              t.chains.labeled = std::vector<std::uint32_t>{0};
              t.chains.labels.emplace();
            }),
       {E::InvalidChains{ChainsError::LabelMismatch}}},
      {"label of a missing chain",
       with(structure(1, {{0}}),
            [](TRC& t) {
              t.chains.labeled = std::vector<std::uint32_t>{1};
              t.chains.labels = Labels{{"B"}};
            }),
       {E::InvalidChains{ChainsError::LabelMismatch}}},
      {"chain labeled missing",
       with(structure(1, {{0}}), [](TRC& t) { t.chains.labels.emplace(); }),
       {E::InvalidChains{ChainsError::LabeledMissing}}},
      {"atoms without residues", structure(2, {}), {E::AtomsNotInResidues{}}},
      {"atom left out", structure(2, {{1}}), {E::AtomsNotInResidues{}}},
      {"atom in two residues", structure(2, {{0, 1}, {1}}), {E::AtomDoesNotExist{1}}},
      {"atom twice in one residue", structure(2, {{0, 0, 1}}), {E::AtomDoesNotExist{0}}},
      {"first repeat in walk order", structure(1, {{7}, {0}, {0}, {7}}), {E::AtomDoesNotExist{0}}},
      // As many distinct atoms as the topology has, but one of them does not exist.
      {"residue atom past the atoms", structure(2, {{0}, {5}}), {E::AtomsNotInResidues{}}},
      {"repeat past the atoms", structure(1, {{9}, {9}}), {E::AtomDoesNotExist{9}}},
      {"atoms in order, then one past them", structure(2, {{0}, {1, 2}}), {E::AtomsNotInResidues{}}},
      {"residues in order, then one past them",
       with(structure(1, {{0}}),
            [](TRC& t) {
              t.chains.chains = {{0, 1}};
            }),
       {E::ResidueDoesNotExist{1}}},
      {"residues without chains",
       with(structure(1, {{0}}), [](TRC& t) { t.chains.chains.clear(); }),
       {E::ResidueNotInChain{0}}},
      {"membership before references",
       with(structure(2, {{0}, {1}}),
            [](TRC& t) {
              t.chains.chains = {{0, 4}};
            }),
       {E::ResidueNotInChain{1}}},
      {"chain of a missing residue without atoms",
       with(TRC{}, [](TRC& t) { t.chains.chains = {{0}}; }),
       {E::ResidueDoesNotExist{0}}},
      {"chain of a missing residue",
       with(structure(1, {{0}}),
            [](TRC& t) {
              t.chains.chains = {{0}, {3, 2}};
            }),
       {E::ResidueDoesNotExist{3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = c.trc.check();
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.expected) << debug_string(result.error());
  }
}

}  // namespace
}  // namespace redivi
