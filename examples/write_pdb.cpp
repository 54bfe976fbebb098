// Reads PDB text from standard input and writes its first structure back as PDB text on standard output.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include <redivi/redivi.hpp>

int main() {
  const std::string contents{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
  const auto structures = redivi::pdb::from_pdb_with_options(contents, true);
  if (!structures) {
    std::fprintf(stderr, "PDB parse error: %s\n", to_string(structures.error()).c_str());
    return 1;
  }
  if (structures->empty()) return 0;
  // SEQRES, HELIX, SHEET, ATOM/HETATM and CONECT records; serials are the 0-based atom indices.
  const auto written = redivi::pdb::to_pdb(structures->front());
  if (!written) {
    std::fprintf(stderr, "PDB write error: %s\n", to_string(written.error()).c_str());
    return 1;
  }
  std::fputs(written->c_str(), stdout);
  return 0;
}
