// XYZ reading: ours against Open Babel, RDKit and chemfiles on the one-million-atom text.
#include <array>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

constexpr std::array<Generator, 1> generated = {{{&bench::large_xyz, "1M-atom XYZ"}}};

void compare_xyz_read(const Options& options) {
  for (const Input& input : load_inputs({}, generated)) {
    const std::string_view text = input.text;
    run_side_by_side(options, "XYZ read: " + input.name, "atoms", text.size(),
                     joined(
                         {
                             {"redivi", [text] { return atoms_of(bench::read_xyz(text)); }},
                             {"Open Babel", [text] { return atoms_of(openbabel_read(text, "xyz")); }},
                             {"RDKit", [text] { return atoms_of(rdkit_read_xyz(text)); }},
                         },
                         chemfiles_readers(text, "XYZ", &atoms_of)),
                     input.expected);
  }
}

const bool registered = register_comparison({60, "xyz-read", &compare_xyz_read});

}  // namespace
}  // namespace redivi::compare
