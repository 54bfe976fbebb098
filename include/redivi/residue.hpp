// Residues: the residue table of a structure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "redivi/atom.hpp"
#include "redivi/export.hpp"

namespace redivi {

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

}  // namespace redivi
