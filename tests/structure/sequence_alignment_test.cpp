// A chain's full sequence numbered against its residues: the chain's residues, the first number, the gaps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "structure/sequence_alignment.hpp"

namespace redivi::structure::detail {
namespace {

TEST(SequenceAlignment, FindsTheResiduesOfOneChain) {
  const std::vector<ResidueKey> keys = {
      {"", 1, "~", "ALA"}, {"A", 1, "~", "ALA"}, {"A", 2, "~", "ALA"}, {"AB", 1, "~", "ALA"}, {"B", 1, "~", "ALA"}};
  struct Case {
    std::string chain_id;
    std::size_t first, count;
  };
  const Case cases[] = {{"", 0, 1}, {"A", 1, 2}, {"AB", 3, 1}, {"B", 4, 1}, {"C", 5, 0}, {"0", 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chain_id);
    const auto chain = chain_residues(keys, c.chain_id);
    EXPECT_EQ(chain.size(), c.count);
    if (c.count > 0) { EXPECT_EQ(chain.data(), keys.data() + c.first); }
  }
}

TEST(SequenceAlignment, PlacesTheFirstNameOfTheChainsFirstResidue) {
  const std::vector<std::string> names = {"MET", "GLY", "ALA", "SER", "ALA"};
  struct Case {
    ResidueKey first;
    std::optional<std::int32_t> begin;
  };
  const Case cases[] = {
      {{"A", 3, "~", "ALA"}, 1},  // the first ALA is at position 2
      {{"A", 10, "~", "GLY"}, 9},
      {{"A", 0, "~", "MET"}, 0},
      {{"A", 1, "~", "TRP"}, std::nullopt},
      {{"A", -2147483647 - 1, "~", "GLY"}, 2147483647},  // numbers wrap in 32 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first.res_name);
    EXPECT_EQ(sequence_begin(names, c.first), c.begin);
  }
  EXPECT_EQ(sequence_begin(std::vector<std::string_view>{}, ResidueKey{"A", 1, "~", "ALA"}), std::nullopt);
}

TEST(SequenceAlignment, ListsThePositionsNoResidueOccupies) {
  // Residue 4 has an insertion code and another name: it still occupies position 4.
  const std::vector<ResidueKey> chain = {{"A", 3, "~", "ALA"}, {"A", 4, "B", "TRP"}, {"A", 6, "~", "ALA"}};
  struct Case {
    std::int32_t begin;
    std::size_t length;
    std::vector<std::pair<std::size_t, std::int32_t>> gaps;
  };
  const Case cases[] = {
      {1, 7, {{0, 1}, {1, 2}, {4, 5}, {6, 7}}},
      {3, 4, {{2, 5}}},
      {10, 2, {{0, 10}, {1, 11}}},
      {3, 0, {}},
      {2147483646, 3, {{0, 2147483646}, {1, 2147483647}, {2, -2147483647 - 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.begin);
    std::vector<std::pair<std::size_t, std::int32_t>> gaps;
    for (const SequenceGap gap : sequence_gaps(chain, c.begin, c.length)) gaps.emplace_back(gap.position, gap.res_seq);
    EXPECT_EQ(gaps, c.gaps);
  }
}

}  // namespace
}  // namespace redivi::structure::detail
