// A PDB model's residue collections to its residues, chains, helices, sheets and fragments.
#include <algorithm>
#include <numeric>

#include "pdb/reader.hpp"
#include "text/text.hpp"

namespace redivi::pdb::detail {
namespace {

// The position of value in sorted, if it is there.
template <class T>
std::optional<std::uint32_t> find_sorted(const std::vector<T>& sorted, const T& value) {
  const auto found = std::lower_bound(sorted.begin(), sorted.end(), value);
  if (found == sorted.end() || !(*found == value)) return std::nullopt;
  return static_cast<std::uint32_t>(found - sorted.begin());
}

// The residues and chains in key order, with the sorted keys and chain identifiers for the lookups
// of HELIX and SHEET records.
struct Tables {
  Residues residues;
  std::vector<Chain> chains;
  std::vector<ResidueKey> keys;
  std::vector<std::string_view> chain_ids;
};

// Room for one entry per run: at most one residue each.
void reserve(Tables& t, std::size_t runs) {
  t.keys.reserve(runs);
  t.residues.residues.reserve(runs);
  t.residues.seqs.reserve(runs);
  t.residues.seq_ns.reserve(runs);
  t.residues.insertion_codes.reserve(runs);
}

// The atoms of the runs, in order, in one allocation of their number.
Residue joined_atoms(std::span<const ResidueRun> runs) {
  std::size_t count = 0;
  for (const ResidueRun& run : runs) count += run.atom_count;
  Residue atoms(count);
  auto atom = atoms.begin();
  for (const ResidueRun& run : runs) {
    const auto end = atom + run.atom_count;
    std::iota(atom, end, run.first_atom);
    atom = end;
  }
  return atoms;
}

// Runs of one key follow each other in file order: their atoms joined are the residue's atoms.
Tables group_runs(std::span<const ResidueRun> runs) {
  Tables t;
  reserve(t, runs.size());
  for (std::size_t i = 0; i < runs.size();) {
    const ResidueKey& key = runs[i].key;
    std::size_t j = i + 1;
    while (j < runs.size() && runs[j].key == key) ++j;
    const auto index = static_cast<ResidueRef>(t.keys.size());
    t.keys.push_back(key);
    t.residues.residues.push_back(joined_atoms(runs.subspan(i, j - i)));
    t.residues.seqs.emplace_back(key.res_name);
    t.residues.seq_ns.push_back(key.res_seq);
    t.residues.insertion_codes.emplace_back(runs[j - 1].i_code);  // the last atom filed decides
    if (t.chain_ids.empty() || !same_text(t.chain_ids.back(), key.chain_id)) {
      t.chain_ids.push_back(key.chain_id);
      t.chains.emplace_back();
    }
    t.chains.back().push_back(index);
    i = j;
  }
  return t;
}

// The chain and the start and end residues that a HELIX or SHEET record names, when the model has them.
struct Span {
  std::uint32_t chain, start, end;
};

template <class Record>
std::optional<Span> resolve(const Tables& t, const Record& r) {
  const auto chain = find_sorted(t.chain_ids, std::string_view(r.init_chain_id));
  if (!chain) return std::nullopt;
  const auto start = find_sorted(t.keys, ResidueKey{r.init_chain_id, r.init_seq_num, r.init_i_code, r.init_res_name});
  if (!start) return std::nullopt;
  const auto end = find_sorted(t.keys, ResidueKey{r.end_chain_id, r.end_seq_num, r.end_i_code, r.end_res_name});
  if (!end) return std::nullopt;
  return Span{*chain, *start, *end};
}

std::optional<std::uint32_t> positive(std::int32_t value) {
  if (value <= 0) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<AlphaHelices> resolve_helices(const Tables& t, std::span<const Helix> helices) {
  AlphaHelices out;
  for (const Helix& h : helices) {
    const auto span = resolve(t, h);
    if (!span) continue;
    std::optional<HelixClass> helix_class;
    if (h.helix_class >= 1 && h.helix_class <= 10) helix_class = static_cast<HelixClass>(h.helix_class);
    out.push(h.helix_id, span->chain, span->start, span->end, helix_class, positive(h.length));
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

std::optional<BetaSheets> resolve_sheets(const Tables& t, std::span<const Sheet> sheets) {
  BetaSheets out;
  for (const Sheet& s : sheets) {
    const auto span = resolve(t, s);
    if (!span) continue;
    out.push(s.sheet_id, text::concat(s.strand), positive(s.strand), positive(s.num_strands), span->chain, span->start,
             span->end, strand_sense(s));
  }
  if (out.sheet_ids.empty()) return std::nullopt;
  return out;
}

// Each chain is labeled with its identifier from the file (possibly empty).
void label_chains(Chains& chains, std::span<const std::string_view> chain_ids) {
  std::vector<std::uint32_t> labeled(chain_ids.size());
  std::iota(labeled.begin(), labeled.end(), 0U);
  std::vector<std::vector<std::string>> labels;
  labels.reserve(chain_ids.size());
  for (const std::string_view id : chain_ids) labels.push_back({std::string(id)});
  chains.labeled = std::move(labeled);
  chains.labels = std::move(labels);
}

// One fragment per residue with atoms, with the sum of its atoms' formal charges.
std::expected<void, Error> make_fragments(const Residues& residues, std::span<const std::int32_t> formal_charges,
                                          ResidueTables& out) {
  out.fragments.reserve(residues.residues.size());
  out.fragment_formal_charges.reserve(residues.residues.size());
  for (const Residue& atoms : residues.residues) {
    if (atoms.empty()) continue;
    std::int64_t charge = 0;
    for (const AtomRef atom : atoms) {
      if (atom >= formal_charges.size()) return std::unexpected(Error{Error::ChargesMismatch{}});
      charge += formal_charges[atom];
    }
    out.fragments.push_back(atoms);
    out.fragment_formal_charges.push_back(static_cast<std::int32_t>(charge));
  }
  return {};
}

}  // namespace

// A merge of ascending stretches: files list residues as a few stretches already in key order (one
// per chain or segment), which this merges in a few linear passes; any order still takes n log n.
void ResidueCollections::sort() {
  const auto before = [](const ResidueRun& a, const ResidueRun& b) {
    if (const auto order = a.key <=> b.key; order != 0) return order < 0;
    return a.first_atom < b.first_atom;
  };
  std::vector<std::size_t> bounds{0};
  for (std::size_t i = 1; i < runs_.size(); ++i) {
    if (before(runs_[i], runs_[i - 1])) bounds.push_back(i);
  }
  bounds.push_back(runs_.size());
  const auto at = [this](std::size_t i) { return runs_.begin() + static_cast<std::ptrdiff_t>(i); };
  while (bounds.size() > 2) {
    std::vector<std::size_t> merged{0};
    std::size_t k = 0;
    for (; k + 2 < bounds.size(); k += 2) {
      std::inplace_merge(at(bounds[k]), at(bounds[k + 1]), at(bounds[k + 2]), before);
      merged.push_back(bounds[k + 2]);
    }
    if (k + 1 < bounds.size()) merged.push_back(bounds.back());
    bounds = std::move(merged);
  }
}

std::expected<ResidueTables, Error> build_residue_tables(const ResidueCollections& collections,
                                                         std::span<const Helix> helices,
                                                         std::span<const Sheet> sheets,
                                                         std::span<const std::int32_t> formal_charges) {
  Tables t = group_runs(collections.runs());
  ResidueTables out;
  out.chains.chains = std::move(t.chains);
  out.chains.alpha_helices = resolve_helices(t, helices);
  out.chains.beta_sheets = resolve_sheets(t, sheets);
  label_chains(out.chains, t.chain_ids);
  if (auto made = make_fragments(t.residues, formal_charges, out); !made) return std::unexpected(made.error());
  out.residues = std::move(t.residues);
  return out;
}

}  // namespace redivi::pdb::detail
