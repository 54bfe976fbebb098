// Inputs the fuzzers found, each cut to the smallest text that shows its fault.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "cif/document.hpp"

namespace redivi {
namespace {

// Glued cells were stored in their block, and a later block made the block list grow by copying:
// the copied loop's cells still viewed the freed glued texts of the original.
TEST(FuzzFindings, GluedCifCellsSurviveLaterBlocks) {
  std::string text = "data_a\nloop_\n_t.c\nx'yz'\n";
  for (int i = 0; i < 16; ++i) text += "data_b" + std::to_string(i) + "\n";
  const auto blocks = mmcif::detail::parse_mmcif(text);
  ASSERT_TRUE(blocks.has_value());
  ASSERT_EQ(blocks->size(), 17u);
  const mmcif::detail::Loop* loop = mmcif::detail::get_loop_data(blocks->front(), "_t");
  ASSERT_NE(loop, nullptr);
  ASSERT_EQ(loop->cells.size(), 1u);
  EXPECT_EQ(loop->cells[0], "xyz");
}

}  // namespace
}  // namespace redivi
