// XYZ text: an atom count, a comment line, then one line per atom with its symbol and coordinates.
#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <variant>

#include "redivi/export.hpp"
#include "redivi/topology.hpp"

namespace redivi::xyz {

// Why a text could not be read. The texts are the causes shown after each value's own words.
struct Error {
  // Never produced: a missing count line reports ParseAtomCount.
  struct MissingAtomCount { bool operator==(const MissingAtomCount&) const = default; };
  struct ParseAtomCount { std::string reason; bool operator==(const ParseAtomCount&) const = default; };
  struct MissingComment { std::string reason; bool operator==(const MissingComment&) const = default; };
  struct MissingAtomLine { bool operator==(const MissingAtomLine&) const = default; };
  struct ParseAtomLine { std::string reason; bool operator==(const ParseAtomLine&) const = default; };

  std::variant<MissingAtomCount, ParseAtomCount, MissingComment, MissingAtomLine, ParseAtomLine> value;

  friend bool operator==(const Error&, const Error&) = default;
};

REDIVI_EXPORT std::string to_string(const Error& error);
REDIVI_EXPORT std::string debug_string(const Error& error);

// Reads the first frame of the text. Symbols may be in any letter case; every optional field
// of the result is absent.
REDIVI_EXPORT std::expected<Topology, Error> from_xyz(std::string_view contents);

// Writes the atoms with the comment "vyr molecule" and coordinates to 5 decimals. A geometry
// with fewer than three values per atom gives InvalidGeometryLength instead of any text.
REDIVI_EXPORT std::expected<std::string, TopologyError> to_xyz(const Topology& topology);

}  // namespace redivi::xyz
