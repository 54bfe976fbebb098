// Open Babel's readers, with bond perception off where the format has the option.
#include <openbabel/mol.h>
#include <openbabel/oberror.h>
#include <openbabel/obconversion.h>

#include <sstream>
#include <string>

#include "peers.hpp"

namespace redivi::compare {

bench::ReadResult openbabel_read(std::string_view text, const char* format) {
  OpenBabel::obErrorLog.StopLogging();
  OpenBabel::OBConversion conversion;
  if (!conversion.SetInFormat(format)) return {0, 0, std::string("no format ") + format};
  // "b": no bonds from distances (PDB and XYZ).
  if (std::string_view(format) != "sdf") conversion.AddOption("b", OpenBabel::OBConversion::INOPTIONS);
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

}  // namespace redivi::compare
