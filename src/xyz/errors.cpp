// Display and debug texts of the XYZ reader's errors.
#include <string>
#include <type_traits>
#include <variant>

#include "redivi/convert/xyz.hpp"
#include "text/text.hpp"

namespace redivi::xyz {
namespace {

// A text in double quotes, with quotes, backslashes and line breaks escaped.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out.push_back(c);
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace

std::string to_string(const Error& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, Error::MissingAtomCount>) return "missing atom count";
        if constexpr (std::is_same_v<E, Error::ParseAtomCount>) return text::concat("parsing atom count: ", e.reason);
        if constexpr (std::is_same_v<E, Error::MissingComment>) return text::concat("missing comment: ", e.reason);
        if constexpr (std::is_same_v<E, Error::MissingAtomLine>) return "missing atom line";
        if constexpr (std::is_same_v<E, Error::ParseAtomLine>) return text::concat("parsing atom line: ", e.reason);
      },
      error.value);
}

std::string debug_string(const Error& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, Error::MissingAtomCount>) return "MissingAtomCount";
        if constexpr (std::is_same_v<E, Error::ParseAtomCount>) {
          return text::concat("ParseAtomCount(", quoted(e.reason), ')');
        }
        if constexpr (std::is_same_v<E, Error::MissingComment>) {
          return text::concat("MissingComment(", quoted(e.reason), ')');
        }
        if constexpr (std::is_same_v<E, Error::MissingAtomLine>) return "MissingAtomLine";
        if constexpr (std::is_same_v<E, Error::ParseAtomLine>) {
          return text::concat("ParseAtomLine(", quoted(e.reason), ')');
        }
      },
      error.value);
}

}  // namespace redivi::xyz
