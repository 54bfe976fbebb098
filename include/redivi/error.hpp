// The library error: failures of residue-name parsing and of structure perception.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "redivi/amino_acid.hpp"
#include "redivi/export.hpp"

namespace redivi::error {

// The library error. The library itself produces only ParseAminoAcid (from AminoAcidSeq::from_pdb_std_name);
// the other variants name faults of amino-acid residues (atoms missing, extra or repeated, protonation) for
// callers' own checks, with their display texts. aa is the residue type, aa_seq_n its residue number (absent
// when unknown), and the lists hold atom names.
struct Error {
  // The hydrogen atom names found on a terminal residue.
  struct BadTerminusError {
    std::vector<std::string> found;
    bool operator==(const BadTerminusError&) const = default;
  };
  // The name that is no known residue type, as given.
  struct ParseAminoAcid {
    std::string found;
    bool operator==(const ParseAminoAcid&) const = default;
  };
  struct UnsupportedAminoAcidAtom {
    std::string amino_acid_atom;
    bool operator==(const UnsupportedAminoAcidAtom&) const = default;
  };
  struct BadAtomLabel {
    std::string atom_label;
    bool operator==(const BadAtomLabel&) const = default;
  };
  struct BadProtonationState {
    AminoAcidSeq aa;
    std::optional<std::int32_t> aa_seq_n;
    std::vector<std::string> hydrogen_atoms;
    bool operator==(const BadProtonationState&) const = default;
  };
  struct ClashBetweenCovalentBinderAndHydrogen {
    AminoAcidSeq aa;
    std::optional<std::int32_t> aa_seq_n;
    std::vector<std::string> clashing_atoms;
    bool operator==(const ClashBetweenCovalentBinderAndHydrogen&) const = default;
  };
  struct MissingAminoAcidTopologyData {
    bool operator==(const MissingAminoAcidTopologyData&) const = default;
  };
  struct MissingAminoAcidHeavyAtoms {
    AminoAcidSeq aa;
    std::optional<std::int32_t> aa_seq_n;
    std::vector<std::string> missing_atoms;
    bool operator==(const MissingAminoAcidHeavyAtoms&) const = default;
  };
  struct NoAminoAcidHydrogens {
    AminoAcidSeq aa;
    std::optional<std::int32_t> aa_seq_n;
    bool operator==(const NoAminoAcidHydrogens&) const = default;
  };
  struct MissingAminoAcidTemplate {
    AminoAcidSeq aa;
    bool operator==(const MissingAminoAcidTemplate&) const = default;
  };
  struct DuplicateAtomsInAminoAcid {
    AminoAcidSeq aa;
    std::optional<std::int32_t> aa_seq_n;
    std::vector<std::string> duplicate_atoms;
    bool operator==(const DuplicateAtomsInAminoAcid&) const = default;
  };
  struct WrongAtomsInAminoAcid {
    AminoAcidSeq aa;
    std::optional<std::int32_t> aa_seq_n;
    std::vector<std::string> wrong_atoms;
    bool operator==(const WrongAtomsInAminoAcid&) const = default;
  };
  // Two residues with one number and insertion code (absent when none).
  struct DuplicateAminoAcid {
    std::int32_t aa_seq_n;
    std::optional<std::string> aa_insertion_code;
    bool operator==(const DuplicateAminoAcid&) const = default;
  };

  std::variant<BadTerminusError, ParseAminoAcid, UnsupportedAminoAcidAtom, BadAtomLabel, BadProtonationState,
               ClashBetweenCovalentBinderAndHydrogen, MissingAminoAcidTopologyData, MissingAminoAcidHeavyAtoms,
               NoAminoAcidHydrogens, MissingAminoAcidTemplate, DuplicateAtomsInAminoAcid, WrongAtomsInAminoAcid,
               DuplicateAminoAcid>
      value;

  friend bool operator==(const Error&, const Error&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const Error& error);
REDIVI_EXPORT std::string debug_string(const Error& error);

}  // namespace redivi::error
