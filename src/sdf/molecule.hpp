// Converting one read SDF molecule to a structure and its extras.
#pragma once

#include <expected>
#include <optional>
#include <vector>

#include "redivi/convert/sdf.hpp"

namespace redivi::sdf::detail {

// Builds the molecule as a checked structure into trc, which starts empty. The name is moved out; the atom
// and bond lists stay, for the next entry to reuse.
std::expected<void, ConversionError> build_structure(Molecule& molecule, TRC& trc);

// The extras of a molecule's data items: its tethered atoms and SMILES taken out, the other items kept;
// nothing when no item or group is left.
std::expected<std::optional<DataBlocks>, ConversionError> extras_of(std::vector<DataItem> items);

}  // namespace redivi::sdf::detail
