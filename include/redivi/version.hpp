// The version of the data layout, stored in every topology.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "redivi/export.hpp"

namespace redivi {

// A semantic version: major.minor.patch, then "-" and the pre-release identifiers,
// then "+" and the build metadata, each list joined by dots.
struct REDIVI_EXPORT SchemaVersion {
  std::uint64_t major = 0;
  std::uint64_t minor = 0;
  std::uint64_t patch = 0;
  std::vector<std::string> pre;    // pre-release identifiers; empty for a release
  std::vector<std::string> build;  // build metadata identifiers; empty for none

  // "0.2.0", "1.0.0-alpha.1+build.5".
  std::string to_string() const;

  friend bool operator==(const SchemaVersion&, const SchemaVersion&) = default;
};

// The layout that every structure this library creates carries: 0.2.0.
inline SchemaVersion current_schema_version() { return SchemaVersion{0, 2, 0, {}, {}}; }

}  // namespace redivi
