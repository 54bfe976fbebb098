// The corpus files that a test names: all of them with the shared corpus, those of the subset without it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "test_data.hpp"

namespace redivi::test {

// read_corpus_file for a file that a test names: one missing from the shared corpus fails the test, one
// that the subset lacks is nothing, and the test goes on with its other files.
inline std::optional<std::string> read_listed_file(std::string_view relative_path) {
  auto text = read_corpus_file(relative_path);
  if (!text && has_full_corpus()) ADD_FAILURE() << relative_path << " is missing from the shared corpus";
  return text;
}

}  // namespace redivi::test
