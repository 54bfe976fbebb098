// Element symbols: parsing in any letter case, refusals that return the input, every symbol's round trip.
#include "redivi/element.hpp"

#include <gtest/gtest.h>

#include <bit>

namespace redivi {
namespace {

TEST(Element, ParsesSymbolsInAnyLetterCase) {
  struct Case {
    std::string_view text;
    std::uint8_t number;
  };
  const Case cases[] = {{"X", 0},  {"x", 0},  {"C", 6},    {"c", 6},    {"Ca", 20}, {"CA", 20}, {"ca", 20},
                        {"hE", 2}, {"He", 2}, {"Og", 118}, {"og", 118}, {"U", 92},  {"W", 74}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto element = Element::try_from(c.text);
    ASSERT_TRUE(element.has_value());
    EXPECT_EQ(element->atomic_number(), c.number);
  }
}

TEST(Element, RejectsTextsNamingNoElementWithTheInputUnchanged) {
  for (std::string_view text : {"", "Xx", "D", "T", "A", "Z", " H", "H ", "H1", "Heh", "CAL", "1", "\xc3\xa9"}) {
    SCOPED_TRACE(text);
    const auto element = Element::try_from(text);
    ASSERT_FALSE(element.has_value());
    EXPECT_EQ(element.error(), text);
  }
}

TEST(Element, EverySymbolRoundTripsThroughItsText) {
  for (std::uint8_t number = 0; number < Element::count; ++number) {
    const Element element = *Element::from_atomic_number(number);
    const auto parsed = Element::try_from(element.symbol());
    ASSERT_TRUE(parsed.has_value()) << element.symbol();
    EXPECT_EQ(*parsed, element);
  }
  EXPECT_EQ(Element::Og.symbol(), "Og");
  EXPECT_EQ(Element::X.symbol(), "X");
  EXPECT_EQ(to_string(Element::Fe), "Fe");
}

TEST(Element, ExistsOnlyForTheAtomicNumbersOfItsSymbols) {
  static_assert(Element::from_atomic_number(118) == Element::Og);
  static_assert(Element::from_atomic_number(0) == Element::X);
  for (unsigned number = Element::count; number <= 255; ++number) {
    EXPECT_FALSE(Element::from_atomic_number(static_cast<std::uint8_t>(number)).has_value()) << number;
  }
  // A byte copied in from elsewhere still has a symbol to show: an empty one, never memory past the table.
  for (unsigned byte = Element::count; byte <= 255; ++byte) {
    EXPECT_EQ(std::bit_cast<Element>(static_cast<std::uint8_t>(byte)).symbol(), "") << byte;
  }
}

}  // namespace
}  // namespace redivi
