// One model's atom-site records, with the block's bonds, sequences and secondary structure, to a structure.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cif/mmcif_records.hpp"
#include "model/insertion_code.hpp"
#include "redivi/diagnostics.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"
#include "text/utf8.hpp"

namespace redivi::mmcif {
namespace {

constexpr std::uint32_t no_atom = std::numeric_limits<std::uint32_t>::max();

struct ResidueEntry {
  ResidueId key;
  std::string_view insertion_code;  // as read, empty when none
  std::vector<AtomRef> atoms;
};

// The working state of one call.
struct Model {
  std::vector<Element> symbols;
  std::vector<float> geometry;
  std::vector<std::int32_t> formal_charges;
  std::vector<std::uint32_t> record_atoms;  // the atom of each record, or no_atom for a skipped one
  std::vector<std::uint32_t> atom_sites;    // the record of each atom
  std::vector<ResidueEntry> residues;       // in key order, each key once
};


bool is_ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The element named by the letters of a type symbol: Fe2+ is iron, 1H hydrogen.
std::expected<Element, MmCifError> element_of(std::string_view type_symbol) {
  // Fast path: a symbol of ASCII letters only, the usual case, needs no filtering.
  if (std::all_of(type_symbol.begin(), type_symbol.end(), is_ascii_letter)) {
    if (auto element = Element::try_from(type_symbol)) return *element;
  }
  std::string letters;
  while (!type_symbol.empty()) {
    const utf8::Char c = utf8::decode(type_symbol);
    if (unicode::is_alphabetic(c.point)) letters.append(type_symbol.substr(0, c.length));
    type_symbol.remove_prefix(c.length);
  }
  auto element = Element::try_from(letters);
  if (!element) return std::unexpected(MmCifError{MmCifError::InvalidElement{std::move(letters)}});
  return *element;
}

// Sorts residues by key; entries with one key become one, holding the atoms of all of them in order and
// the insertion code of the last.
void merge_by_key(std::vector<ResidueEntry>& residues) {
  std::stable_sort(residues.begin(), residues.end(),
                   [](const ResidueEntry& a, const ResidueEntry& b) { return a.key < b.key; });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < residues.size(); ++i) {
    if (kept > 0 && residues[kept - 1].key == residues[i].key) {
      ResidueEntry& into = residues[kept - 1];
      into.atoms.insert(into.atoms.end(), residues[i].atoms.begin(), residues[i].atoms.end());
      into.insertion_code = residues[i].insertion_code;
    } else if (kept++ != i) {
      residues[kept - 1] = std::move(residues[i]);
    }
  }
  residues.resize(kept);
}

// Atoms from the records, skipping alternate locations other than "A"; residues in key order.
std::expected<void, MmCifError> read_atoms(const std::vector<AtomRecord>& records, const SiteTexts& texts,
                                           Model& model) {
  model.record_atoms.assign(records.size(), no_atom);
  model.symbols.reserve(records.size());
  model.geometry.reserve(3 * records.size());
  model.formal_charges.reserve(records.size());
  model.atom_sites.reserve(records.size());
  for (std::size_t r = 0; r < records.size(); ++r) {
    const AtomRecord& record = records[r];
    const std::string_view alt = texts[record.label_alt_id];
    if (!alt.empty() && alt != "A") continue;
    const auto element = element_of(texts[record.type_symbol]);
    if (!element) return std::unexpected(element.error());
    const auto atom = static_cast<AtomRef>(model.atom_sites.size());
    model.symbols.push_back(*element);
    model.geometry.insert(model.geometry.end(), {record.x, record.y, record.z});
    model.formal_charges.push_back(record.formal_charge);
    model.record_atoms[r] = atom;
    model.atom_sites.push_back(static_cast<std::uint32_t>(r));
    // Atoms of one residue follow each other: only a change of key starts a new entry.
    const std::string_view ins_code = texts[record.ins_code];
    const ResidueId key{texts[record.auth_asym_id], record.auth_seq_id, redivi::detail::stored_insertion_code(ins_code),
                        texts[record.label_comp_id]};
    if (model.residues.empty() || model.residues.back().key != key) model.residues.push_back({key, {}, {}});
    model.residues.back().atoms.push_back(atom);
    model.residues.back().insertion_code = ins_code;
  }
  merge_by_key(model.residues);
  return {};
}

void warn_unaligned(std::string_view chain, std::string_view name, std::int32_t lowest) {
  if (!diagnostics::enabled(diagnostics::Level::warn)) return;
  diagnostics::emit("redivi::convert::mmcif", diagnostics::Level::warn,
                    text::concat("mmCIF: chain ", chain, ": cannot align _pdbx_poly_seq_scheme with resolved residues "
                                 "(residue ", name, " at auth seq ", lowest,
                                 " not found in polymer sequence); skipping sequence-driven empty residue injection "
                                 "for this chain"));
}

// The number given to the first name of a chain's polymer sequence, from the alignment begin or from
// the chain's lowest-numbered residue; none (after a warning) when the sequence does not hold its name.
std::optional<std::int32_t> sequence_begin(std::string_view chain, const std::vector<std::string_view>& names,
                                           const ResidueEntry& lowest, const SeqBegins& seq_begins) {
  if (const auto found = seq_begins.find(chain); found != seq_begins.end()) return found->second;
  const auto position = std::find(names.begin(), names.end(), lowest.key.name);
  if (position == names.end()) {
    warn_unaligned(chain, lowest.key.name, lowest.key.seq);
    return std::nullopt;
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(lowest.key.seq) -
                                   static_cast<std::uint32_t>(position - names.begin()));
}

// Residues without atoms for the polymer-sequence positions that no atom occupies. Returns the chains
// whose sequence was applied.
std::vector<std::string_view> add_sequence_residues(const PolySeq& poly_seq, const SeqBegins& seq_begins,
                                                    const std::vector<ResidueEntry>& resolved,
                                                    std::vector<ResidueEntry>& added) {
  std::vector<std::string_view> aligned;
  const auto by_chain = [](const ResidueEntry& entry, std::string_view chain) { return entry.key.chain < chain; };
  for (const auto& [chain, sequence] : poly_seq) {
    const auto first = std::lower_bound(resolved.begin(), resolved.end(), chain, by_chain);
    auto last = first;
    while (last != resolved.end() && last->key.chain == chain) ++last;
    if (sequence.empty() || first == last) continue;
    std::vector<std::string_view> names;
    for (const auto& entry : sequence) names.push_back(entry.second);
    const auto begin = sequence_begin(chain, names, *first, seq_begins);
    if (!begin) continue;
    const auto seq_below = [](const ResidueEntry& entry, std::int32_t seq) { return entry.key.seq < seq; };
    for (std::size_t k = 0; k < names.size(); ++k) {
      const auto n = static_cast<std::int32_t>(static_cast<std::uint32_t>(*begin) + static_cast<std::uint32_t>(k));
      const auto at = std::lower_bound(first, last, n, seq_below);
      if (at == last || at->key.seq != n) added.push_back({{chain, n, redivi::detail::no_insertion_code, names[k]}, "", {}});
    }
    aligned.push_back(chain);
  }
  return aligned;
}

// Residues without atoms: the polymer sequence of each chain, else the chain's unobserved residues.
void add_residues_without_atoms(Model& model, const std::vector<MissingResidue>& missing_residues,
                                const PolySeq& poly_seq, const SeqBegins& seq_begins) {
  std::vector<ResidueEntry> added;
  const std::vector<std::string_view> aligned = add_sequence_residues(poly_seq, seq_begins, model.residues, added);
  for (const MissingResidue& missing : missing_residues) {
    if (std::find(aligned.begin(), aligned.end(), missing.chain) != aligned.end()) continue;
    added.push_back({{missing.chain, missing.seq, redivi::detail::stored_insertion_code(missing.ins_code), missing.name}, missing.ins_code, {}});
  }
  if (added.empty()) return;
  // Residues with atoms come first, so a key that is already there keeps its atoms and insertion code.
  std::vector<ResidueEntry>& residues = model.residues;
  residues.insert(residues.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  std::stable_sort(residues.begin(), residues.end(),
                   [](const ResidueEntry& a, const ResidueEntry& b) { return a.key < b.key; });
  residues.erase(std::unique(residues.begin(), residues.end(),
                             [](const ResidueEntry& a, const ResidueEntry& b) { return a.key == b.key; }),
                 residues.end());
}

// The atom names, which are made once the bonds no longer need the records, so that both are not held at once.
std::vector<std::string> atom_names(const std::vector<AtomRecord>& records, const SiteTexts& texts,
                                    const std::vector<std::uint32_t>& atom_sites) {
  std::vector<std::string> names;
  names.reserve(atom_sites.size());
  for (const std::uint32_t site : atom_sites) names.emplace_back(texts[records[site].label_atom_id]);
  return names;
}

// Per residue, the sum of its atoms' formal charges, kept to its low 32 bits.
std::vector<std::int32_t> fragment_charges(const std::vector<Residue>& residues,
                                           const std::vector<std::int32_t>& formal_charges) {
  std::vector<std::int32_t> charges;
  charges.reserve(residues.size());
  for (const Residue& residue : residues) {
    std::int64_t sum = 0;
    for (const AtomRef atom : residue) sum += formal_charges[atom];
    charges.push_back(static_cast<std::int32_t>(sum));
  }
  return charges;
}

// Residues in key order; each chain holds its residues, the chains in identifier order.
void fill_residues_and_chains(std::vector<ResidueEntry>& entries, Residues& residues, Chains& chains,
                              std::vector<std::string_view>& chain_ids) {
  residues.residues.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ResidueEntry& entry = entries[i];
    residues.residues.push_back(std::move(entry.atoms));
    residues.seqs.emplace_back(entry.key.name);
    residues.seq_ns.push_back(entry.key.seq);
    residues.insertion_codes.emplace_back(entry.insertion_code);
    if (chain_ids.empty() || chain_ids.back() != entry.key.chain) {
      chain_ids.push_back(entry.key.chain);
      chains.chains.emplace_back();
    }
    chains.chains.back().push_back(static_cast<ResidueRef>(i));
  }
  chains.labeled.emplace();
  chains.labels.emplace();
  for (std::size_t i = 0; i < chain_ids.size(); ++i) {
    chains.labeled->push_back(static_cast<std::uint32_t>(i));
    chains.labels->push_back({std::string(chain_ids[i])});
  }
}

}  // namespace

std::expected<TRC, MmCifError> build_trc(std::vector<AtomRecord> atom_records, const SiteTexts& texts,
                                         const std::vector<Connection>& connections, const CompBonds& comp_bonds,
                                         const std::vector<MissingResidue>& missing_residues,
                                         const PolySeq& poly_seq, const SeqBegins& seq_begins,
                                         const SecondaryStructureRecords& secondary_structure) {
  Model model;
  if (auto read = read_atoms(atom_records, texts, model); !read) return std::unexpected(std::move(read.error()));
  add_residues_without_atoms(model, missing_residues, poly_seq, seq_begins);

  TRC trc;
  Topology& topology = trc.topology;
  topology.symbols = std::move(model.symbols);
  topology.geometry = std::move(model.geometry);
  topology.connectivity =
      collect_bonds({atom_records, texts, model.record_atoms, model.atom_sites, connections, comp_bonds});
  topology.labels = atom_names(atom_records, texts, model.atom_sites);
  std::vector<AtomRecord>().swap(atom_records);

  std::vector<ResidueId> residue_ids;
  residue_ids.reserve(model.residues.size());
  for (const ResidueEntry& entry : model.residues) residue_ids.push_back(entry.key);
  std::vector<std::string_view> chain_ids;
  fill_residues_and_chains(model.residues, trc.residues, trc.chains, chain_ids);
  resolve_secondary_structure(secondary_structure, StructureIndex{chain_ids, residue_ids}, trc.chains);

  topology.fragments = trc.residues.residues;
  topology.fragment_formal_charges = fragment_charges(trc.residues.residues, model.formal_charges);
  topology.formal_charges = std::move(model.formal_charges);
  return trc;
}

}  // namespace redivi::mmcif
