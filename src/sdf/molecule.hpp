// Converting one read SDF molecule to a structure and its extras.
#pragma once

#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "redivi/convert/sdf.hpp"

namespace redivi::sdf::detail {

// Builds the molecule as a checked structure into trc, which starts empty. The name is moved out; the atom
// and bond lists stay, for the next entry to reuse.
std::expected<void, ConversionError> build_structure(Molecule& molecule, TRC& trc);

// The extras of a molecule, gathered from its data items in order: the first item keyed "TETHERED ATOMS"
// gives the tethered atoms and the first whose key holds "SMILES" the SMILES; every other item is kept.
class Extras {
 public:
  // Takes the value out when its item is one of the two; false leaves the item to be kept.
  bool take(std::string_view key, std::string& value);

  // The extras with the kept items; nothing for an item list and groups left empty.
  std::expected<std::optional<DataBlocks>, ConversionError> finish(std::vector<DataItem> kept) &&;

 private:
  std::optional<std::string> tethered_;
  std::optional<std::string> smiles_;
};

}  // namespace redivi::sdf::detail
