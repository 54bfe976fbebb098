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
#include "structure/residue_runs.hpp"
#include "structure/residue_tables.hpp"
#include "structure/sequence_alignment.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"
#include "text/utf8.hpp"

namespace redivi::mmcif::detail {
namespace {

constexpr std::uint32_t no_atom = std::numeric_limits<std::uint32_t>::max();

using structure::detail::ResidueKey;
using structure::detail::SortedResidues;

// The working state of one call.
struct Model {
  std::vector<Element> symbols;
  std::vector<float> geometry;
  std::vector<std::int32_t> formal_charges;
  std::vector<std::uint32_t> record_atoms;  // the atom of each record, or no_atom for a skipped one
  std::vector<std::uint32_t> atom_sites;    // the record of each atom
  SortedResidues residues;
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

// Atoms from the records, skipping alternate locations other than "A"; residues in key order.
std::expected<void, MmCifError> read_atoms(const std::vector<AtomRecord>& records, const SiteTexts& texts,
                                           Model& model) {
  model.record_atoms.assign(records.size(), no_atom);
  model.symbols.reserve(records.size());
  model.geometry.reserve(3 * records.size());
  model.formal_charges.reserve(records.size());
  model.atom_sites.reserve(records.size());
  structure::detail::ResidueRuns runs;
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
    const std::string_view ins_code = texts[record.ins_code];
    const ResidueKey key{texts[record.auth_asym_id], record.auth_seq_id,
                         redivi::detail::stored_insertion_code(ins_code), texts[record.label_comp_id]};
    runs.file_atom(key, ins_code, atom);
  }
  model.residues = structure::detail::residues_in_key_order(runs);
  return {};
}

void warn_unaligned(std::string_view chain, std::string_view name, std::int32_t lowest) {
  if (!diagnostics::enabled(diagnostics::Level::warn)) return;
  diagnostics::emit("redivi::convert::mmcif", diagnostics::Level::warn,
                    text::concat("mmCIF: chain ", chain,
                                 ": cannot align _pdbx_poly_seq_scheme with resolved residues "
                                 "(residue ",
                                 name, " at auth seq ", lowest,
                                 " not found in polymer sequence); skipping sequence-driven empty residue injection "
                                 "for this chain"));
}

// The number given to the first name of a chain's polymer sequence: the chain's alignment begin, else
// aligned on its first residue; none (after a warning) when the sequence does not hold that name.
std::optional<std::int32_t> sequence_begin(std::string_view chain, const std::vector<std::string_view>& names,
                                           const ResidueKey& first, const SeqBegins& seq_begins) {
  if (const auto found = seq_begins.find(chain); found != seq_begins.end()) return found->second;
  const auto begin = structure::detail::sequence_begin(names, first);
  if (!begin) warn_unaligned(chain, first.res_name, first.res_seq);
  return begin;
}

// Residues without atoms for the polymer-sequence positions that no atom occupies. Returns the chains
// whose sequence was applied. Unlike PDB, an empty sequence is passed over without a warning, and
// nothing reports the residues added.
std::vector<std::string_view> add_sequence_residues(const PolySeq& poly_seq, const SeqBegins& seq_begins,
                                                    const SortedResidues& resolved,
                                                    std::vector<structure::detail::EmptyResidue>& added) {
  std::vector<std::string_view> aligned;
  for (const auto& [chain, sequence] : poly_seq) {
    const auto residues = structure::detail::chain_residues(resolved.keys, chain);
    if (sequence.empty() || residues.empty()) continue;
    std::vector<std::string_view> names;
    for (const auto& entry : sequence) names.push_back(entry.second);
    const auto begin = sequence_begin(chain, names, residues.front(), seq_begins);
    if (!begin) continue;
    for (const auto [position, n] : structure::detail::sequence_gaps(residues, *begin, names.size())) {
      added.push_back({ResidueKey{chain, n, redivi::detail::no_insertion_code, names[position]}, {}});
    }
    aligned.push_back(chain);
  }
  return aligned;
}

// Residues without atoms: the polymer sequence of each chain, else the chain's unobserved residues.
void add_residues_without_atoms(Model& model, const std::vector<MissingResidue>& missing_residues,
                                const PolySeq& poly_seq, const SeqBegins& seq_begins) {
  std::vector<structure::detail::EmptyResidue> added;
  const std::vector<std::string_view> aligned = add_sequence_residues(poly_seq, seq_begins, model.residues, added);
  for (const MissingResidue& missing : missing_residues) {
    if (std::find(aligned.begin(), aligned.end(), missing.chain) != aligned.end()) continue;
    const ResidueKey key{missing.chain, missing.seq, redivi::detail::stored_insertion_code(missing.ins_code),
                         missing.name};
    added.push_back({key, missing.ins_code});
  }
  structure::detail::add_residues_without_atoms(model.residues, std::move(added));
}

// The atom names, which are made once the bonds no longer need the records, so that both are not held at once.
std::vector<std::string> atom_names(const std::vector<AtomRecord>& records, const SiteTexts& texts,
                                    const std::vector<std::uint32_t>& atom_sites) {
  std::vector<std::string> names;
  names.reserve(atom_sites.size());
  for (const std::uint32_t site : atom_sites) names.emplace_back(texts[records[site].label_atom_id]);
  return names;
}

// One fragment per residue, with the sum of its atoms' formal charges. Unlike PDB, a residue without
// atoms gets an empty fragment.
std::expected<void, MmCifError> make_fragments(const Residues& residues, std::span<const std::int32_t> formal_charges,
                                               Topology& topology) {
  topology.fragments = residues.residues;
  std::vector<std::int32_t> charges;
  charges.reserve(residues.residues.size());
  for (const Residue& residue : residues.residues) {
    const auto charge = structure::detail::formal_charge_sum(residue, formal_charges);
    if (!charge) return std::unexpected(MmCifError{MmCifError::ChargeCountMismatch{}});
    charges.push_back(*charge);
  }
  topology.fragment_formal_charges = std::move(charges);
  return {};
}

}  // namespace

std::expected<TRC, MmCifError> build_trc(std::vector<AtomRecord> atom_records, const SiteTexts& texts,
                                         const std::vector<Connection>& connections, const CompBonds& comp_bonds,
                                         const std::vector<MissingResidue>& missing_residues, const PolySeq& poly_seq,
                                         const SeqBegins& seq_begins,
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

  const auto index = structure::detail::fill_residues_and_chains(std::move(model.residues), trc.residues, trc.chains);
  resolve_secondary_structure(secondary_structure, index, trc.chains);
  if (auto made = make_fragments(trc.residues, model.formal_charges, topology); !made) {
    return std::unexpected(std::move(made.error()));
  }
  topology.formal_charges = std::move(model.formal_charges);
  return trc;
}

}  // namespace redivi::mmcif::detail
