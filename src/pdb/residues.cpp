// A PDB model's residues to its residues, chains, helices, sheets and fragments.
#include "pdb/reader.hpp"
#include "structure/residue_tables.hpp"
#include "structure/secondary_structure.hpp"
#include "text/text.hpp"

namespace redivi::pdb::detail {
namespace {

using structure::detail::ResidueKey;
using structure::detail::StructureIndex;

template <class Record>
std::optional<structure::detail::ResidueSpan> resolve(const StructureIndex& index, const Record& r) {
  return structure::detail::resolve_span(index,
                                         ResidueKey{r.init_chain_id, r.init_seq_num, r.init_i_code, r.init_res_name},
                                         ResidueKey{r.end_chain_id, r.end_seq_num, r.end_i_code, r.end_res_name});
}

// A blank length or number of strands reads as 0, which the structure leaves absent.
std::optional<std::uint32_t> positive(std::int32_t value) {
  if (value <= 0) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<AlphaHelices> resolve_helices(const StructureIndex& index, std::span<const Helix> helices) {
  AlphaHelices out;
  for (const Helix& h : helices) {
    const auto span = resolve(index, h);
    if (!span) continue;
    out.push(h.helix_id, span->chain, span->start, span->end, structure::detail::helix_class(h.helix_class),
             positive(h.length));
  }
  if (out.helix_ids.empty()) return std::nullopt;
  return out;
}

// SHEET senses: -1 anti-parallel, 1 parallel, 0 for the first strand of a sheet.
std::optional<StrandSense> strand_sense(const Sheet& s) {
  if (s.sense == -1) return StrandSense::AntiParallel;
  if (s.sense == 1) return StrandSense::Parallel;
  if (s.sense == 0 && s.strand == 1) return StrandSense::First;
  return std::nullopt;
}

std::optional<BetaSheets> resolve_sheets(const StructureIndex& index, std::span<const Sheet> sheets) {
  BetaSheets out;
  for (const Sheet& s : sheets) {
    const auto span = resolve(index, s);
    if (!span) continue;
    out.push(s.sheet_id, text::concat(s.strand), positive(s.strand), positive(s.num_strands), span->chain, span->start,
             span->end, strand_sense(s));
  }
  if (out.sheet_ids.empty()) return std::nullopt;
  return out;
}

// One fragment per residue with atoms, with the sum of its atoms' formal charges. Unlike mmCIF, a
// residue that only SEQRES names gets no fragment.
std::expected<void, Error> make_fragments(const Residues& residues, std::span<const std::int32_t> formal_charges,
                                          ResidueTables& out) {
  out.fragments.reserve(residues.residues.size());
  out.fragment_formal_charges.reserve(residues.residues.size());
  for (const Residue& atoms : residues.residues) {
    if (atoms.empty()) continue;
    const auto charge = structure::detail::formal_charge_sum(atoms, formal_charges);
    if (!charge) return std::unexpected(Error{Error::ChargesMismatch{}});
    out.fragments.push_back(atoms);
    out.fragment_formal_charges.push_back(*charge);
  }
  return {};
}

}  // namespace

std::expected<ResidueTables, Error> build_residue_tables(structure::detail::SortedResidues&& sorted,
                                                         std::span<const Helix> helices, std::span<const Sheet> sheets,
                                                         std::span<const std::int32_t> formal_charges) {
  ResidueTables out;
  const StructureIndex index = structure::detail::fill_residues_and_chains(std::move(sorted), out.residues, out.chains);
  out.chains.alpha_helices = resolve_helices(index, helices);
  out.chains.beta_sheets = resolve_sheets(index, sheets);
  if (auto made = make_fragments(out.residues, formal_charges, out); !made) return std::unexpected(made.error());
  return out;
}

}  // namespace redivi::pdb::detail
