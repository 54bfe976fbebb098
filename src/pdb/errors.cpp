// Display and debug texts of the PDB module's errors.
#include <variant>

#include "redivi/convert/pdb.hpp"
#include "text/quoted.hpp"
#include "text/text.hpp"

namespace redivi::pdb {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

std::string quoted_text(std::string_view text) {
  std::string out;
  quoted::append(out, text);
  return out;
}

}  // namespace

std::string to_string(const Error& error) {
  using E = Error;
  using text::concat;
  return std::visit(
      Overloaded{
          [](const E::InvalidLineLength& e) {
            return concat("invalid line length, expected '> ", e.expected, "', found '", e.found, "'");
          },
          [](const E::InvalidLine& e) { return concat("invalid line, expected '", e.expected, "', found '", e.found, "'"); },
          [](const E::InvalidConnection& e) {
            return concat("invalid connection for atom index ", e.serial, ", references and atom that does not exist");
          },
          [](const E::InvalidSymbol& e) { return concat("invalid symbol ", e.symbol); },
          [](const E::ExpectedInt& e) { return concat("expected int at ", e.line, ':', e.start, '-', e.end); },
          [](const E::ExpectedFloat& e) { return concat("expected float at ", e.line, ':', e.start, '-', e.end); },
          [](const E::ChargesMismatch&) { return std::string("atom charges should zip with atoms"); },
          [](const E::InvalidCharBoundary& e) {
            return concat("field boundary inside a multi-byte character at ", e.line, ':', e.offset);
          },
      },
      error.value);
}

std::string debug_string(const Error& error) {
  using E = Error;
  using text::concat;
  return std::visit(
      Overloaded{
          [](const E::InvalidLineLength& e) { return concat("InvalidLineLength(", e.expected, ", ", e.found, ")"); },
          [](const E::InvalidLine& e) { return concat("InvalidLine(", quoted_text(e.expected), ", ", quoted_text(e.found), ")"); },
          [](const E::InvalidConnection& e) { return concat("InvalidConnection(", e.serial, ")"); },
          [](const E::InvalidSymbol& e) { return concat("InvalidSymbol(", quoted_text(e.symbol), ", ", e.line, ")"); },
          [](const E::ExpectedInt& e) { return concat("ExpectedInt(", e.line, ", ", e.start, ", ", e.end, ")"); },
          [](const E::ExpectedFloat& e) { return concat("ExpectedFloat(", e.line, ", ", e.start, ", ", e.end, ")"); },
          [](const E::ChargesMismatch&) { return std::string("ChargesMismatch"); },
          [](const E::InvalidCharBoundary& e) { return concat("InvalidCharBoundary(", e.line, ", ", e.offset, ")"); },
      },
      error.value);
}

}  // namespace redivi::pdb
