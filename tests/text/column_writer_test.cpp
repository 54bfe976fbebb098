// Fixed-column text: fixed-point floats exactly as std::to_chars writes them, integers, cuts by character.
#include "text/column_writer.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace redivi::detail::column_writer {
namespace {

std::string fixed_text(float value, int decimals) {
  char buffer[max_fixed_bytes];
  Cursor cursor{buffer};
  cursor.fixed(value, decimals, 0);
  return {buffer, cursor.position()};
}

std::string reference_text(float value, int decimals) {
  char buffer[64];
  return {buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr};
}

TEST(ColumnText, FixedPointMatchesExactRoundingWithTiesToEven) {
  const float cases[] = {0.0F,
                         -0.0F,
                         0.0005F,
                         1.0005F,
                         -0.0004F,
                         0.0625F,
                         -0.0625F,
                         0.125F,
                         0.375F,
                         2.5F,
                         3.5F,
                         999.9995F,
                         -999.9999F,
                         12345.678F,
                         1e9F,
                         1e12F,
                         1e15F,
                         3e38F,
                         std::numeric_limits<float>::max(),
                         std::numeric_limits<float>::denorm_min(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()};
  for (const float value : cases) {
    for (int decimals = 0; decimals <= 6; ++decimals) {
      SCOPED_TRACE(reference_text(value, decimals));
      EXPECT_EQ(fixed_text(value, decimals), reference_text(value, decimals));
    }
  }
  EXPECT_EQ(fixed_text(0.0625F, 3), "0.062");
  EXPECT_EQ(fixed_text(0.375F, 2), "0.38");
}

TEST(ColumnText, FixedPointMatchesOnRandomFloatsOfEveryMagnitude) {
  std::mt19937 random{20240601};
  std::uniform_int_distribution<std::uint32_t> bits;
  std::uniform_real_distribution<float> coordinates{-1000.0F, 1000.0F};
  for (int i = 0; i < 200000; ++i) {
    const float value = i % 2 == 0 ? std::bit_cast<float>(bits(random)) : coordinates(random);
    const int decimals = i % 7;
    ASSERT_EQ(fixed_text(value, decimals), reference_text(value, decimals)) << value;
  }
}

TEST(ColumnText, AlignsIntegersRightAndNeverCutsThem) {
  struct Case {
    std::int64_t value;
    std::size_t width;
    std::string_view text;
  };
  const Case cases[] = {{0, 5, "    0"},
                        {7, 1, "7"},
                        {-7, 3, " -7"},
                        {123456, 5, "123456"},
                        {-1000, 4, "-1000"},
                        {-2147483648, 4, "-2147483648"},
                        {4294967295, 5, "4294967295"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char buffer[32];
    Cursor cursor{buffer};
    cursor.integer(c.value, c.width);
    EXPECT_EQ(std::string_view(buffer, cursor.position()), c.text);
  }
}

TEST(ColumnText, CutsTextByCharacters) {
  struct Case {
    std::string_view text;
    std::size_t width;
    std::string_view prefix;
    std::size_t chars;
  };
  const Case cases[] = {{"", 3, "", 0},
                        {"AB", 3, "AB", 2},
                        {"ABCD", 3, "ABC", 3},
                        {"\xc3\x84\xc3\x96Z!", 3, "\xc3\x84\xc3\x96Z", 3},
                        {"\xe2\x82\xac\xe2\x82\xac", 1, "\xe2\x82\xac", 1},
                        {"\x80\x80\x80\x80\x80\x80", 1, "\x80\x80\x80\x80", 0}};  // malformed: bounded bytes
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Prefix prefix = first_chars(c.text, c.width);
    EXPECT_EQ(prefix.text, c.prefix);
    EXPECT_EQ(prefix.chars, c.chars);
  }
}

}  // namespace
}  // namespace redivi::detail::column_writer
