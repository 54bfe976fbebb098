// Our readers by kind of file, for the drivers that read whatever file they are given.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <redivi/trc.hpp>

namespace redivi::bench {

// What a reader found in a text, or why it failed.
struct ReadResult {
  std::size_t structures = 0;
  std::size_t atoms = 0;
  std::string error;  // empty on success
};

// The number of structures and their atoms.
ReadResult counted(std::span<const TRC> structures);

// Our readers, each the whole call a user makes, reduced to counts.
ReadResult read_pdb(std::string_view text);
ReadResult read_mmcif(std::string_view text);
ReadResult read_sdf(std::string_view text);
ReadResult read_xyz(std::string_view text);

struct Reader {
  std::string_view name;
  std::array<std::string_view, 2> extensions;
  ReadResult (*read)(std::string_view text);
};

// The reader for a file name by its extension (".gz" looked through), or null.
const Reader* reader_for(std::string_view path);

}  // namespace redivi::bench
