// The peer libraries' readers and writers, behind plain functions so that their headers stay in
// their own files. Each catches its library's exceptions and reports them as the error text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "readers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {

// A writer holding its input already read, so that only the writing is timed.
class PeerWriter {
 public:
  virtual ~PeerWriter() = default;
  // The number of bytes written, 0 on failure.
  virtual std::size_t write() = 0;
};

// One timed write by a peer writer, which is null when the peer could not read the input.
inline Outcome write_with(PeerWriter* writer) {
  if (writer == nullptr) return {0, "could not read the input"};
  const std::size_t bytes = writer->write();
  if (bytes == 0) return {0, "could not write"};
  return {bytes, {}};
}

// Model, chain, residue and atom objects of a structure read from PDB text.
bench::ReadResult gemmi_read_pdb(std::string_view text);
// The CIF document, then the structure made from it.
bench::ReadResult gemmi_read_mmcif(std::string_view text);
// Null when the text cannot be read.
std::unique_ptr<PeerWriter> gemmi_pdb_writer(std::string_view pdb);

// Without sanitization, hydrogen removal or bonds from distances.
bench::ReadResult rdkit_read_pdb(std::string_view text);
// Every molecule, without sanitization or hydrogen removal.
bench::ReadResult rdkit_read_sdf(std::string_view text);
bench::ReadResult rdkit_read_xyz(std::string_view text);
// Writes the molecules read as above with their data items, without kekulization.
std::unique_ptr<PeerWriter> rdkit_sdf_writer(std::string_view sdf);
// Writes the molecule read as above.
std::unique_ptr<PeerWriter> rdkit_xyz_writer(std::string_view xyz);

// Every molecule of the text in the given format ("pdb", "sdf", "xyz"), with bond perception off
// where the format has the option.
bench::ReadResult openbabel_read(std::string_view text, const char* format);
// Writes the first molecule read as above.
std::unique_ptr<PeerWriter> openbabel_xyz_writer(std::string_view xyz);

// chemfiles' sides reading the text in its format ("PDB", "mmCIF", "SDF", "XYZ") from memory,
// counted as given: "chemfiles" reads frame by frame, each frame freed after use; "chemfiles kept"
// keeps every frame until the end, as our readers return them (skipped when the text holds one
// frame). None in a build without chemfiles.
std::vector<Side> chemfiles_readers(std::string_view text, const std::string& format,
                                    Outcome (*count)(const bench::ReadResult&));

// Which of the frames read a writer writes.
enum class Frames { first, all };

// chemfiles' side writing to memory, in the text's format, the frames it read from the text. None
// in a build without chemfiles.
std::vector<Side> chemfiles_writers(std::string_view text, const std::string& format, Frames frames);

// What the report says about chemfiles before the first comparison.
std::string_view chemfiles_legend();

}  // namespace redivi::compare
