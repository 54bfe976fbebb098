// The schema version's text form.
#include "redivi/version.hpp"

#include <gtest/gtest.h>

namespace redivi {
namespace {

TEST(SchemaVersion, WritesSemanticVersionText) {
  struct Case {
    SchemaVersion version;
    std::string_view text;
  };
  const Case cases[] = {
      {current_schema_version(), "0.2.0"},
      {{1, 22, 333, {"alpha", "1"}, {}}, "1.22.333-alpha.1"},
      {{0, 0, 1, {}, {"build", "5"}}, "0.0.1+build.5"},
      {{2, 0, 0, {"rc"}, {"sha", "0a1b"}}, "2.0.0-rc+sha.0a1b"},
      {{18446744073709551615u, 0, 0, {}, {}}, "18446744073709551615.0.0"},
  };
  for (const Case& c : cases) { EXPECT_EQ(c.version.to_string(), c.text); }
}

}  // namespace
}  // namespace redivi
