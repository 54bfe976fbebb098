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

// Why mmCIF text could not be read. from_mmcif fails only with InvalidElement: it skips what it cannot
// use and reads missing or unreadable values as defaults, so the other variants are not produced.
struct MmCifError {
  struct InvalidFormat {
    std::string detail;
    bool operator==(const InvalidFormat&) const = default;
  };
  struct MissingField {
    std::string field;
    bool operator==(const MissingField&) const = default;
  };
  // The element symbol that named no element, after the filter that keeps its letters.
  struct InvalidElement {
    std::string symbol;
    bool operator==(const InvalidElement&) const = default;
  };
  struct Parse {
    std::string detail;
    bool operator==(const Parse&) const = default;
  };
  struct InvalidConnection {
    std::string atom;
    bool operator==(const InvalidConnection&) const = default;
  };
  struct ChargeCountMismatch {
    bool operator==(const ChargeCountMismatch&) const = default;
  };

  std::variant<InvalidFormat, MissingField, InvalidElement, Parse, InvalidConnection, ChargeCountMismatch> value;

  friend bool operator==(const MmCifError&, const MmCifError&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const MmCifError& error);
REDIVI_EXPORT std::string debug_string(const MmCifError& error);

// One structure per model of each data block: the blocks in file order, the models of a block in the
// order their model numbers first appear. Of alternate locations only "A" (or none) is kept. Residues are
// keyed by author chain and number (label ones when absent), insertion code and name; residues of the
// polymer sequence (else the unobserved residues) that no atom occupies are added without atoms. Bonds
// come from connections and from the bonds of each residue's component. Each residue is one fragment, an
// empty one for a residue without atoms. Missing coordinates and charges read as 0.
REDIVI_EXPORT std::expected<std::vector<TRC>, MmCifError> from_mmcif(std::string_view contents);

}  // namespace redivi::mmcif
