// SEQRES alignment: numbers each chain's SEQRES residues and adds those a model lacks.
#include <algorithm>

#include "pdb/reader.hpp"
#include "model/insertion_code.hpp"
#include "redivi/diagnostics.hpp"
#include "text/text.hpp"

namespace redivi::pdb::detail {
namespace {

void warn(const std::string& message) { diagnostics::emit(target, diagnostics::Level::warn, message); }

bool warnings_enabled() { return diagnostics::enabled(diagnostics::Level::warn); }

// Sequence numbers wrap around in 32 bits, as the positions are counted from begin.
std::int32_t offset(std::int32_t begin, std::size_t steps, bool forward) {
  const auto base = static_cast<std::uint32_t>(begin);
  const auto delta = static_cast<std::uint32_t>(steps);
  return static_cast<std::int32_t>(forward ? base + delta : base - delta);
}

// The number of the first SEQRES position: the chain's DBREF sequence begin, else placed so that
// the first SEQRES name equal to the name of the chain's first residue numbered min gets min.
std::optional<std::int32_t> sequence_begin(const SeqresRecords& seqres, std::string_view chain_id,
                                           std::span<const std::string> names, const ResidueKey& first) {
  if (const auto dbref = seqres.seq_begins.find(chain_id); dbref != seqres.seq_begins.end()) return dbref->second;
  const auto found = std::find(names.begin(), names.end(), first.res_name);
  if (found != names.end()) return offset(first.res_seq, static_cast<std::size_t>(found - names.begin()), false);
  if (warnings_enabled()) {
    warn(text::concat("WARNING: chain ", chain_id, ": could not align SEQRES with ATOM records (residue ", first.res_name,
                      " at seq_n ", first.res_seq,
                      " not found in SEQRES). Skipping SEQRES processing for this chain."));
  }
  return std::nullopt;
}

void warn_terminal(std::string_view chain_id, std::int64_t min, std::int64_t max, std::int64_t begin, std::size_t length) {
  const std::int64_t last = begin + static_cast<std::int64_t>(length) - 1;
  const std::int64_t count = std::max<std::int64_t>(min - begin, 0) + std::max<std::int64_t>(last - max, 0);
  if (count < 11 || !warnings_enabled()) return;
  warn(text::concat("WARNING: chain ", chain_id, " has ", count, " empty terminal residues from SEQRES (resolved range: ",
                    min, '-', max, ", SEQRES range: ", begin, '-', last,
                    "). Use from_pdb_with_options(..., false) to exclude them."));
}

void warn_internal(std::string_view chain_id, const std::vector<std::pair<std::string_view, std::int32_t>>& missing) {
  if (missing.empty() || !warnings_enabled()) return;
  std::string list;
  for (const auto& [name, number] : missing) {
    if (!list.empty()) list += ", ";
    list += text::concat(name, ' ', number);
  }
  warn(text::concat("WARNING: chain ", chain_id, " has ", missing.size(),
                    " missing internal residue(s) from SEQRES that are being omitted because include_seqres is false: ",
                    list));
}

struct ChainOrder {
  bool operator()(const ResidueRun& run, std::string_view id) const { return run.key.chain_id < id; }
  bool operator()(std::string_view id, const ResidueRun& run) const { return id < run.key.chain_id; }
};

struct SeqOrder {
  bool operator()(const ResidueRun& run, std::int32_t n) const { return run.key.res_seq < n; }
  bool operator()(std::int32_t n, const ResidueRun& run) const { return n < run.key.res_seq; }
};

// Numbers the SEQRES names of one chain, whose residues (in key order) are chain; residues to add
// go to added.
void align_chain(const SeqresRecords& seqres, std::string_view chain_id, std::span<const std::string> names,
                 std::span<const ResidueRun> chain, bool include_seqres, std::vector<ResidueKey>& added) {
  const std::int32_t min = chain.front().key.res_seq;
  const std::int32_t max = chain.back().key.res_seq;
  const auto begin = sequence_begin(seqres, chain_id, names, chain.front().key);
  if (!begin) return;
  // Within one chain the runs are in order of sequence number.
  const auto present = [&chain](std::int32_t n) { return std::binary_search(chain.begin(), chain.end(), n, SeqOrder{}); };
  std::vector<std::pair<std::string_view, std::int32_t>> missing;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::int32_t n = offset(*begin, i, true);
    if (present(n)) continue;
    if (include_seqres) {
      added.push_back(ResidueKey{chain_id, n, redivi::detail::no_insertion_code, names[i]});
    } else if (min < n && n < max) {
      missing.emplace_back(names[i], n);
    }
  }
  if (include_seqres) warn_terminal(chain_id, min, max, *begin, names.size());
  else warn_internal(chain_id, missing);
}

}  // namespace

void align_seqres(const SeqresRecords& seqres, bool include_seqres, ResidueCollections& residues) {
  std::vector<ResidueKey> added;
  const auto runs = residues.runs();
  for (const auto& [chain_id, names] : seqres.names) {
    const auto [first, last] = std::equal_range(runs.begin(), runs.end(), std::string_view(chain_id), ChainOrder{});
    if (first == last) continue;  // the model has no residue in this chain
    align_chain(seqres, chain_id, names, std::span(first, last), include_seqres, added);
  }
  if (added.empty()) return;
  for (const ResidueKey& key : added) residues.add_empty(key);
  residues.sort();
}

}  // namespace redivi::pdb::detail
