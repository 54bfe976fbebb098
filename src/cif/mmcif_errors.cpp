// Display and debug texts of the mmCIF reader's error.
#include "redivi/convert/mmcif.hpp"
#include "text/error_text.hpp"

namespace redivi::mmcif {

using namespace redivi::detail;

std::string to_string(const MmCifError& error) {
  using E = MmCifError;
  return render(
      error.value, [](const E::InvalidFormat& e) { return "invalid mmCIF format: " + e.detail; },
      [](const E::MissingField& e) { return "missing required field: " + e.field; },
      [](const E::InvalidElement& e) { return "invalid element symbol: " + e.symbol; },
      [](const E::Parse& e) { return "parse error: " + e.detail; },
      [](const E::InvalidConnection& e) { return "invalid connection for atom " + e.atom; },
      [](const E::ChargeCountMismatch&) { return "atom charges should zip with atoms"; });
}

std::string debug_string(const MmCifError& error) {
  using E = MmCifError;
  return render(
      error.value, [](const E::InvalidFormat& e) { return tuple_text("InvalidFormat", quoted_text(e.detail)); },
      [](const E::MissingField& e) { return tuple_text("MissingField", quoted_text(e.field)); },
      [](const E::InvalidElement& e) { return tuple_text("InvalidElement", quoted_text(e.symbol)); },
      [](const E::Parse& e) { return tuple_text("Parse", quoted_text(e.detail)); },
      [](const E::InvalidConnection& e) { return tuple_text("InvalidConnection", quoted_text(e.atom)); },
      [](const E::ChargeCountMismatch&) { return "ChargeCountMismatch"; });
}

}  // namespace redivi::mmcif
