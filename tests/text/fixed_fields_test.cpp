// Numbers filling fixed-width fields: the word-at-a-time readings agree with the byte-wise rules.
#include "text/fixed_fields.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace redivi::detail::text {
namespace {

template <class Int>
std::optional<Int> right_aligned(std::string_view field) {
  Int value{};
  return parse_right_aligned(field, value) ? std::optional{value} : std::nullopt;
}

std::optional<float> fixed_point(std::string_view field, std::size_t decimals) {
  float value{};
  return parse_fixed_point(field, decimals, value) ? std::optional{value} : std::nullopt;
}

TEST(RightAligned, ReadsBlanksASignAndDigitsToTheEnd) {
  struct Case {
    std::string_view field;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"  123", 123},
      {"  -45", -45},
      {"    0", 0},
      {"-9999999", -9999999},
      {"12345678", 12345678},
      {"       123456789", 123456789},  // wider than a word
      {"     -123456789", -123456789},
      {"1234567890", std::nullopt},
      {"", std::nullopt},
      {"     ", std::nullopt},
      {"    -", std::nullopt},
      {"  +5", std::nullopt},
      {"123 ", std::nullopt},
      {" 1 2", std::nullopt},
      {" --5", std::nullopt},
      {"  12x", std::nullopt},
      {"\t12", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(right_aligned<std::int32_t>(c.field), c.value);
  }
  EXPECT_EQ(right_aligned<std::uint32_t>("   42"), 42u);
  EXPECT_EQ(right_aligned<std::uint32_t>("  -42"), std::nullopt);
}

TEST(FixedPoint, ReadsThePointAtItsColumn) {
  struct Case {
    std::string_view field;
    std::size_t decimals;
    std::optional<float> value;
  };
  const Case cases[] = {
      {"  -1.234", 3, -1.234F},      {"1234.567", 3, 1234.567F},    {"    .500", 3, 0.5F},
      {"   -.500", 3, -0.5F},        {"  1.00", 2, 1.0F},           {" 20.34", 2, 20.34F},
      {"-99.99", 2, -99.99F},        {"     1.5", 1, 1.5F},         {"  12345.67", 2, 12345.67F},  // wider than a word
      {" 12.34  ", 3, std::nullopt}, {"   1.23", 3, std::nullopt},  {"  +1.234", 3, std::nullopt},
      {"  1 .234", 3, std::nullopt}, {"-1-1.234", 3, std::nullopt}, {"12345.678", 3, std::nullopt},
      {"        ", 3, std::nullopt}, {"", 3, std::nullopt},         {"  1.2x4", 3, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(fixed_point(c.field, c.decimals), c.value);
  }
  const auto negative_zero = fixed_point("  -0.000", 3);
  ASSERT_TRUE(negative_zero.has_value());
  EXPECT_TRUE(std::signbit(*negative_zero));
}

// Fields of random bytes that mostly look like numbers, each read both ways: a word reading must accept
// and give exactly what the short forms do after the blanks.
std::string random_field(std::mt19937_64& random, std::size_t size) {
  constexpr std::string_view bytes = "   --..0123456789+x";
  std::string field;
  for (std::size_t i = 0; i < size; ++i) field.push_back(bytes[random() % bytes.size()]);
  return field;
}

std::string_view after_blanks(std::string_view field) {
  return field.substr(std::min(field.find_first_not_of(' '), field.size()));
}

TEST(RightAligned, WordReadingAgreesWithTheShortInteger) {
  std::mt19937_64 random{7};
  for (int i = 0; i < 200000; ++i) {
    const std::string field = random_field(random, random() % 9);
    SCOPED_TRACE(field);
    ASSERT_EQ(right_aligned<std::int32_t>(field), parse_short_integer<std::int32_t>(after_blanks(field)));
    ASSERT_EQ(right_aligned<std::uint32_t>(field), parse_short_integer<std::uint32_t>(after_blanks(field)));
  }
}

// The layout "%8.3f" writes: blanks, an optional "-", digits, and the point with three digits after it.
bool is_coordinate_layout(std::string_view field) {
  std::string_view body = after_blanks(field);
  if (body.starts_with('-')) body.remove_prefix(1);
  if (body.size() < 4 || field[4] != '.') return false;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (i != body.size() - 4 && (body[i] < '0' || body[i] > '9')) return false;
  }
  return true;
}

TEST(FixedPoint, WordReadingAgreesWithTheShortDecimal) {
  std::mt19937_64 random{11};
  for (int i = 0; i < 200000; ++i) {
    std::string field = random_field(random, 8);
    if (random() % 2) field[4] = '.';
    SCOPED_TRACE(field);
    const auto expected = is_coordinate_layout(field) ? parse_short_decimal<float>(after_blanks(field)) : std::nullopt;
    ASSERT_EQ(fixed_point(field, 3), expected);
  }
}

}  // namespace
}  // namespace redivi::detail::text
