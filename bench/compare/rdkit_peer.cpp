// RDKit's PDB, SDF and XYZ readers and its SDF and XYZ writers, all without sanitization.
#include <GraphMol/FileParsers/FileParsers.h>
#include <GraphMol/FileParsers/MolSupplier.h>
#include <GraphMol/FileParsers/MolWriters.h>
#include <GraphMol/RWMol.h>

#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "peers.hpp"

namespace redivi::compare {
namespace {

constexpr bool sanitize = false;
constexpr bool remove_hs = false;
constexpr bool proximity_bonding = false;

bench::ReadResult one_molecule(std::unique_ptr<RDKit::RWMol> molecule) {
  if (!molecule) return {0, 0, "no molecule"};
  return {1, molecule->getNumAtoms(), {}};
}

// Every molecule of an SDF text; entries that fail to parse are left out.
std::vector<std::unique_ptr<RDKit::ROMol>> read_molecules(std::string_view text) {
  RDKit::SDMolSupplier supplier;
  supplier.setData(std::string(text), sanitize, remove_hs);
  std::vector<std::unique_ptr<RDKit::ROMol>> molecules;
  while (!supplier.atEnd()) {
    std::unique_ptr<RDKit::ROMol> molecule(supplier.next());
    if (molecule) molecules.push_back(std::move(molecule));
  }
  return molecules;
}

class RdkitSdfWriter final : public PeerWriter {
 public:
  explicit RdkitSdfWriter(std::vector<std::unique_ptr<RDKit::ROMol>> molecules) : molecules_(std::move(molecules)) {}

  std::size_t write() override {
    std::ostringstream out;
    try {
      RDKit::SDWriter writer(&out);
      writer.setKekulize(false);
      for (const auto& molecule : molecules_) writer.write(*molecule);
      writer.flush();
    } catch (const std::exception&) { return 0; }
    return out.str().size();
  }

 private:
  std::vector<std::unique_ptr<RDKit::ROMol>> molecules_;
};

class RdkitXyzWriter final : public PeerWriter {
 public:
  explicit RdkitXyzWriter(std::unique_ptr<RDKit::RWMol> molecule) : molecule_(std::move(molecule)) {}

  std::size_t write() override {
    try {
      return RDKit::MolToXYZBlock(*molecule_).size();
    } catch (const std::exception&) { return 0; }
  }

 private:
  std::unique_ptr<RDKit::RWMol> molecule_;
};

}  // namespace

bench::ReadResult rdkit_read_pdb(std::string_view text) {
  try {
    return one_molecule(std::unique_ptr<RDKit::RWMol>(
        RDKit::PDBBlockToMol(std::string(text), sanitize, remove_hs, 0, proximity_bonding)));
  } catch (const std::exception& error) { return {0, 0, error.what()}; }
}

bench::ReadResult rdkit_read_sdf(std::string_view text) {
  try {
    bench::ReadResult result;
    for (const auto& molecule : read_molecules(text)) {
      ++result.structures;
      result.atoms += molecule->getNumAtoms();
    }
    return result;
  } catch (const std::exception& error) { return {0, 0, error.what()}; }
}

bench::ReadResult rdkit_read_xyz(std::string_view text) {
  try {
    return one_molecule(std::unique_ptr<RDKit::RWMol>(RDKit::XYZBlockToMol(std::string(text))));
  } catch (const std::exception& error) { return {0, 0, error.what()}; }
}

std::unique_ptr<PeerWriter> rdkit_sdf_writer(std::string_view sdf) {
  try {
    return std::make_unique<RdkitSdfWriter>(read_molecules(sdf));
  } catch (const std::exception&) { return nullptr; }
}

std::unique_ptr<PeerWriter> rdkit_xyz_writer(std::string_view xyz) {
  try {
    std::unique_ptr<RDKit::RWMol> molecule(RDKit::XYZBlockToMol(std::string(xyz)));
    if (!molecule) return nullptr;
    return std::make_unique<RdkitXyzWriter>(std::move(molecule));
  } catch (const std::exception&) { return nullptr; }
}

}  // namespace redivi::compare
