// The display and debug texts of the mmCIF reader's error.
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "redivi/convert/mmcif.hpp"

namespace redivi::mmcif {
namespace {

// A text as debug output shows it: in double quotes, with quotes, backslashes and control characters escaped.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          constexpr std::string_view digits = "0123456789abcdef";
          const auto byte = static_cast<unsigned char>(c);
          out += "\\u{";
          if (byte >= 16) out += digits[byte >> 4];
          out += digits[byte & 15];
          out += '}';
        } else {
          out += c;
        }
    }
  }
  return out + '"';
}

}  // namespace

std::string to_string(const MmCifError& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, MmCifError::InvalidFormat>) return "invalid mmCIF format: " + e.detail;
        if constexpr (std::is_same_v<E, MmCifError::MissingField>) return "missing required field: " + e.field;
        if constexpr (std::is_same_v<E, MmCifError::InvalidElement>) return "invalid element symbol: " + e.symbol;
        if constexpr (std::is_same_v<E, MmCifError::Parse>) return "parse error: " + e.detail;
        if constexpr (std::is_same_v<E, MmCifError::InvalidConnection>) return "invalid connection for atom " + e.atom;
        if constexpr (std::is_same_v<E, MmCifError::ChargeCountMismatch>) return "atom charges should zip with atoms";
      },
      error.value);
}

std::string debug_string(const MmCifError& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, MmCifError::InvalidFormat>) return "InvalidFormat(" + quoted(e.detail) + ")";
        if constexpr (std::is_same_v<E, MmCifError::MissingField>) return "MissingField(" + quoted(e.field) + ")";
        if constexpr (std::is_same_v<E, MmCifError::InvalidElement>) return "InvalidElement(" + quoted(e.symbol) + ")";
        if constexpr (std::is_same_v<E, MmCifError::Parse>) return "Parse(" + quoted(e.detail) + ")";
        if constexpr (std::is_same_v<E, MmCifError::InvalidConnection>) {
          return "InvalidConnection(" + quoted(e.atom) + ")";
        }
        if constexpr (std::is_same_v<E, MmCifError::ChargeCountMismatch>) return "ChargeCountMismatch";
      },
      error.value);
}

}  // namespace redivi::mmcif
