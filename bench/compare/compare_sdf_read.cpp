// SDF reading: ours against RDKit, Open Babel and chemfiles on the largest corpus files and on the
// texts of many molecules, large (PubChem) and small.
#include <array>
#include <variant>

#include <redivi/convert/sdf.hpp>

#include "peers.hpp"
#include "side_by_side.hpp"

namespace redivi::compare {
namespace {

// The largest corpus files that the reader accepts (pubchem-hard-set.sdf.gz has charge code 4,
// which the reader rejects).
constexpr std::array<std::string_view, 3> files = {"sdf/mols.1000.sdf.gz", "sdf/read_multi_conf.sdf",
                                                   "sdf/solubility.train.sdf"};
constexpr std::array<Generator, 2> generated = {{
    {&bench::large_sdf, "100k-molecule SDF"},
    {&bench::small_molecule_sdf, "solubility.train.sdf x100"},
}};

// Our reader one entry at a time through the public entry functions, each structure freed before the
// next: what a program streaming a library does, and the counterpart of a peer's frame-by-frame reading.
bench::ReadResult read_entry_by_entry(std::string_view text) {
  bench::ReadResult result;
  for (const auto& entry : sdf::sdf_entries(text)) {
    const auto* found = std::get_if<sdf::SDFEntry>(&entry);
    if (found == nullptr) return {0, 0, to_string(std::get<sdf::SDFParseError>(entry))};
    auto molecule = sdf::parse_sdf_entry(found->text);
    if (!molecule) return {0, 0, to_string(molecule.error())};
    const auto structure = std::move(*molecule).try_into();
    if (!structure) return {0, 0, to_string(structure.error())};
    ++result.structures;
    result.atoms += structure->first.topology.symbols.size();
  }
  return result;
}

void compare_sdf_read(const Options& options) {
  for (const Input& input : load_inputs(files, generated)) {
    const std::string_view text = input.text;
    run_side_by_side(options, "SDF read: " + input.name, "molecules", text.size(),
                     joined(
                         {
                             {"redivi", [text] { return structures_of(bench::read_sdf(text)); }},
                             {"redivi by entry", [text] { return structures_of(read_entry_by_entry(text)); }},
                             {"RDKit", [text] { return structures_of(rdkit_read_sdf(text)); }},
                             {"Open Babel", [text] { return structures_of(openbabel_read(text, "sdf")); }},
                         },
                         chemfiles_readers(text, "SDF", &structures_of)),
                     input.expected);
  }
}

const bool registered = register_comparison({40, "sdf-read", &compare_sdf_read});

}  // namespace
}  // namespace redivi::compare
