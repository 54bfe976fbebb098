// Copying text while looking for two bytes in it: every length, every place of the bytes looked for.
#include "text/byte_chunk.hpp"

#include <gtest/gtest.h>

#include <string>

namespace redivi::detail::text {
namespace {

// Copies text into the middle of a guarded buffer; the guards must stay as they were.
bool copy_and_check(const std::string& text, char a, char b) {
  const std::string guard(24, '#');
  std::string buffer = guard + std::string(text.size(), '.') + guard;
  const bool found = copy_holding_either(buffer.data() + guard.size(), text, a, b);
  EXPECT_EQ(buffer, guard + text + guard) << "length " << text.size();
  return found;
}

TEST(ByteChunk, CopiesEveryLengthAndFindsEitherByteWherever) {
  // Bytes next to the ones looked for, and with the high bit set, catch a test that confuses neighbours.
  const std::string filler = {'\x0b', '\x09', '\x8a', '\x3d', '\x3f', '\xbe', '\0', '\xff', 'x'};
  for (std::size_t length = 0; length <= 70; ++length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(filler[i % filler.size()]);
    EXPECT_FALSE(copy_and_check(text, '\n', '>')) << "length " << length;
    for (std::size_t at = 0; at < length; ++at) {
      for (const char looked_for : {'\n', '>'}) {
        std::string holding = text;
        holding[at] = looked_for;
        EXPECT_TRUE(copy_and_check(holding, '\n', '>')) << "length " << length << ", at " << at;
      }
    }
  }
}

}  // namespace
}  // namespace redivi::detail::text
