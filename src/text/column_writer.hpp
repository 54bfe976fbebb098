// Fixed-column text output: a cursor that writes a line's fields left to right, aligned and cut to width.
#pragma once

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "text/byte_chunk.hpp"
#include "text/utf8.hpp"

namespace redivi::detail::column_writer {

// The longest prefix of text holding at most `width` UTF-8 characters, and its character count.
// Counting characters rather than bytes keeps a cut from splitting a multi-byte character.
struct Prefix {
  std::string_view text;
  std::size_t chars;
};

constexpr Prefix first_chars(std::string_view text, std::size_t width) {
  std::size_t chars = 0;
  std::size_t end = 0;
  // A character has at most 4 bytes; the byte limit only bites on malformed text.
  for (; end < text.size() && end < 4 * width; ++end) {
    if (utf8::is_continuation(text[end])) continue;
    if (chars == width) break;
    ++chars;
  }
  return {text.substr(0, end), chars};
}

// The most bytes a field written by Cursor::left or Cursor::right of this width can take.
constexpr std::size_t max_text_bytes(std::size_t width) { return 5 * width; }

// The most bytes Cursor::fixed writes beyond its width: the largest float has 39 integer digits.
constexpr std::size_t max_fixed_bytes = 48;

// Writes fields into memory reserved for the line; the caller bounds the line's length.
class Cursor {
 public:
  explicit Cursor(char* position) : position_{position} {}

  char* position() const { return position_; }

  void blanks(std::size_t count) {
    std::memset(position_, ' ', count);
    position_ += count;
  }

  void text(std::string_view text) {
    if (text.empty()) return;  // an empty view may hold a null pointer, which memcpy must not get
    std::memcpy(position_, text.data(), text.size());
    position_ += text.size();
  }

  // Writes the text as text() does; true when it holds the byte a or b, found as it is copied.
  bool text_holding_either(std::string_view text, char a, char b) {
    const bool found = text::copy_holding_either(position_, text, a, b);
    position_ += text.size();
    return found;
  }

  // Left-aligned in `width` characters, cut to `width`.
  void left(std::string_view text, std::size_t width) {
    const Prefix prefix = first_chars(text, width);
    this->text(prefix.text);
    blanks(width - prefix.chars);
  }

  // Right-aligned in `width` characters, cut to `width`.
  void right(std::string_view text, std::size_t width) {
    const Prefix prefix = first_chars(text, width);
    blanks(width - prefix.chars);
    this->text(prefix.text);
  }

  // Right-aligned in `width` bytes; a longer text is written whole (numbers are never cut).
  void whole(std::string_view text, std::size_t width) {
    if (text.size() < width) blanks(width - text.size());
    this->text(text);
  }

  // Right-aligned in `width`; a longer number is written whole.
  template <class Int>
  void integer(Int value, std::size_t width) {
    const auto magnitude = static_cast<std::uint64_t>(value);
    if constexpr (std::is_signed_v<Int>) {
      if (value < 0) return number(true, 0 - magnitude, 0, 0, width);
    }
    number(false, magnitude, 0, 0, width);
  }

  // Fixed point with `decimals` (0 to 6) digits after the point, right-aligned in `width`: exactly rounded
  // from the float's value, ties to even, as std::to_chars writes it. Common magnitudes take an integer path.
  void fixed(float value, int decimals, std::size_t width) {
    constexpr std::array<std::uint64_t, 7> scales{1, 10, 100, 1000, 10'000, 100'000, 1'000'000};
    const std::uint64_t scale = scales[static_cast<std::size_t>(decimals)];
    // Exact: a float's 24 significant bits times the at most 14 significant bits of 10^6 fit a double.
    const double scaled = std::fabs(static_cast<double>(value) * static_cast<double>(scale));
    if (!(scaled < 1e15)) {
      std::array<char, max_fixed_bytes> text;
      const char* end =
          std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals).ptr;
      whole({text.data(), end}, width);
      return;
    }
    const double floor = std::floor(scaled);
    auto units = static_cast<std::uint64_t>(floor);
    const double rest = scaled - floor;  // exact below 2^53
    if (rest > 0.5 || (rest == 0.5 && units % 2 == 1)) ++units;
    number(std::signbit(value), units / scale, units % scale, decimals, width);
  }

 private:
  static std::size_t digit_count(std::uint64_t value) {
    std::size_t count = 1;
    for (; value >= 10; value /= 10) ++count;
    return count;
  }

  // A sign, the integer digits, and `decimals` digits of fraction after a point, right-aligned in `width`.
  void number(bool negative, std::uint64_t integer, std::uint64_t fraction, int decimals, std::size_t width) {
    const auto fraction_length = static_cast<std::size_t>(decimals > 0 ? decimals + 1 : 0);
    const std::size_t length = (negative ? 1 : 0) + digit_count(integer) + fraction_length;
    if (length < width) blanks(width - length);
    position_ += length;
    char* digit = position_;
    for (int k = 0; k < decimals; ++k, fraction /= 10) *--digit = static_cast<char>('0' + fraction % 10);
    if (decimals > 0) *--digit = '.';
    do {
      *--digit = static_cast<char>('0' + integer % 10);
      integer /= 10;
    } while (integer != 0);
    if (negative) *--digit = '-';
  }

  char* position_;
};

// Appends one line of at most `bound` bytes, written by write(Cursor&) straight into the text.
template <class Write>
void append_line(std::string& out, std::size_t bound, const Write& write) {
  const std::size_t start = out.size();
  if (out.capacity() - start < bound) out.reserve(std::max(2 * out.capacity(), start + bound));
  out.resize_and_overwrite(start + bound, [&write, start](char* data, std::size_t) {
    Cursor cursor{data + start};
    write(cursor);
    return static_cast<std::size_t>(cursor.position() - data);
  });
}

}  // namespace redivi::detail::column_writer

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace column_writer = detail::column_writer;
}  // namespace redivi
