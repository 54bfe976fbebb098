// Bond orders: exactly the thirteen bytes that name one convert.
#include "redivi/bond.hpp"

#include <gtest/gtest.h>

namespace redivi {
namespace {

TEST(BondOrder, ConvertsExactlyTheThirteenBondOrderBytes) {
  struct Case {
    std::uint8_t byte;
    std::string_view name;
  };
  const Case cases[] = {{0, "Unspecified"},    {1, "Single"},          {2, "Double"},        {3, "Triple"},
                        {4, "Quadruple"},      {5, "Quintuple"},       {6, "Sextuple"},      {250, "FiveAndAHalf"},
                        {251, "FourAndAHalf"}, {252, "ThreeAndAHalf"}, {253, "TwoAndAHalf"}, {254, "OneAndAHalf"},
                        {255, "Ring"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto order = bond_order_from(c.byte);
    ASSERT_TRUE(order.has_value());
    EXPECT_EQ(static_cast<std::uint8_t>(*order), c.byte);
    EXPECT_EQ(debug_string(*order), c.name);
  }
  for (int byte = 7; byte <= 249; ++byte) {
    EXPECT_FALSE(bond_order_from(static_cast<std::uint8_t>(byte)).has_value()) << byte;
  }
}

}  // namespace
}  // namespace redivi
