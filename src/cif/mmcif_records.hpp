// The records that the mmCIF reader takes from a data block, and the stages that turn them into structures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cif/document.hpp"
#include "redivi/chain.hpp"
#include "redivi/convert/mmcif.hpp"
#include "redivi/trc.hpp"
#include "structure/residue_tables.hpp"
#include "text/text.hpp"

namespace redivi::mmcif::detail {

// Texts below are views into the parsed text or its data block, which outlive every record.

// Short texts hashed inline: atom names and chain identifiers are a few bytes long.
inline std::uint64_t hash_text(std::uint64_t hash, std::string_view text) {
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  return (hash ^ text.size()) * 0x100000001b3u;
}

// A text of the atom sites as its position among the distinct atom-site texts of its block.
using TextId = std::uint32_t;

// The distinct texts of a block's atom-site cells, each held once as a view; the empty text is 0.
// A million sites name a few hundred atoms, residues and chains, so records hold 4-byte positions.
class SiteTexts {
 public:
  static constexpr TextId empty = 0;
  static constexpr TextId absent = std::numeric_limits<TextId>::max();  // a position no text has

  SiteTexts() : texts_{std::string_view{}} { ids_.emplace(std::string_view{}, empty); }
  // The position of a text, given a new one when it is new.
  TextId id(std::string_view text) {
    const auto [found, added] = ids_.try_emplace(text, static_cast<TextId>(texts_.size()));
    if (added) texts_.push_back(text);
    return found->second;
  }
  // The position of a text, or absent when no site has it.
  TextId find(std::string_view text) const {
    const auto found = ids_.find(text);
    return found == ids_.end() ? absent : found->second;
  }
  std::string_view operator[](TextId id) const { return texts_[id]; }

 private:
  struct Hash {
    std::size_t operator()(std::string_view text) const noexcept {
      return static_cast<std::size_t>(hash_text(0xcbf29ce484222325u, text));
    }
  };
  struct Equal {
    bool operator()(std::string_view a, std::string_view b) const noexcept { return text::equal_short(a, b); }
  };
  std::vector<std::string_view> texts_;
  std::unordered_map<std::string_view, TextId, Hash, Equal> ids_;
};

// One row of "_atom_site", with the items the structure is built from, its texts as positions in the
// block's SiteTexts. The site's serial number, occupancy, B-factor and group are read by nothing, so
// they are not parsed; the model number groups the records. An absent alternate location or insertion
// code is the empty text, as an empty cell is absent.
struct AtomRecord {
  TextId type_symbol = SiteTexts::empty;
  TextId label_atom_id = SiteTexts::empty;
  TextId label_alt_id = SiteTexts::empty;
  TextId label_comp_id = SiteTexts::empty;
  TextId label_asym_id = SiteTexts::empty;
  TextId ins_code = SiteTexts::empty;
  TextId auth_asym_id = SiteTexts::empty;
  std::int32_t label_seq_id = 0;
  std::int32_t auth_seq_id = 0;
  std::int32_t formal_charge = 0;
  float x = 0, y = 0, z = 0;
};

// One row of "_chem_comp_bond", kept under its component name.
struct CompBond {
  std::string_view atom_id_1;
  std::string_view atom_id_2;
  std::string_view value_order = "SING";
  std::uint32_t pdbx_ordinal = 0;
};

// One row of "_struct_conn".
struct Connection {
  std::string_view id;
  std::string_view conn_type_id;
  std::string_view ptnr1_label_atom_id;
  std::string_view ptnr1_label_asym_id;
  std::int32_t ptnr1_label_seq_id = 0;
  std::string_view ptnr2_label_atom_id;
  std::string_view ptnr2_label_asym_id;
  std::int32_t ptnr2_label_seq_id = 0;
};

// One usable row of "_pdbx_unobs_or_zero_occ_residues".
struct MissingResidue {
  std::string_view chain;
  std::string_view ins_code;  // empty when none
  std::string_view name;
  std::int32_t seq = 0;
};

using CompBonds = std::unordered_map<std::string_view, std::vector<CompBond>>;
// Residue names by chain, ordered by sequence position. Chains in bytewise order, so walks are repeatable.
using PolySeq = std::map<std::string_view, std::map<std::int32_t, std::string_view>>;
using SeqBegins = std::unordered_map<std::string_view, std::int32_t>;

// One "_struct_conf" helix.
struct MmcifHelixRecord {
  std::string_view helix_id;
  std::string_view beg_comp_id;
  std::string_view beg_chain_id;
  std::int32_t beg_seq_id = 0;
  std::string_view beg_ins_code;
  std::string_view end_comp_id;
  std::string_view end_chain_id;
  std::int32_t end_seq_id = 0;
  std::string_view end_ins_code;
  std::optional<std::int32_t> helix_class;
  std::optional<std::uint32_t> helix_length;
};

// One "_struct_sheet_range" strand.
struct MmcifSheetRangeRecord {
  std::string_view sheet_id;
  std::string_view strand_id;
  std::string_view beg_comp_id;
  std::string_view beg_chain_id;
  std::int32_t beg_seq_id = 0;
  std::string_view beg_ins_code;
  std::string_view end_comp_id;
  std::string_view end_chain_id;
  std::int32_t end_seq_id = 0;
  std::string_view end_ins_code;
};

struct StrandIdHash {
  std::size_t operator()(const std::pair<std::string_view, std::string_view>& key) const noexcept {
    const std::size_t first = std::hash<std::string_view>{}(key.first);
    return first ^ (std::hash<std::string_view>{}(key.second) + 0x9e3779b97f4a7c15u + (first << 6) + (first >> 2));
  }
};

struct SecondaryStructureRecords {
  std::vector<MmcifHelixRecord> helices;
  std::vector<MmcifSheetRangeRecord> sheet_ranges;
  std::unordered_map<std::string_view, std::uint32_t> sheet_strand_counts;
  // The sense of a strand, under (sheet identifier, strand identifier).
  std::unordered_map<std::pair<std::string_view, std::string_view>, StrandSense, StrandIdHash> strand_senses;
};

SecondaryStructureRecords parse_secondary_structure(const DataBlock& block);
std::optional<StrandSense> parse_sheet_sense(std::string_view text);
// Sets the helices and strands of chains that resolve against the structure.
void resolve_secondary_structure(const SecondaryStructureRecords& records,
                                 const structure::detail::StructureIndex& index, Chains& chains);

// A formal charge written 2+, +2, 2-, -2 or 2; blank is 0.
std::optional<std::int32_t> parse_charge(std::string_view text);
// Enters begin under each of the comma-separated strand identifiers that has no begin yet.
void insert_chain_seq_begin(SeqBegins& seq_begins, std::string_view strand_ids, std::int32_t begin);

// What the bonds of one model are made from.
struct BondSources {
  const std::vector<AtomRecord>& atom_records;
  const SiteTexts& texts;
  std::span<const std::uint32_t> record_atoms;  // the atom of each record; UINT32_MAX for a skipped one
  std::span<const std::uint32_t> atom_sites;    // the record of each atom
  const std::vector<Connection>& connections;
  const CompBonds& comp_bonds;
};

// The bonds of "_struct_conn" (single) and "_chem_comp_bond" (which override them), each pair once,
// lower atom first, in ascending order of the pair.
std::vector<Bond> collect_bonds(const BondSources& sources);

// One model's structure.
std::expected<TRC, MmCifError> build_trc(std::vector<AtomRecord> atom_records, const SiteTexts& texts,
                                         const std::vector<Connection>& connections, const CompBonds& comp_bonds,
                                         const std::vector<MissingResidue>& missing_residues, const PolySeq& poly_seq,
                                         const SeqBegins& seq_begins,
                                         const SecondaryStructureRecords& secondary_structure);

}  // namespace redivi::mmcif::detail
