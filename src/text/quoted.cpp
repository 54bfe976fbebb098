// Quoting texts for error messages: escapes for quotes, backslashes and unprintable characters.
#include "text/quoted.hpp"

#include <array>
#include <cstdint>

namespace redivi::quoted {
namespace {

struct CodePoint {
  char32_t value = 0;
  std::size_t length = 0;  // 0: the first byte starts no valid UTF-8 sequence
};

constexpr bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the UTF-8 sequence at the start of text, rejecting overlong forms, surrogates and
// values past U+10FFFF.
CodePoint decode(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
  } else {
    return {};
  }
  if (text.size() < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!is_continuation(byte)) return {};
    value = (value << 6) | (byte & 0x3Fu);
  }
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (overlong || surrogate || value > 0x10FFFF) return {};
  return {value, length};
}

struct Range {
  char32_t first, last;
};

// Control characters, and the format and separator characters that print as nothing.
constexpr std::array<Range, 8> unprintable = {{{0x00, 0x1F},
                                               {0x7F, 0x9F},
                                               {0xAD, 0xAD},
                                               {0x200B, 0x200F},
                                               {0x2028, 0x202E},
                                               {0x2060, 0x2064},
                                               {0xFEFF, 0xFEFF},
                                               {0xFFFE, 0xFFFF}}};

bool is_unprintable(char32_t value) {
  for (const Range& range : unprintable) {
    if (value >= range.first && value <= range.last) return true;
  }
  return false;
}

void append_hex(std::string& out, std::uint32_t value) {
  constexpr std::string_view digits = "0123456789abcdef";
  std::array<char, 8> buffer{};
  std::size_t start = buffer.size();
  do {
    buffer[--start] = digits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  out.append(buffer.data() + start, buffer.size() - start);
}

void append_escaped(std::string& out, char32_t value) {
  switch (value) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\t': out += "\\t"; return;
    case '\r': out += "\\r"; return;
    case '\0': out += "\\0"; return;
    default: break;
  }
  out += "\\u{";
  append_hex(out, static_cast<std::uint32_t>(value));
  out += '}';
}

}  // namespace

void append(std::string& out, std::string_view text) {
  out.push_back('"');
  while (!text.empty()) {
    const CodePoint code = decode(text);
    if (code.length == 0) {
      out += "\\x";  // a byte of 0x80 or more: always two digits
      append_hex(out, static_cast<unsigned char>(text[0]));
      text.remove_prefix(1);
      continue;
    }
    if (code.value == '"' || code.value == '\\' || is_unprintable(code.value)) {
      append_escaped(out, code.value);
    } else {
      out.append(text.substr(0, code.length));
    }
    text.remove_prefix(code.length);
  }
  out.push_back('"');
}

void append_list(std::string& out, const std::vector<std::string>& texts) {
  out.push_back('[');
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out += ", ";
    append(out, texts[i]);
  }
  out.push_back(']');
}

}  // namespace redivi::quoted
