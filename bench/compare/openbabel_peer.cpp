// Open Babel's readers, with bond perception off where the format has the option, and its XYZ writer.
#include <openbabel/mol.h>
#include <openbabel/obconversion.h>
#include <openbabel/oberror.h>

#include <sstream>
#include <string>

#include "peers.hpp"

namespace redivi::compare {
namespace {

// A conversion reading the format, with "b" (no bonds from distances) for PDB and XYZ.
bool set_reading(OpenBabel::OBConversion& conversion, const char* format) {
  OpenBabel::obErrorLog.StopLogging();
  if (!conversion.SetInFormat(format)) return false;
  if (std::string_view(format) != "sdf") conversion.AddOption("b", OpenBabel::OBConversion::INOPTIONS);
  return true;
}

class OpenBabelXyzWriter final : public PeerWriter {
 public:
  explicit OpenBabelXyzWriter(OpenBabel::OBMol molecule) : molecule_(std::move(molecule)) {}

  std::size_t write() override {
    OpenBabel::OBConversion conversion;
    if (!conversion.SetOutFormat("xyz")) return 0;
    std::ostringstream out;
    if (!conversion.Write(&molecule_, &out)) return 0;
    return out.str().size();
  }

 private:
  OpenBabel::OBMol molecule_;
};

}  // namespace

bench::ReadResult openbabel_read(std::string_view text, const char* format) {
  OpenBabel::OBConversion conversion;
  if (!set_reading(conversion, format)) return {0, 0, std::string("no format ") + format};
  std::istringstream in{std::string(text)};
  bench::ReadResult result;
  OpenBabel::OBMol molecule;
  for (bool read = conversion.Read(&molecule, &in); read; read = conversion.Read(&molecule)) {
    ++result.structures;
    result.atoms += molecule.NumAtoms();
    molecule.Clear();
  }
  return result;
}

std::unique_ptr<PeerWriter> openbabel_xyz_writer(std::string_view xyz) {
  OpenBabel::OBConversion conversion;
  std::istringstream in{std::string(xyz)};
  OpenBabel::OBMol molecule;
  if (!set_reading(conversion, "xyz") || !conversion.Read(&molecule, &in)) return nullptr;
  return std::make_unique<OpenBabelXyzWriter>(std::move(molecule));
}

}  // namespace redivi::compare
