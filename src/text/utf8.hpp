// UTF-8 text: the continuation-byte test, character boundaries, ASCII runs, the decoder and the validator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace redivi::detail::utf8 {

// True for a byte that continues a multi-byte sequence (10xxxxxx).
constexpr bool is_continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// True when offset starts a character of text, or lies at or past its end.
constexpr bool is_char_boundary(std::string_view text, std::size_t offset) {
  return offset >= text.size() || !is_continuation(text[offset]);
}

// True when every byte of text is below 0x80, tested eight bytes at a time.
inline bool is_ascii(std::string_view text) {
  std::uint64_t bits = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    bits |= word;
  }
  for (; i < text.size(); ++i) bits |= static_cast<unsigned char>(text[i]);
  return (bits & 0x8080808080808080U) == 0;
}

// A character decoded from the start of a text.
struct Char {
  char32_t point;      // U+FFFD when not valid
  std::size_t length;  // in bytes; 1 when not valid, 0 for an empty text
  bool valid;
};

namespace detail {

Char decode_multi_byte(std::string_view text) noexcept;

}  // namespace detail

// The character at the start of text. A byte that starts no well-formed sequence (a cut, overlong or
// surrogate sequence, a value past U+10FFFF, a stray continuation byte) decodes alone and is not valid.
inline Char decode(std::string_view text) noexcept {
  if (text.empty()) return {U'\uFFFD', 0, false};
  const auto lead = static_cast<unsigned char>(text.front());
  if (lead < 0x80) return {lead, 1, true};
  return detail::decode_multi_byte(text);
}

// True when text is well-formed UTF-8 throughout.
bool is_valid(std::string_view text) noexcept;

}  // namespace redivi::detail::utf8

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace utf8 = detail::utf8;
}  // namespace redivi
