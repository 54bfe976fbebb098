// Reads an SDF library, lists each molecule and its data items, and writes the library back as SDF text.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <redivi/redivi.hpp>

namespace {

std::string read_file(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The first line of a value, cut to 40 bytes.
std::string_view short_value(std::string_view value) {
  return value.substr(0, std::min({value.find('\n'), value.size(), std::size_t{40}}));
}

void print_molecule(const redivi::TRC& molecule, const std::optional<redivi::sdf::DataBlocks>& extras) {
  // The molecule's name (the first line of its entry) is the label of its single residue, "LIG".
  const std::string& name = (*molecule.residues.labels)[0][0];
  std::printf("%s: %zu atoms, %zu bonds, net charge %d\n", name.c_str(), molecule.topology.symbols.size(),
              molecule.topology.connectivity->size(), (*molecule.topology.fragment_formal_charges)[0]);
  if (!extras) return;  // no data items (or only a SMILES item, which is then dropped)
  if (extras->smiles) std::printf("  SMILES, kept apart and not written back: %s\n", extras->smiles->c_str());
  constexpr std::size_t shown = 3;
  for (std::size_t i = 0; i < extras->data_items.size() && i < shown; ++i) {
    const auto& [key, value] = extras->data_items[i];
    std::printf("  %s = %.*s\n", key.c_str(), static_cast<int>(short_value(value).size()), short_value(value).data());
  }
  if (extras->data_items.size() > shown)
    std::printf("  ... and %zu more data items\n", extras->data_items.size() - shown);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sdf_library IN.sdf OUT.sdf\n");
    return 2;
  }
  // One structure per entry, and beside it the entry's data items (absent when it has none).
  const auto library = redivi::sdf::from_sdf(read_file(argv[1]));
  if (!library) {
    std::fprintf(stderr, "SDF read error: %s\n", to_string(library.error()).c_str());
    return 1;
  }
  const auto& [molecules, extras] = *library;
  for (std::size_t i = 0; i < molecules.size(); ++i) print_molecule(molecules[i], extras[i]);

  std::string text;
  if (const auto written = redivi::sdf::to_sdf(molecules, extras, text); !written) {
    std::fprintf(stderr, "SDF write error: %s\n", to_string(written.error()).c_str());
    return 1;
  }
  std::ofstream(argv[2], std::ios::binary) << text;
  const auto reread = redivi::sdf::from_sdf(text);
  std::printf("written to %s: %zu molecules, %zu bytes; read back: %zu molecules\n", argv[2], molecules.size(),
              text.size(), reread ? reread->first.size() : 0);
  return reread ? 0 : 1;
}
