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
  struct MissingAtomCount {
    bool operator==(const MissingAtomCount&) const = default;
  };
  // The first line is not a count: empty, a stray character, or a number too large.
  struct ParseAtomCount {
    std::string reason;
    bool operator==(const ParseAtomCount&) const = default;
  };
  // The second line is missing or blank.
  struct MissingComment {
    std::string reason;
    bool operator==(const MissingComment&) const = default;
  };
  // Fewer atom lines than the count, or an atom line without a symbol or all three coordinates.
  struct MissingAtomLine {
    bool operator==(const MissingAtomLine&) const = default;
  };
  // An atom line whose symbol names no element or whose coordinate is no decimal number.
  struct ParseAtomLine {
    std::string reason;
    bool operator==(const ParseAtomLine&) const = default;
  };

  std::variant<MissingAtomCount, ParseAtomCount, MissingComment, MissingAtomLine, ParseAtomLine> value;

  friend bool operator==(const Error&, const Error&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const Error& error);
REDIVI_EXPORT std::string debug_string(const Error& error);

// Reads the first frame of the text: symbols (in any letter case) and coordinates in the unit of the file.
// Every optional field of the result is absent; text after the frame is not read.
REDIVI_EXPORT std::expected<Topology, Error> from_xyz(std::string_view contents);

// Writes the atoms with the comment "vyr molecule" and coordinates to 5 decimals. A geometry
// with fewer than three values per atom gives InvalidGeometryLength instead of any text.
REDIVI_EXPORT std::expected<std::string, TopologyError> to_xyz(const Topology& topology);

}  // namespace redivi::xyz
