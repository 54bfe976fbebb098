// Test inputs: the real archive files (the shared corpus, else its subset in tests/data) and our own small files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "redivi/trc.hpp"

namespace redivi::test {

// True when the shared corpus is beside the checkout (REDIVI_DATA_DIR). Without it the corpus lookups
// below read the subset committed in tests/data, which holds some of its files under the same names.
bool has_full_corpus();

// The text of a corpus file ("pdb/1CRN.pdb"), gunzipped when its name ends in .gz, from the shared
// corpus or else from the subset; nothing when it is not there.
std::optional<std::string> read_corpus_file(std::string_view relative_path);

// The names of the corpus files in one of its folders ("pdb", "cif", "sdf", "xyz"), sorted: every file
// of the shared corpus, or else every file of the subset.
std::vector<std::string> corpus_files(std::string_view folder);

// The first structure read from the text of a PDB or mmCIF file (told apart by the file name), or
// nothing when the reader fails or finds no structure.
std::optional<TRC> first_structure(std::string_view file_name, std::string_view text);

// The text of a file of tests/data.
std::string read_test_file(std::string_view name);

}  // namespace redivi::test
