// Decoding and validating UTF-8: sequences of two to four bytes, without overlong forms or surrogates.
#include "text/utf8.hpp"

namespace redivi::detail::utf8 {

namespace detail {

Char decode_multi_byte(std::string_view text) noexcept {
  constexpr Char invalid{U'\uFFFD', 1, false};
  const auto lead = static_cast<unsigned char>(text.front());
  std::size_t length = 0;
  char32_t value = 0;
  char32_t lowest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1Fu, lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0Fu, lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07u, lowest = 0x10000;
  } else {
    return invalid;
  }
  if (text.size() < length) return invalid;
  for (std::size_t i = 1; i < length; ++i) {
    if (!is_continuation(text[i])) return invalid;
    value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3Fu);
  }
  if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return invalid;
  return {value, length, true};
}

}  // namespace detail

bool is_valid(std::string_view text) noexcept {
  while (!text.empty()) {
    const Char c = decode(text);
    if (!c.valid) return false;
    text.remove_prefix(c.length);
  }
  return true;
}

}  // namespace redivi::detail::utf8
