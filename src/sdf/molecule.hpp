// Converting one read SDF molecule to a structure and its extras.
#pragma once

#include <expected>
#include <optional>

#include "redivi/convert/sdf.hpp"

namespace redivi::sdf::detail {

// Builds the molecule as a structure into trc, which starts empty, and returns its extras. The name and
// data items are moved out; the atom and bond lists stay, for the next entry to reuse.
std::expected<std::optional<DataBlocks>, ConversionError> convert(Molecule& molecule, TRC& trc);

}  // namespace redivi::sdf::detail
