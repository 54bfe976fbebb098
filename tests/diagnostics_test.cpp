// The diagnostics sink: events reach it up to its level only.
#include "redivi/diagnostics.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace redivi::diagnostics {
namespace {

TEST(Diagnostics, DeliversEventsUpToTheSinksLevelOnly) {
  EXPECT_FALSE(enabled(Level::warn));
  EXPECT_FALSE(enabled(Level::debug));

  std::vector<std::string> seen;
  set_sink(
      [&seen](const Event& event) { seen.push_back(std::string(event.target) + " " + std::string(event.message)); },
      Level::warn);
  EXPECT_TRUE(enabled(Level::warn));
  EXPECT_FALSE(enabled(Level::debug));
  EXPECT_FALSE(enabled(Level::off));
  emit("redivi::convert::pdb", Level::warn, "first");
  emit("redivi::convert::pdb", Level::debug, "not shown");

  set_sink([&seen](const Event& event) { seen.push_back(std::string(event.message)); }, Level::debug);
  emit("redivi::convert::mmcif", Level::debug, "second");

  clear_sink();
  emit("redivi::convert::pdb", Level::warn, "after clearing");
  EXPECT_FALSE(enabled(Level::warn));
  EXPECT_EQ(seen, (std::vector<std::string>{"redivi::convert::pdb first", "second"}));
}

}  // namespace
}  // namespace redivi::diagnostics
