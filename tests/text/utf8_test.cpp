// UTF-8: the decoder on well-formed, malformed and cut sequences; the validator, boundaries and ASCII runs.
#include "text/utf8.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace redivi::detail::utf8 {
namespace {

TEST(Utf8, DecodesEveryWellFormedLength) {
  struct Case {
    std::string_view text;
    char32_t point;
    std::size_t length;
  };
  const Case cases[] = {
      {"A", U'A', 1},
      {std::string_view("\0", 1), U'\0', 1},
      {"\x7F", 0x7F, 1},
      {"\xC2\x80", 0x80, 2},      // the lowest two-byte character
      {"\xC3\xA9tude", 0xE9, 2},  // only the first character is decoded
      {"\xDF\xBF", 0x7FF, 2},
      {"\xE0\xA0\x80", 0x800, 3},  // the lowest three-byte character
      {"\xE2\x80\xA8", 0x2028, 3},
      {"\xED\x9F\xBF", 0xD7FF, 3},        // just below the surrogates
      {"\xEE\x80\x80", 0xE000, 3},        // just above them
      {"\xEF\xBF\xBD", 0xFFFD, 3},        // the replacement character itself is valid
      {"\xF0\x90\x80\x80", 0x10000, 4},   // the lowest four-byte character
      {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},  // the highest code point
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<std::uint32_t>(c.point));
    const Char decoded = decode(c.text);
    EXPECT_TRUE(decoded.valid);
    EXPECT_EQ(decoded.point, c.point);
    EXPECT_EQ(decoded.length, c.length);
  }
}

TEST(Utf8, DecodesABrokenSequenceAsOneInvalidByte) {
  const std::string_view cases[] = {
      "\x80",  // a continuation byte alone
      "\xBF"
      "A",
      "\xC0\x80",  // overlong forms
      "\xC1\xBF",
      "\xE0\x9F\xBF",
      "\xF0\x8F\xBF\xBF",
      "\xED\xA0\x80",  // surrogates
      "\xED\xBF\xBF",
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xF5\x80\x80\x80",
      "\xFF",
      "\xC3",  // cut at the end of the text
      "\xE2\x80",
      "\xF0\x9F\x98",
      "\xC3"
      "A",  // cut by a byte that does not continue it
      "\xE2\x80"
      "A",
      "\xF0\x9F\x98\xC3\xA9",
  };
  for (const std::string_view text : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(text)));
    const Char decoded = decode(text);
    EXPECT_FALSE(decoded.valid);
    EXPECT_EQ(decoded.point, U'\uFFFD');
    EXPECT_EQ(decoded.length, 1u);
    EXPECT_FALSE(is_valid(text));
  }
  const Char empty = decode("");
  EXPECT_FALSE(empty.valid);
  EXPECT_EQ(empty.length, 0u);
}

TEST(Utf8, ValidatesWholeTexts) {
  EXPECT_TRUE(is_valid(""));
  EXPECT_TRUE(is_valid("HELIX    1   1 ALA A    1"));
  EXPECT_TRUE(is_valid("Fe\xC2\xB2\xE2\x81\xBA \xF0\x9F\x98\x80 end"));
  EXPECT_FALSE(is_valid("ok until the last byte \xC3"));
  EXPECT_FALSE(is_valid("\xC3\xA9\xA9"));  // one continuation byte too many
}

TEST(Utf8, FindsCharacterBoundaries) {
  const std::string_view text =
      "a\xC3\xA9"
      "b\xE2\x82\xAC";  // a é b €
  const bool boundaries[] = {true, true, false, true, true, false, false, true, true};
  for (std::size_t offset = 0; offset < std::size(boundaries); ++offset) {
    SCOPED_TRACE(offset);
    EXPECT_EQ(is_char_boundary(text, offset), boundaries[offset]);
    if (offset < text.size()) { EXPECT_EQ(is_continuation(text[offset]), !boundaries[offset]); }
  }
  EXPECT_TRUE(is_char_boundary(text, 100));  // past the end
}

TEST(Utf8, TellsAsciiTextsInEveryPositionOfTheWord) {
  const std::string ascii(21, 'x');
  EXPECT_TRUE(is_ascii(""));
  EXPECT_TRUE(is_ascii(ascii));
  for (std::size_t at = 0; at < ascii.size(); ++at) {
    std::string text = ascii;
    text[at] = '\x80';
    EXPECT_FALSE(is_ascii(text)) << at;
  }
}

}  // namespace
}  // namespace redivi::detail::utf8
