// Internal pieces of the PDB reader shared between its source files.
#pragma once

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
#include "structure/residue_runs.hpp"

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

// SEQRES residue names and DBREF sequence begins per chain identifier, over the whole file.
struct SeqresRecords {
  std::map<std::string, std::vector<std::string>, std::less<>> names;
  std::map<std::string, std::int32_t, std::less<>> seq_begins;
};

// Lines the SEQRES names of each chain up with the model's residues, adding the missing ones as
// residues without atoms when include_seqres is set.
void align_seqres(const SeqresRecords& seqres, bool include_seqres, structure::detail::SortedResidues& residues);

// What a model's residue collections become at its close.
struct ResidueTables {
  Residues residues;
  Chains chains;
  std::vector<Fragment> fragments;
  std::vector<std::int32_t> fragment_formal_charges;
};

std::expected<ResidueTables, Error> build_residue_tables(structure::detail::SortedResidues&& sorted,
                                                         std::span<const Helix> helices, std::span<const Sheet> sheets,
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
