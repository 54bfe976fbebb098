// The text form of a schema version.
#include "redivi/version.hpp"

#include "text/text.hpp"

namespace redivi {
namespace {

void append_identifiers(std::string& out, char lead, const std::vector<std::string>& identifiers) {
  if (identifiers.empty()) return;
  out.push_back(lead);
  for (std::size_t i = 0; i < identifiers.size(); ++i) {
    if (i > 0) out.push_back('.');
    out.append(identifiers[i]);
  }
}

}  // namespace

std::string SchemaVersion::to_string() const {
  std::string out = text::concat(major, '.', minor, '.', patch);
  append_identifiers(out, '-', pre);
  append_identifiers(out, '+', build);
  return out;
}

}  // namespace redivi
