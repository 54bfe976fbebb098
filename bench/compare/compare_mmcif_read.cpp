// mmCIF reading: ours against gemmi (document, then structure) and chemfiles on the largest corpus
// files and on the one-million-atom text.
#include <array>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

constexpr std::array<std::string_view, 4> files = {"cif/2L6N.cif", "cif/1xnr.cif", "cif/1gya.cif", "cif/4zxb.cif"};
constexpr std::array<Generator, 1> generated = {{{&bench::large_mmcif, "1M-atom mmCIF"}}};

void compare_mmcif_read(const Options& options) {
  for (const Input& input : load_inputs(files, generated)) {
    const std::string_view text = input.text;
    run_side_by_side(options, "mmCIF read: " + input.name, "atoms", text.size(),
                     joined(
                         {
                             {"redivi", [text] { return atoms_of(bench::read_mmcif(text)); }},
                             {"gemmi", [text] { return atoms_of(gemmi_read_mmcif(text)); }},
                         },
                         chemfiles_readers(text, "mmCIF", &atoms_of)),
                     input.expected);
  }
}

const bool registered = register_comparison({30, "mmcif-read", &compare_mmcif_read});

}  // namespace
}  // namespace redivi::compare
