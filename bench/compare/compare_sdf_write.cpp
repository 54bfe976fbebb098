// SDF writing: ours against RDKit and chemfiles, each writing the molecules it read from the same
// text.
#include <array>
#include <memory>

#include <redivi/convert/sdf.hpp>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

constexpr std::array<std::string_view, 1> files = {"sdf/mols.1000.sdf.gz"};
constexpr std::array<Generator, 2> generated = {{
    {&bench::large_sdf, "100k-molecule SDF"},
    {&bench::small_molecule_sdf, "solubility.train.sdf x100"},
}};

using OurMolecules = std::pair<std::vector<TRC>, std::vector<std::optional<sdf::DataBlocks>>>;

Outcome write_ours(const OurMolecules& molecules) {
  if (molecules.first.empty()) return {0, "nothing read"};
  std::string text;
  const auto written = sdf::to_sdf(molecules.first, molecules.second, text);
  if (!written) return {0, to_string(written.error())};
  return {text.size(), {}};
}

void compare_sdf_write(const Options& options) {
  for (const Input& input : load_inputs(files, generated)) {
    auto read = sdf::from_sdf(input.text);
    const auto ours = std::make_shared<OurMolecules>(read ? std::move(*read) : OurMolecules{});
    const std::shared_ptr<PeerWriter> rdkit = rdkit_sdf_writer(input.text);
    run_side_by_side(options, "SDF write: " + input.name, "bytes", input.text.size(),
                     joined(
                         {
                             {"redivi", [ours] { return write_ours(*ours); }},
                             {"RDKit", [rdkit] { return write_with(rdkit.get()); }},
                         },
                         chemfiles_writers(input.text, "SDF", Frames::all)),
                     std::nullopt);
  }
}

const bool registered = register_comparison({50, "sdf-write", &compare_sdf_write});

}  // namespace
}  // namespace redivi::compare
