// PDB writing: ours against gemmi and chemfiles, each writing the first model it read from the same
// text.
#include <array>
#include <memory>

#include <redivi/convert/pdb.hpp>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

constexpr std::array<std::string_view, 2> files = {"pdb/1aon.pdb.gz", "pdb/6cvm.pdb"};
constexpr std::array<Generator, 1> generated = {{{&bench::large_pdb, "1M-atom PDB"}}};

Outcome write_ours(const std::vector<TRC>& structures) {
  if (structures.empty()) return {0, "nothing read"};
  const auto text = pdb::to_pdb(structures.front());
  if (!text) return {0, to_string(text.error())};
  return {text->size(), {}};
}

void compare_pdb_write(const Options& options) {
  for (const Input& input : load_inputs(files, generated)) {
    auto read = pdb::from_pdb_with_options(input.text, true);
    const auto ours = std::make_shared<std::vector<TRC>>(read ? std::move(*read) : std::vector<TRC>{});
    const std::shared_ptr<PeerWriter> gemmi = gemmi_pdb_writer(input.text);
    run_side_by_side(options, "PDB write: " + input.name, "bytes", input.text.size(),
                     joined(
                         {
                             {"redivi", [ours] { return write_ours(*ours); }},
                             {"gemmi", [gemmi] { return write_with(gemmi.get()); }},
                         },
                         chemfiles_writers(input.text, "PDB", Frames::first)),
                     std::nullopt);
  }
}

const bool registered = register_comparison({20, "pdb-write", &compare_pdb_write});

}  // namespace
}  // namespace redivi::compare
