// mmCIF text: the reader (one structure per model of each data block) and its error.
#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "redivi/export.hpp"
#include "redivi/trc.hpp"

namespace redivi::mmcif {

struct MmCifError {
  struct InvalidFormat { std::string detail; bool operator==(const InvalidFormat&) const = default; };
  struct MissingField { std::string field; bool operator==(const MissingField&) const = default; };
  // The element symbol that named no element, after the filter that keeps its letters.
  struct InvalidElement { std::string symbol; bool operator==(const InvalidElement&) const = default; };
  struct Parse { std::string detail; bool operator==(const Parse&) const = default; };
  struct InvalidConnection { std::string atom; bool operator==(const InvalidConnection&) const = default; };
  struct ChargeCountMismatch { bool operator==(const ChargeCountMismatch&) const = default; };

  std::variant<InvalidFormat, MissingField, InvalidElement, Parse, InvalidConnection, ChargeCountMismatch> value;

  friend bool operator==(const MmCifError&, const MmCifError&) = default;
};

REDIVI_EXPORT std::string to_string(const MmCifError& error);
REDIVI_EXPORT std::string debug_string(const MmCifError& error);

// One structure per model of each data block: the blocks in file order, the models of a block in the
// order their model numbers first appear.
REDIVI_EXPORT std::expected<std::vector<TRC>, MmCifError> from_mmcif(std::string_view contents);

}  // namespace redivi::mmcif
