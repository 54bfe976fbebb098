// Display and debug texts of the XYZ reader's errors.
#include "redivi/convert/xyz.hpp"
#include "text/error_text.hpp"

namespace redivi::xyz {

using namespace redivi::detail;

std::string to_string(const Error& error) {
  using E = Error;
  return render(
      error.value, [](const E::MissingAtomCount&) { return "missing atom count"; },
      [](const E::ParseAtomCount& e) { return "parsing atom count: " + e.reason; },
      [](const E::MissingComment& e) { return "missing comment: " + e.reason; },
      [](const E::MissingAtomLine&) { return "missing atom line"; },
      [](const E::ParseAtomLine& e) { return "parsing atom line: " + e.reason; });
}

std::string debug_string(const Error& error) {
  using E = Error;
  return render(
      error.value, [](const E::MissingAtomCount&) { return "MissingAtomCount"; },
      [](const E::ParseAtomCount& e) { return tuple_text("ParseAtomCount", quoted_text(e.reason)); },
      [](const E::MissingComment& e) { return tuple_text("MissingComment", quoted_text(e.reason)); },
      [](const E::MissingAtomLine&) { return "MissingAtomLine"; },
      [](const E::ParseAtomLine& e) { return tuple_text("ParseAtomLine", quoted_text(e.reason)); });
}

}  // namespace redivi::xyz
