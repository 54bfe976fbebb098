// Numbers in text: the short forms at their limits, the general parser, the float literal rule and charges.
#include "text/numbers.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace redivi::detail::text {
namespace {

constexpr float infinity = std::numeric_limits<float>::infinity();

TEST(ShortInteger, TakesAMinusAndUpToNineDigits) {
  struct Case {
    std::string_view text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"7", 7},
      {"-0", 0},
      {"-12", -12},
      {"123456789", 123456789},
      {"-999999999", -999999999},
      {"0000000001", std::nullopt},  // ten digits, even with a small value
      {"1234567890", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+5", std::nullopt},
      {" 5", std::nullopt},
      {"5 ", std::nullopt},
      {"--5", std::nullopt},
      {"1x", std::nullopt},
      {"/", std::nullopt},
      {":", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_short_integer<std::int32_t>(c.text), c.value);
  }
  EXPECT_EQ(parse_short_integer<std::uint32_t>("999999999"), 999999999u);
  EXPECT_EQ(parse_short_integer<std::uint32_t>("-1"), std::nullopt);  // no sign for unsigned types
  EXPECT_EQ(parse_short_integer<std::uint64_t>("-0"), std::nullopt);
}

TEST(ShortDecimal, TakesAsManyDigitsAsAreExactInTheType) {
  struct Case {
    std::string_view text;
    std::optional<float> value;
  };
  const Case cases[] = {
      {"1234567", 1234567.0F},
      {"-1.234567", -1.234567F},
      {"123456.7", 123456.7F},
      {".5", 0.5F},
      {"5.", 5.0F},
      {"-.25", -0.25F},
      {"0.001", 0.001F},
      {"-12.345", -12.345F},
      {"12345678", std::nullopt},  // eight digits: not all of them exact
      {"1.2345678", std::nullopt},
      {"0.0000001", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"", std::nullopt},
      {"-.", std::nullopt},
      {"+1.5", std::nullopt},
      {"1e5", std::nullopt},
      {"1.2.3", std::nullopt},
      {" 1.5", std::nullopt},
      {"1.5 ", std::nullopt},
      {"--1", std::nullopt},
      {"inf", std::nullopt},
      {"1,5", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_short_decimal<float>(c.text), c.value);
  }
  EXPECT_EQ(parse_short_decimal<double>("123456789.012345"), 123456789.012345);
  EXPECT_EQ(parse_short_decimal<double>("-0.00000000000001"), -0.00000000000001);
  EXPECT_EQ(parse_short_decimal<double>("1234567890.123456"), std::nullopt);  // sixteen digits
  const auto negative_zero = parse_short_decimal<float>("-0.000");
  ASSERT_TRUE(negative_zero.has_value());
  EXPECT_TRUE(std::signbit(*negative_zero));
}

// The one division must round as from_chars does, for every digit count and point position.
template <class T>
void expect_short_decimals_match_from_chars(std::size_t max_digits) {
  std::mt19937_64 random{12345};
  for (int i = 0; i < 20000; ++i) {
    const std::size_t digit_count = 1 + random() % max_digits;
    std::string text = random() % 2 ? "-" : "";
    const std::size_t point = random() % (digit_count + 1);
    for (std::size_t k = 0; k < digit_count; ++k) {
      if (k == point) text.push_back('.');
      text.push_back(static_cast<char>('0' + random() % 10));
    }
    T expected{};
    std::from_chars(text.data(), text.data() + text.size(), expected);
    const auto value = parse_short_decimal<T>(text);
    ASSERT_TRUE(value.has_value()) << text;
    ASSERT_EQ(*value, expected) << text;
    ASSERT_EQ(std::signbit(*value), std::signbit(expected)) << text;
  }
}

TEST(ShortDecimal, RoundsAsTheGeneralParserDoes) {
  expect_short_decimals_match_from_chars<float>(7);
  expect_short_decimals_match_from_chars<double>(15);
}

TEST(ParseNumber, ReadsTheWholeTextWithinTheTypesRange) {
  std::int32_t i = 0;
  std::uint32_t u = 0;
  float f = 0;
  EXPECT_TRUE(parse_number("+42", i) && i == 42);
  EXPECT_TRUE(parse_number("-2147483648", i) && i == std::numeric_limits<std::int32_t>::min());
  EXPECT_TRUE(parse_number("0000000000012", i) && i == 12);  // past the short form: the general parser
  EXPECT_TRUE(parse_number("4294967295", u) && u == 4294967295u);
  EXPECT_TRUE(parse_number("+1.5e1", f) && f == 15.0F);
  EXPECT_TRUE(parse_number("1234.5678901", f) && f == 1234.5678901F);
  EXPECT_TRUE(parse_number("-Infinity", f) && f == -infinity);
  EXPECT_TRUE(parse_number("nan(1)", f) && std::isnan(f));
  const std::string_view refused_integers[] = {"",           "+",           "-",  "+-1", "++1",
                                               "2147483648", "-2147483649", "1 ", " 1",  "1.0"};
  for (const std::string_view text : refused_integers) EXPECT_FALSE(parse_number(text, i)) << text;
  EXPECT_FALSE(parse_number("-1", u));
  EXPECT_FALSE(parse_number("4294967296", u));
  const std::string_view refused_floats[] = {"", "+", "+-1", "1e39", "-1e39", "1e-50", "1.5x", "0x1p3"};
  for (const std::string_view text : refused_floats) EXPECT_FALSE(parse_number(text, f)) << text;
}

TEST(FloatLiteral, RoundsPastTheRangeToInfinityOrZero) {
  struct Case {
    std::string_view text;
    float value;
    std::size_t length;
  };
  const Case cases[] = {
      {"1e39", infinity, 4},
      {"-1e39", -infinity, 5},
      {"+1e39", infinity, 5},
      {"340282366920938463463374607431768211456", infinity, 39},
      {"0.00001e44", infinity, 10},
      {"1e-50", 0.0F, 5},
      {"-1e-50", -0.0F, 6},
      {"123456e-51", 0.0F, 10},  // the first digit is what counts, not the last
      {"0.000000000000000000000000000000000000000000000001", 0.0F, 50},
      {"1e99999999999999999999999", infinity, 25},  // an exponent past any integer type
      {"1e-99999999999999999999999", 0.0F, 26},
      {"2.5 x", 2.5F, 3},
      {"1e", 1.0F, 1},
      {"INF", infinity, 3},
      {"-infinity", -infinity, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto literal = parse_float_literal(c.text);
    ASSERT_TRUE(literal.has_value());
    EXPECT_EQ(literal->value, c.value);
    EXPECT_EQ(std::signbit(literal->value), std::signbit(c.value));
    EXPECT_EQ(literal->length, c.length);
  }
  EXPECT_TRUE(std::isnan(parse_float_literal("NaN")->value));
  for (const std::string_view text : {"", "+", "+-1", "-+1", "x", " 1", "nan(1)", "nan()", ".", "e5"}) {
    EXPECT_FALSE(parse_float_literal(text).has_value()) << text;
  }
}

TEST(Charge, ReadsTheSignOnEitherSide) {
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
      {"0", 0},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"+2-", -2},
      {"--2", 2},
      {"2+3", std::nullopt},
      {"x", std::nullopt},
      {"2 +", std::nullopt},
      {"-2147483647", -2147483647},
      {"-2147483648", std::nullopt},
      {"2147483648-", std::nullopt},
      {"-2147483648-", std::numeric_limits<std::int32_t>::min()},  // negating the lowest value wraps to itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_charge(c.text), c.charge);
  }
}

}  // namespace
}  // namespace redivi::detail::text
