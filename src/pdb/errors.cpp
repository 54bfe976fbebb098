// Display and debug texts of the PDB module's errors.
#include "redivi/convert/pdb.hpp"
#include "text/error_text.hpp"

namespace redivi::pdb {

using namespace redivi::detail;
using text::concat;

std::string to_string(const Error& error) {
  using E = Error;
  return render(
      error.value,
      [](const E::InvalidLineLength& e) {
        return concat("invalid line length, expected '> ", e.expected, "', found '", e.found, "'");
      },
      [](const E::InvalidLine& e) {
        return concat("invalid line, expected '", e.expected, "', found '", e.found, "'");
      },
      [](const E::InvalidConnection& e) {
        return concat("invalid connection for atom index ", e.serial, ", references and atom that does not exist");
      },
      [](const E::InvalidSymbol& e) { return concat("invalid symbol ", e.symbol); },
      [](const E::ExpectedInt& e) { return concat("expected int at ", e.line, ':', e.start, '-', e.end); },
      [](const E::ExpectedFloat& e) { return concat("expected float at ", e.line, ':', e.start, '-', e.end); },
      [](const E::ChargesMismatch&) { return "atom charges should zip with atoms"; },
      [](const E::InvalidCharBoundary& e) {
        return concat("field boundary inside a multi-byte character at ", e.line, ':', e.offset);
      });
}

std::string debug_string(const Error& error) {
  using E = Error;
  return render(
      error.value, [](const E::InvalidLineLength& e) { return tuple_text("InvalidLineLength", e.expected, e.found); },
      [](const E::InvalidLine& e) { return tuple_text("InvalidLine", quoted_text(e.expected), quoted_text(e.found)); },
      [](const E::InvalidConnection& e) { return tuple_text("InvalidConnection", e.serial); },
      [](const E::InvalidSymbol& e) { return tuple_text("InvalidSymbol", quoted_text(e.symbol), e.line); },
      [](const E::ExpectedInt& e) { return tuple_text("ExpectedInt", e.line, e.start, e.end); },
      [](const E::ExpectedFloat& e) { return tuple_text("ExpectedFloat", e.line, e.start, e.end); },
      [](const E::ChargesMismatch&) { return "ChargesMismatch"; },
      [](const E::InvalidCharBoundary& e) { return tuple_text("InvalidCharBoundary", e.line, e.offset); });
}

std::string debug_string(const WriteError& error) { return tuple_text("WriteError", quoted_text(error.message)); }

}  // namespace redivi::pdb
