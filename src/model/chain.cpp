// The chain table: filling helix and strand stores, and joining chain tables.
#include "redivi/chain.hpp"

#include "model/columns.hpp"
#include "model/labels.hpp"

namespace redivi {
namespace {

void append_columns(AlphaHelices& to, AlphaHelices&& from) {
  columns::append(to.helix_ids, std::move(from.helix_ids));
  columns::append(to.chain_refs, std::move(from.chain_refs));
  columns::append(to.start_residues, std::move(from.start_residues));
  columns::append(to.end_residues, std::move(from.end_residues));
  columns::append(to.classes, std::move(from.classes));
  columns::append(to.lengths, std::move(from.lengths));
}

void append_columns(BetaSheets& to, BetaSheets&& from) {
  columns::append(to.sheet_ids, std::move(from.sheet_ids));
  columns::append(to.strand_ids, std::move(from.strand_ids));
  columns::append(to.strand_ordinals, std::move(from.strand_ordinals));
  columns::append(to.num_strands, std::move(from.num_strands));
  columns::append(to.chain_refs, std::move(from.chain_refs));
  columns::append(to.start_residues, std::move(from.start_residues));
  columns::append(to.end_residues, std::move(from.end_residues));
  columns::append(to.senses, std::move(from.senses));
}

// Shifts a helix or strand store's references, then moves it in or appends it column by column.
// Each column is handled on its own, so columns of unequal length (a table that fails the
// structure check) are carried over as they are.
template <class Store>
void join_store(std::optional<Store>& to, Store&& from, std::uint32_t chain_offset, std::uint32_t residue_offset) {
  columns::shift(from.chain_refs, chain_offset);
  columns::shift(from.start_residues, residue_offset);
  columns::shift(from.end_residues, residue_offset);
  if (to) {
    append_columns(*to, std::move(from));
  } else {
    to = std::move(from);
  }
}

}  // namespace

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

// The residue offset is counted from the chains, as this table sees no residues: it equals the
// residue count when every residue lies in exactly one chain.
std::expected<void, ChainsError> Chains::extend(Chains&& other) {
  const std::uint32_t residue_offset = columns::total_size(chains);
  const auto chain_offset = static_cast<std::uint32_t>(chains.size());
  if (labels::merge(labeled, labels, std::move(other.labeled), std::move(other.labels), chain_offset) ==
      labels::Merge::labels_missing) {
    return std::unexpected(ChainsError::LabelsMissing);
  }
  for (Chain& chain : other.chains) columns::shift(chain, residue_offset);
  columns::append(chains, std::move(other.chains));
  if (other.alpha_helices) join_store(alpha_helices, std::move(*other.alpha_helices), chain_offset, residue_offset);
  if (other.beta_sheets) join_store(beta_sheets, std::move(*other.beta_sheets), chain_offset, residue_offset);
  return {};
}

}  // namespace redivi
