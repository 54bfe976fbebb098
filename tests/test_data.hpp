// Test inputs: the real archive files beside the checkout and our own small files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "redivi/trc.hpp"

namespace redivi::test {

// The text of a file of the shared corpus (gunzipped when its name ends in .gz), or nothing
// when the corpus or the file is absent.
std::optional<std::string> read_corpus_file(std::string_view relative_path);

// The names of the corpus files in one of its folders ("pdb", "cif", "sdf", "xyz"), sorted.
std::vector<std::string> corpus_files(std::string_view folder);

// The first structure read from the text of a PDB or mmCIF file (told apart by the file name), or
// nothing when the reader fails or finds no structure.
std::optional<TRC> first_structure(std::string_view file_name, std::string_view text);

// The text of a file of tests/data.
std::string read_test_file(std::string_view name);

}  // namespace redivi::test
