// The display and debug texts of the mmCIF reader's error.
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "text/quoted.hpp"
#include "redivi/convert/mmcif.hpp"

namespace redivi::mmcif {
namespace {

std::string debug_text(std::string_view name, const std::string& payload) {
  std::string out(name);
  out += '(';
  quoted::append(out, payload);
  out += ')';
  return out;
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
        if constexpr (std::is_same_v<E, MmCifError::InvalidFormat>) return debug_text("InvalidFormat", e.detail);
        if constexpr (std::is_same_v<E, MmCifError::MissingField>) return debug_text("MissingField", e.field);
        if constexpr (std::is_same_v<E, MmCifError::InvalidElement>) return debug_text("InvalidElement", e.symbol);
        if constexpr (std::is_same_v<E, MmCifError::Parse>) return debug_text("Parse", e.detail);
        if constexpr (std::is_same_v<E, MmCifError::InvalidConnection>) return debug_text("InvalidConnection", e.atom);
        if constexpr (std::is_same_v<E, MmCifError::ChargeCountMismatch>) return "ChargeCountMismatch";
      },
      error.value);
}

}  // namespace redivi::mmcif
