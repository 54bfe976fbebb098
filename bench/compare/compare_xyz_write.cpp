// XYZ writing: ours against Open Babel, RDKit and chemfiles, each writing the atoms it read from the
// same text.
#include <array>
#include <memory>

#include <redivi/convert/xyz.hpp>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

constexpr std::array<Generator, 1> generated = {{{&bench::large_xyz, "1M-atom XYZ"}}};

Outcome write_ours(const std::optional<Topology>& topology) {
  if (!topology) return {0, "nothing read"};
  const auto text = xyz::to_xyz(*topology);
  if (!text) return {0, to_string(text.error())};
  return {text->size(), {}};
}

void compare_xyz_write(const Options& options) {
  for (const Input& input : load_inputs({}, generated)) {
    auto read = xyz::from_xyz(input.text);
    const auto ours = std::make_shared<std::optional<Topology>>(read ? std::optional(std::move(*read)) : std::nullopt);
    const std::shared_ptr<PeerWriter> openbabel = openbabel_xyz_writer(input.text);
    const std::shared_ptr<PeerWriter> rdkit = rdkit_xyz_writer(input.text);
    run_side_by_side(options, "XYZ write: " + input.name, "bytes", input.text.size(),
                     joined(
                         {
                             {"redivi", [ours] { return write_ours(*ours); }},
                             {"Open Babel", [openbabel] { return write_with(openbabel.get()); }},
                             {"RDKit", [rdkit] { return write_with(rdkit.get()); }},
                         },
                         chemfiles_writers(input.text, "XYZ", Frames::first)),
                     std::nullopt);
  }
}

const bool registered = register_comparison({70, "xyz-write", &compare_xyz_write});

}  // namespace
}  // namespace redivi::compare
