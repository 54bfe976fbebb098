// gemmi's PDB and mmCIF readers and its PDB writer. The build compiles this file with gemmi's
// write implementation switched on.
#include <gemmi/cif.hpp>
#include <gemmi/mmcif.hpp>
#include <gemmi/pdb.hpp>
#include <gemmi/to_pdb.hpp>

#include <exception>
#include <sstream>

#include "peers.hpp"

namespace redivi::compare {
namespace {

bench::ReadResult counted(const gemmi::Structure& structure) {
  bench::ReadResult result{structure.models.size(), 0, {}};
  for (const gemmi::Model& model : structure.models) {
    for (const gemmi::Chain& chain : model.chains) {
      for (const gemmi::Residue& residue : chain.residues) result.atoms += residue.atoms.size();
    }
  }
  return result;
}

class GemmiPdbWriter final : public PeerWriter {
 public:
  explicit GemmiPdbWriter(gemmi::Structure structure) : structure_(std::move(structure)) {}

  std::size_t write() override {
    std::ostringstream out;
    try {
      gemmi::write_pdb(structure_, out);
    } catch (const std::exception&) { return 0; }
    return out.str().size();
  }

 private:
  gemmi::Structure structure_;
};

}  // namespace

bench::ReadResult gemmi_read_pdb(std::string_view text) {
  try {
    return counted(gemmi::read_pdb_from_memory(text.data(), text.size(), "input"));
  } catch (const std::exception& error) { return {0, 0, error.what()}; }
}

bench::ReadResult gemmi_read_mmcif(std::string_view text) {
  try {
    const gemmi::cif::Document document = gemmi::cif::read_memory(text.data(), text.size(), "input");
    return counted(gemmi::make_structure(document));
  } catch (const std::exception& error) { return {0, 0, error.what()}; }
}

std::unique_ptr<PeerWriter> gemmi_pdb_writer(std::string_view pdb) {
  try {
    return std::make_unique<GemmiPdbWriter>(gemmi::read_pdb_from_memory(pdb.data(), pdb.size(), "input"));
  } catch (const std::exception&) { return nullptr; }
}

}  // namespace redivi::compare
