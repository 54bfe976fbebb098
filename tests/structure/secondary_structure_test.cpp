// Helices and strands placed on a structure's residues by chain and both ends, and helix classes.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "structure/secondary_structure.hpp"

namespace redivi::structure::detail {
namespace {

TEST(SecondaryStructure, ResolvesHelicesAndStrandsByChainAndBothEnds) {
  SortedResidues sorted;
  for (const ResidueKey& key : {ResidueKey{"A", 1, "~", "ALA"}, ResidueKey{"A", 2, "~", "GLY"},
                                ResidueKey{"A", 3, "X", "SER"}, ResidueKey{"B", 1, "~", "ALA"}}) {
    sorted.push_back(key, "", {});
  }
  Residues residues;
  Chains chains;
  const StructureIndex index = fill_residues_and_chains(std::move(sorted), residues, chains);
  struct Case {
    ResidueKey start, end;
    std::optional<std::array<std::uint32_t, 3>> span;  // chain, start, end
  };
  const Case cases[] = {
      {{"A", 1, "~", "ALA"}, {"A", 3, "X", "SER"}, std::array<std::uint32_t, 3>{0, 0, 2}},
      {{"A", 2, "~", "GLY"}, {"A", 1, "~", "ALA"}, std::array<std::uint32_t, 3>{0, 1, 0}},  // ends not compared
      {{"A", 2, "~", "GLY"}, {"B", 1, "~", "ALA"}, std::array<std::uint32_t, 3>{0, 1, 3}},  // the start's chain
      {{"A", 1, "~", "GLY"}, {"A", 2, "~", "GLY"}, std::nullopt},                           // the start's name differs
      {{"A", 3, "~", "SER"}, {"A", 3, "X", "SER"}, std::nullopt},  // the start has an insertion code
      {{"A", 1, "~", "ALA"}, {"A", 4, "~", "ALA"}, std::nullopt},  // no such end
      {{"C", 1, "~", "ALA"}, {"A", 1, "~", "ALA"}, std::nullopt},  // no such chain
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start.chain_id) + std::to_string(c.start.res_seq) + std::string(c.end.chain_id));
    const auto span = resolve_span(index, c.start, c.end);
    ASSERT_EQ(span.has_value(), c.span.has_value());
    if (span) { EXPECT_EQ((std::array<std::uint32_t, 3>{span->chain, span->start, span->end}), *c.span); }
  }
}

TEST(SecondaryStructure, NamesHelixClassesOneToTen) {
  EXPECT_EQ(helix_class(1), HelixClass::RightHandedAlpha);
  EXPECT_EQ(helix_class(10), HelixClass::Polyproline);
  for (const std::int32_t number : {0, 11, -1, -2147483647 - 1}) EXPECT_EQ(helix_class(number), std::nullopt) << number;
}

}  // namespace
}  // namespace redivi::structure::detail
