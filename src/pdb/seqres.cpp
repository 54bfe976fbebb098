// SEQRES alignment: numbers each chain's SEQRES residues and adds those a model lacks.
#include <algorithm>

#include "model/insertion_code.hpp"
#include "pdb/reader.hpp"
#include "redivi/diagnostics.hpp"
#include "structure/sequence_alignment.hpp"
#include "text/text.hpp"

namespace redivi::pdb::detail {
namespace {

using structure::detail::ResidueKey;

void warn(const std::string& message) { diagnostics::emit(target, diagnostics::Level::warn, message); }

bool warnings_enabled() { return diagnostics::enabled(diagnostics::Level::warn); }

// The number of the first SEQRES position: the chain's DBREF sequence begin, else aligned on the
// chain's first residue.
std::optional<std::int32_t> sequence_begin(const SeqresRecords& seqres, std::string_view chain_id,
                                           std::span<const std::string> names, const ResidueKey& first) {
  if (const auto dbref = seqres.seq_begins.find(chain_id); dbref != seqres.seq_begins.end()) return dbref->second;
  if (const auto begin = structure::detail::sequence_begin(names, first)) return begin;
  if (warnings_enabled()) {
    warn(text::concat("WARNING: chain ", chain_id, ": could not align SEQRES with ATOM records (residue ",
                      first.res_name, " at seq_n ", first.res_seq,
                      " not found in SEQRES). Skipping SEQRES processing for this chain."));
  }
  return std::nullopt;
}

void warn_terminal(std::string_view chain_id, std::int64_t min, std::int64_t max, std::int64_t begin,
                   std::size_t length) {
  const std::int64_t last = begin + static_cast<std::int64_t>(length) - 1;
  const std::int64_t count = std::max<std::int64_t>(min - begin, 0) + std::max<std::int64_t>(last - max, 0);
  if (count < 11 || !warnings_enabled()) return;
  warn(text::concat("WARNING: chain ", chain_id, " has ", count,
                    " empty terminal residues from SEQRES (resolved range: ", min, '-', max, ", SEQRES range: ", begin,
                    '-', last, "). Use from_pdb_with_options(..., false) to exclude them."));
}

void warn_internal(std::string_view chain_id, const std::vector<std::pair<std::string_view, std::int32_t>>& missing) {
  if (missing.empty() || !warnings_enabled()) return;
  std::string list;
  for (const auto& [name, number] : missing) {
    if (!list.empty()) list += ", ";
    list += text::concat(name, ' ', number);
  }
  warn(text::concat(
      "WARNING: chain ", chain_id, " has ", missing.size(),
      " missing internal residue(s) from SEQRES that are being omitted because include_seqres is false: ", list));
}

// Numbers the SEQRES names of one chain, whose residues (in key order) are chain; residues to add
// go to added. Unlike mmCIF, include_seqres can turn the adding off, and the terminal and missing
// internal residues are reported.
void align_chain(const SeqresRecords& seqres, std::string_view chain_id, std::span<const std::string> names,
                 std::span<const ResidueKey> chain, bool include_seqres,
                 std::vector<structure::detail::EmptyResidue>& added) {
  const std::int32_t min = chain.front().res_seq;
  const std::int32_t max = chain.back().res_seq;
  const auto begin = sequence_begin(seqres, chain_id, names, chain.front());
  if (!begin) return;
  std::vector<std::pair<std::string_view, std::int32_t>> missing;
  for (const auto [position, n] : structure::detail::sequence_gaps(chain, *begin, names.size())) {
    if (include_seqres) {
      added.push_back({ResidueKey{chain_id, n, redivi::detail::no_insertion_code, names[position]}, {}});
    } else if (min < n && n < max) {
      missing.emplace_back(names[position], n);
    }
  }
  if (include_seqres)
    warn_terminal(chain_id, min, max, *begin, names.size());
  else
    warn_internal(chain_id, missing);
}

}  // namespace

void align_seqres(const SeqresRecords& seqres, bool include_seqres, structure::detail::SortedResidues& residues) {
  std::vector<structure::detail::EmptyResidue> added;
  for (const auto& [chain_id, names] : seqres.names) {
    const auto chain = structure::detail::chain_residues(residues.keys, chain_id);
    if (chain.empty()) continue;  // the model has no residue in this chain
    align_chain(seqres, chain_id, names, chain, include_seqres, added);
  }
  structure::detail::add_residues_without_atoms(residues, std::move(added));
}

}  // namespace redivi::pdb::detail
