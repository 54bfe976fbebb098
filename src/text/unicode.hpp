// Unicode character classes over UTF-8 text: White_Space for splitting and trimming, Alphabetic for filters.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace redivi::detail::unicode {

namespace detail {

// Bytes that are a white-space character by themselves, and lead bytes of the multi-byte ones.
enum class SpaceStart : unsigned char { no, ascii, multi_byte };

constexpr std::array<SpaceStart, 256> make_space_starts() {
  std::array<SpaceStart, 256> table{};
  for (unsigned c = '\t'; c <= '\r'; ++c) table[c] = SpaceStart::ascii;
  table[' '] = SpaceStart::ascii;
  for (unsigned c : {0xC2u, 0xE1u, 0xE2u, 0xE3u}) table[c] = SpaceStart::multi_byte;
  return table;
}

inline constexpr std::array<SpaceStart, 256> space_starts = make_space_starts();

// The byte length of U+0085, U+00A0, U+1680, U+2000-U+200A, U+2028, U+2029, U+202F, U+205F or U+3000
// at the start of text, or 0.
std::size_t multi_byte_space_length(std::string_view text) noexcept;

// The byte length of a multi-byte white-space character that ends text, or 0.
std::size_t trailing_multi_byte_space_length(std::string_view text) noexcept;

}  // namespace detail

// The byte length of the white-space character at the start of text (0 when there is none).
inline std::size_t space_length(std::string_view text) noexcept {
  if (text.empty()) return 0;
  switch (detail::space_starts[static_cast<unsigned char>(text.front())]) {
    case detail::SpaceStart::no: return 0;
    case detail::SpaceStart::ascii: return 1;
    case detail::SpaceStart::multi_byte: return detail::multi_byte_space_length(text);
  }
  return 0;
}

// The byte length of the white-space character that ends text (0 when there is none).
inline std::size_t trailing_space_length(std::string_view text) noexcept {
  if (text.empty()) return 0;
  const auto last = static_cast<unsigned char>(text.back());
  if (last < 0x80) return detail::space_starts[last] == detail::SpaceStart::ascii ? 1 : 0;
  return detail::trailing_multi_byte_space_length(text);
}

// The text without leading and trailing white space.
inline std::string_view trim(std::string_view text) noexcept {
  while (const std::size_t n = space_length(text)) text.remove_prefix(n);
  while (const std::size_t n = trailing_space_length(text)) text.remove_suffix(n);
  return text;
}

// True for code points with the Alphabetic property.
bool is_alphabetic(char32_t point) noexcept;

}  // namespace redivi::detail::unicode

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace unicode = detail::unicode;
}  // namespace redivi
