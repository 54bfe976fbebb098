// Text helpers: lines cut at line feeds, ASCII trimming and blank lines.
#include "text/text.hpp"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace redivi::detail::text {
namespace {

std::vector<std::string_view> all_lines(std::string_view text) {
  Lines lines{text};
  std::vector<std::string_view> out;
  std::string_view line;
  while (lines.next(line)) out.push_back(line);
  return out;
}

TEST(Text, CutsLinesAtLineFeedsDroppingACarriageReturnBeforeThem) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(all_lines(""), V{});
  EXPECT_EQ(all_lines("a"), V{"a"});
  EXPECT_EQ(all_lines("a\n"), V{"a"});
  EXPECT_EQ(all_lines("a\r\nb\r\n\nc"), (V{"a", "b", "", "c"}));
  EXPECT_EQ(all_lines("a\rb\n\r"), (V{"a\rb", "\r"}));  // only a carriage return right before a line feed goes
}

TEST(Text, TrimsAndTellsBlankLinesByAsciiWhiteSpace) {
  struct Case {
    std::string_view text, trimmed;
  };
  const Case cases[] = {
      {"", ""}, {" \t\r\n\v\f", ""}, {"  a b  ", "a b"}, {"x", "x"}, {"\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(trim(c.text), c.trimmed);
    EXPECT_EQ(is_blank(c.text), c.trimmed.empty());
  }
}

}  // namespace
}  // namespace redivi::detail::text
