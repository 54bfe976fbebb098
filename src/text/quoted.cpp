// Quoting texts for error messages: escapes for quotes, backslashes and unprintable characters.
#include "text/quoted.hpp"

#include <array>
#include <cstdint>

#include "text/utf8.hpp"

namespace redivi::detail::quoted {
namespace {

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
    const utf8::Char code = utf8::decode(text);
    if (!code.valid) {
      out += "\\x";  // a byte of 0x80 or more: always two digits
      append_hex(out, static_cast<unsigned char>(text[0]));
      text.remove_prefix(1);
      continue;
    }
    if (code.point == '"' || code.point == '\\' || is_unprintable(code.point)) {
      append_escaped(out, code.point);
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

}  // namespace redivi::detail::quoted
