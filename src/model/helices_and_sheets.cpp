// Filling the helix and sheet-strand stores of a chain table, one entry in every column at a time.
#include "redivi/chain.hpp"

#include <utility>

namespace redivi {

void AlphaHelices::push(std::string helix_id, std::uint32_t chain_ref, std::uint32_t start_residue,
                        std::uint32_t end_residue, std::optional<HelixClass> helix_class,
                        std::optional<std::uint32_t> length) {
  helix_ids.push_back(std::move(helix_id));
  chain_refs.push_back(chain_ref);
  start_residues.push_back(start_residue);
  end_residues.push_back(end_residue);
  classes.push_back(helix_class);
  lengths.push_back(length);
}

void BetaSheets::push(std::string sheet_id, std::string strand_id, std::optional<std::uint32_t> strand_ordinal,
                      std::optional<std::uint32_t> num_strands_in_sheet, std::uint32_t chain_ref,
                      std::uint32_t start_residue, std::uint32_t end_residue, std::optional<StrandSense> sense) {
  sheet_ids.push_back(std::move(sheet_id));
  strand_ids.push_back(std::move(strand_id));
  strand_ordinals.push_back(strand_ordinal);
  num_strands.push_back(num_strands_in_sheet);
  chain_refs.push_back(chain_ref);
  start_residues.push_back(start_residue);
  end_residues.push_back(end_residue);
  senses.push_back(sense);
}

}  // namespace redivi
