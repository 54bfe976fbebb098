// Internal pieces of the PDB reader shared between its source files.
#pragma once

#include <compare>
#include <cstdint>
#include <cstring>
#include <expected>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pdb/fields.hpp"
#include "redivi/convert/pdb.hpp"

namespace redivi::pdb::detail {

inline constexpr std::string_view target = "redivi::convert::pdb";

// What columns 1-6 make of a line.
enum class Kind : std::uint8_t { Seqres, Dbref, Helix, Sheet, Atom, Hetatm, Conect, Ter, Other, Model, EndModel, End };

// The record kind by the line's length and its columns 1-6.
std::expected<Kind, Error> record_kind(std::string_view line, std::uint64_t line_number);

// True when columns 1-6 of a line longer than six columns name an ATOM or HETATM record and column 7
// starts a character: record_kind would say so. Tested inline, as nearly every line is one.
inline bool is_atom_line(std::string_view line) {
  return line.size() > 6 && utf8::is_char_boundary(line, 6) &&
         (std::memcmp(line.data(), "ATOM  ", 6) == 0 || std::memcmp(line.data(), "HETATM", 6) == 0);
}

// One ATOM or HETATM line as views into the line; an absent optional text is empty.
struct AtomView {
  std::uint32_t serial = 0;
  std::string_view name;
  std::string_view alt_loc;
  std::string_view res_name;
  std::string_view chain_id;
  std::int32_t res_seq = 0;
  std::string_view i_code;
  std::string_view residue_columns;  // columns 18-27 as they stand, which the four fields above come from
  float x = 0, y = 0, z = 0;
  float occupancy = 0;
  float temp_factor = 0;
  std::string_view seg_id;
  Element element;
  std::int32_t charge = 0;
  std::string_view tail_columns;  // columns 73-80 as they stand, which the three fields above come from
};

// Fills every field of atom from an ATOM or HETATM line.
FieldResult<void> read_atom(std::string_view line, AtomView& atom);
std::expected<Seqres, Error> read_seqres(std::string_view line, std::uint64_t line_number);
std::expected<Dbref, Error> read_dbref(std::string_view line, std::uint64_t line_number);

// Equality of short texts without a call to memcmp: the hot loop compares a few bytes per atom, most
// often a view with itself, as atoms of one residue keep the same views.
constexpr bool same_text(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.data() == b.data()) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// Bytewise order of short texts (a prefix first), also without a call to memcmp.
constexpr std::strong_ordering compare_text(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) <=> static_cast<unsigned char>(b[i]);
  }
  return a.size() <=> b.size();
}

// The residue key: residues are grouped and ordered by it. Texts compare bytewise.
struct ResidueKey {
  std::string_view chain_id;
  std::int32_t res_seq = 0;
  std::string_view i_code;  // "~" for none, which sorts after letters and digits
  std::string_view res_name;

  friend std::strong_ordering operator<=>(const ResidueKey& a, const ResidueKey& b) {
    if (const auto order = compare_text(a.chain_id, b.chain_id); order != 0) return order;
    if (const auto order = a.res_seq <=> b.res_seq; order != 0) return order;
    if (const auto order = compare_text(a.i_code, b.i_code); order != 0) return order;
    return compare_text(a.res_name, b.res_name);
  }
  friend bool operator==(const ResidueKey& a, const ResidueKey& b) {
    return a.res_seq == b.res_seq && same_text(a.chain_id, b.chain_id) && same_text(a.i_code, b.i_code) &&
           same_text(a.res_name, b.res_name);
  }
};

// Consecutive atoms filed under one key: atoms first_atom .. first_atom + atom_count - 1.
// Every kept atom is filed, so a run always ends at the atom before the next one filed.
struct ResidueRun {
  ResidueKey key;
  std::string_view i_code;  // as stored in the structure: empty for none
  std::uint32_t first_atom = 0;
  std::uint32_t atom_count = 0;
};

// The residue collections of one model. Atoms are filed in runs of one key (comparing with the
// previous atom's key, no lookup per atom); one sort at the model's close puts the runs in key
// order, runs of the same key side by side in file order. The texts are views into the input.
class ResidueCollections {
 public:
  void file_atom(const ResidueKey& key, std::string_view i_code, std::uint32_t atom) {
    if (!runs_.empty() && runs_.back().key == key) {
      ++runs_.back().atom_count;
      runs_.back().i_code = i_code;
      return;
    }
    runs_.push_back(ResidueRun{key, i_code, atom, 1});
  }

  // A residue without atoms (from SEQRES); sort() must run afterwards.
  void add_empty(const ResidueKey& key) { runs_.push_back(ResidueRun{key, {}, 0, 0}); }

  void sort();

  // In key order once sorted.
  std::span<const ResidueRun> runs() const { return runs_; }

 private:
  std::vector<ResidueRun> runs_;
};

// SEQRES residue names and DBREF sequence begins per chain identifier, over the whole file.
struct SeqresRecords {
  std::map<std::string, std::vector<std::string>, std::less<>> names;
  std::map<std::string, std::int32_t, std::less<>> seq_begins;
};

// Lines the SEQRES names of each chain up with the model's residues (sorted), adding the missing ones
// as residues without atoms when include_seqres is set. Leaves the collections sorted.
void align_seqres(const SeqresRecords& seqres, bool include_seqres, ResidueCollections& residues);

// What a model's residue collections become at its close.
struct ResidueTables {
  Residues residues;
  Chains chains;
  std::vector<Fragment> fragments;
  std::vector<std::int32_t> fragment_formal_charges;
};

std::expected<ResidueTables, Error> build_residue_tables(const ResidueCollections& collections,
                                                         std::span<const Helix> helices,
                                                         std::span<const Sheet> sheets,
                                                         std::span<const std::int32_t> formal_charges);

// A CONECT pair of atom serials: the record's first serial and one of the others.
struct SerialPair {
  std::uint32_t first = 0;
  std::uint32_t second = 0;
};

// The bonds of a model's own CONECT pairs, in order of (first, second); pairs naming an atom the model
// lacks are dropped.
std::vector<Bond> model_bonds(std::span<const SerialPair> pairs, std::span<const std::uint32_t> serials);

// The bonds of the file-level CONECT pairs for one model, in order of first appearance; a serial the
// model lacks is an error.
std::expected<std::vector<Bond>, Error> file_bonds(std::span<const SerialPair> pairs,
                                                   std::span<const std::uint32_t> serials);

}  // namespace redivi::pdb::detail
