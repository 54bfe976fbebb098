// Residues: the residue table of a structure, and the amino-acid residue types known by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "redivi/atom.hpp"
#include "redivi/export.hpp"

namespace redivi {

namespace error {
struct Error;
}

// Residue i of a structure: 0-based index into every list of its Residues; messages show it as
// ResidueRef(index).
using ResidueRef = std::uint32_t;

// The atoms of one residue, in the residue's own order; a residue may hold none.
using Residue = std::vector<AtomRef>;

// Why a residue table is inconsistent. The lengths and counts are numbers of entries.
struct ResiduesError {
  // labeled and labels differ in length.
  struct LabelMismatch {
    std::size_t labeled_length, labels_length;
    bool operator==(const LabelMismatch&) const = default;
  };
  // labeled names a residue at or past residue_count.
  struct InvalidLabel {
    std::size_t labeled_length, residue_count;
    bool operator==(const InvalidLabel&) const = default;
  };
  // labeled without labels; in a join, an other with labeled but no labels joined to a table with both.
  struct LabelsMissing {
    bool operator==(const LabelsMissing&) const = default;
  };
  // labels without labeled.
  struct LabeledMissing {
    bool operator==(const LabeledMissing&) const = default;
  };
  // seqs and residues differ in length.
  struct InvalidSeqsLength {
    std::size_t seqs_length, residue_count;
    bool operator==(const InvalidSeqsLength&) const = default;
  };
  // seq_ns and seqs differ in length.
  struct InvalidSeqNLength {
    std::size_t seq_ns_length, seqs_length;
    bool operator==(const InvalidSeqNLength&) const = default;
  };
  // insertion_codes and seqs differ in length.
  struct InvalidInsertionCodesLength {
    std::size_t insertion_codes_length, seqs_length;
    bool operator==(const InvalidInsertionCodesLength&) const = default;
  };

  std::variant<LabelMismatch, InvalidLabel, LabelsMissing, LabeledMissing, InvalidSeqsLength, InvalidSeqNLength,
               InvalidInsertionCodesLength>
      value;

  friend bool operator==(const ResiduesError&, const ResiduesError&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const ResiduesError& error);
REDIVI_EXPORT std::string debug_string(const ResiduesError& error);

// The residue table of a structure: parallel lists with one entry per residue. The PDB and mmCIF readers
// order residues by chain identifier, residue number, insertion code and name, not as the file lists them.
struct REDIVI_EXPORT Residues {
  // The atoms of each residue. Residues that the file lists without atoms (PDB SEQRES with include_seqres,
  // mmCIF polymer sequences and unobserved residues) hold none.
  std::vector<Residue> residues;
  // The residue names ("ALA", "HOH", "LIG"), not sequences; the SDF reader names its one residue "LIG".
  std::vector<std::string> seqs;
  // The residue numbers the file gives; 0 for an SDF molecule.
  std::vector<std::int32_t> seq_ns;
  // The insertion codes; empty text for a residue without one, from every reader.
  std::vector<std::string> insertion_codes;
  // The residues that carry labels. The PDB and mmCIF readers label none and leave it absent.
  std::optional<std::vector<ResidueRef>> labeled;
  // Entry i holds the labels of residue labeled[i]. The SDF reader labels its one residue with the
  // molecule's name, the first line of its entry.
  std::optional<std::vector<std::vector<std::string>>> labels;

  // Appends other, its atom indices shifted past this table's atoms and its labels merged.
  std::expected<void, ResiduesError> extend(Residues&& other);
  // The residues named by refs, in that order, their atoms renumbered from 0.
  Residues new_residues_from_subset(const std::vector<ResidueRef>& refs) const;

  friend bool operator==(const Residues&, const Residues&) = default;
};

// A residue type, not a sequence: one of 38 types known by three-letter name (amino acids in their
// protonation forms, caps such as ACE and NME, and UNK), GLY (0) to UNK (37) in the order declared below.
class REDIVI_EXPORT AminoAcidSeq {
 public:
  static constexpr std::uint8_t count = 38;

  // True for the 38 names in upper case or in lower case, exactly three bytes long.
  static bool is_amino_acid(std::string_view name) noexcept;
  // The type of that name, taken as is_amino_acid takes it; else ParseAminoAcid holding the name.
  static std::expected<AminoAcidSeq, error::Error> from_pdb_std_name(std::string_view name);

  // The three-letter upper-case name, for display and debug text alike.
  std::string_view name() const noexcept;
  // 0 (GLY) to 37 (UNK).
  constexpr std::uint8_t value() const noexcept { return number_; }

  friend constexpr bool operator==(AminoAcidSeq, AminoAcidSeq) = default;

  // Every type by its name, in the order of their numbers.
  static const AminoAcidSeq GLY;
  static const AminoAcidSeq ALA;
  static const AminoAcidSeq VAL;
  static const AminoAcidSeq LEU;
  static const AminoAcidSeq ILE;
  static const AminoAcidSeq PRO;
  static const AminoAcidSeq SER;
  static const AminoAcidSeq THR;
  static const AminoAcidSeq ASN;
  static const AminoAcidSeq GLN;
  static const AminoAcidSeq CYS;
  static const AminoAcidSeq CYD;
  static const AminoAcidSeq CYX;
  static const AminoAcidSeq MET;
  static const AminoAcidSeq PHE;
  static const AminoAcidSeq TYR;
  static const AminoAcidSeq TYD;
  static const AminoAcidSeq TRP;
  static const AminoAcidSeq ASP;
  static const AminoAcidSeq ASH;
  static const AminoAcidSeq GLU;
  static const AminoAcidSeq GLH;
  static const AminoAcidSeq HIS;
  static const AminoAcidSeq HIN;
  static const AminoAcidSeq HID;
  static const AminoAcidSeq HIE;
  static const AminoAcidSeq HIP;
  static const AminoAcidSeq LYS;
  static const AminoAcidSeq LYD;
  static const AminoAcidSeq LYN;
  static const AminoAcidSeq ARG;
  static const AminoAcidSeq HYP;
  static const AminoAcidSeq ACE;
  static const AminoAcidSeq BNC;
  static const AminoAcidSeq NME;
  static const AminoAcidSeq NMA;
  static const AminoAcidSeq NHH;
  static const AminoAcidSeq UNK;

 private:
  constexpr explicit AminoAcidSeq(std::uint8_t number) : number_{number} {}
  std::uint8_t number_ = 0;
};

inline constexpr AminoAcidSeq AminoAcidSeq::GLY{0};
inline constexpr AminoAcidSeq AminoAcidSeq::ALA{1};
inline constexpr AminoAcidSeq AminoAcidSeq::VAL{2};
inline constexpr AminoAcidSeq AminoAcidSeq::LEU{3};
inline constexpr AminoAcidSeq AminoAcidSeq::ILE{4};
inline constexpr AminoAcidSeq AminoAcidSeq::PRO{5};
inline constexpr AminoAcidSeq AminoAcidSeq::SER{6};
inline constexpr AminoAcidSeq AminoAcidSeq::THR{7};
inline constexpr AminoAcidSeq AminoAcidSeq::ASN{8};
inline constexpr AminoAcidSeq AminoAcidSeq::GLN{9};
inline constexpr AminoAcidSeq AminoAcidSeq::CYS{10};
inline constexpr AminoAcidSeq AminoAcidSeq::CYD{11};
inline constexpr AminoAcidSeq AminoAcidSeq::CYX{12};
inline constexpr AminoAcidSeq AminoAcidSeq::MET{13};
inline constexpr AminoAcidSeq AminoAcidSeq::PHE{14};
inline constexpr AminoAcidSeq AminoAcidSeq::TYR{15};
inline constexpr AminoAcidSeq AminoAcidSeq::TYD{16};
inline constexpr AminoAcidSeq AminoAcidSeq::TRP{17};
inline constexpr AminoAcidSeq AminoAcidSeq::ASP{18};
inline constexpr AminoAcidSeq AminoAcidSeq::ASH{19};
inline constexpr AminoAcidSeq AminoAcidSeq::GLU{20};
inline constexpr AminoAcidSeq AminoAcidSeq::GLH{21};
inline constexpr AminoAcidSeq AminoAcidSeq::HIS{22};
inline constexpr AminoAcidSeq AminoAcidSeq::HIN{23};
inline constexpr AminoAcidSeq AminoAcidSeq::HID{24};
inline constexpr AminoAcidSeq AminoAcidSeq::HIE{25};
inline constexpr AminoAcidSeq AminoAcidSeq::HIP{26};
inline constexpr AminoAcidSeq AminoAcidSeq::LYS{27};
inline constexpr AminoAcidSeq AminoAcidSeq::LYD{28};
inline constexpr AminoAcidSeq AminoAcidSeq::LYN{29};
inline constexpr AminoAcidSeq AminoAcidSeq::ARG{30};
inline constexpr AminoAcidSeq AminoAcidSeq::HYP{31};
inline constexpr AminoAcidSeq AminoAcidSeq::ACE{32};
inline constexpr AminoAcidSeq AminoAcidSeq::BNC{33};
inline constexpr AminoAcidSeq AminoAcidSeq::NME{34};
inline constexpr AminoAcidSeq AminoAcidSeq::NMA{35};
inline constexpr AminoAcidSeq AminoAcidSeq::NHH{36};
inline constexpr AminoAcidSeq AminoAcidSeq::UNK{37};

// The three-letter name.
inline std::string to_string(AminoAcidSeq aa) { return std::string(aa.name()); }

}  // namespace redivi

// from_pdb_std_name returns the library error; error.hpp needs AminoAcidSeq, defined above.
#include "redivi/error.hpp"
