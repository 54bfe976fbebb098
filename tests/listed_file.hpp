// The corpus files that a test names: all of them with the shared corpus, those of the subset without it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "test_data.hpp"

namespace redivi::test {

// read_corpus_file for a file that a test names: one missing from the shared corpus fails the test, one
// that the subset lacks is nothing, and the test goes on with its other files.
inline std::optional<std::string> read_listed_file(std::string_view relative_path) {
  auto text = read_corpus_file(relative_path);
  if (!text && has_full_corpus()) ADD_FAILURE() << relative_path << " is missing from the shared corpus";
  return text;
}

// The first structure of each real file that the operation tests share, with its name: valid structures of
// both readers, with alternate locations, ligands, waters and residues without atoms.
inline std::vector<std::pair<std::string, TRC>> listed_valid_structures() {
  const std::string_view files[] = {"pdb/1CRN.pdb", "pdb/1aki.pdb", "pdb/3o5r.pdb",
                                    "pdb/2XHE.pdb", "cif/1A8O.cif", "cif/2BEG.cif"};
  std::vector<std::pair<std::string, TRC>> structures;
  for (const std::string_view file : files) {
    const auto text = read_listed_file(file);
    if (!text) continue;
    auto structure = first_structure(file, *text);
    if (!structure) {
      ADD_FAILURE() << file << " gives no structure";
      continue;
    }
    if (const auto checked = structure->check(); !checked) {
      ADD_FAILURE() << file << " gives a structure that fails its check: " << debug_string(checked.error());
      continue;
    }
    structures.emplace_back(std::string(file), std::move(*structure));
  }
  EXPECT_FALSE(structures.empty()) << "no real file to test with";
  return structures;
}

}  // namespace redivi::test
