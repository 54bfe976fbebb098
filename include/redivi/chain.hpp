// Chains: the chain table of a structure, with its helices and sheet strands.
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "redivi/export.hpp"
#include "redivi/residue.hpp"

namespace redivi {

// The residues of one chain (0-based residue indices), in chain order.
using Chain = std::vector<ResidueRef>;

// The class of a helix, numbered as PDB HELIX records and mmCIF helix classes number it.
enum class HelixClass : std::uint8_t {
  RightHandedAlpha = 1,
  RightHandedOmega = 2,
  RightHandedPi = 3,
  RightHandedGamma = 4,
  RightHanded = 5,
  LeftHandedAlpha = 6,
  LeftHandedOmega = 7,
  LeftHandedGamma = 8,
  Ribbon27 = 9,
  Polyproline = 10,
};

// A strand's sense relative to the previous strand of its sheet: PDB SHEET senses 0 (on strand 1), 1 and -1;
// mmCIF "first", "parallel" and "anti-parallel".
enum class StrandSense : std::uint8_t {
  First = 1,
  Parallel = 2,
  AntiParallel = 255,
};

// The helices of a structure: one entry per helix in each column. Readers keep a helix only when its
// chain and both end residues are in the structure.
struct REDIVI_EXPORT AlphaHelices {
  std::vector<std::string> helix_ids;                 // the identifier the file gives
  std::vector<std::uint32_t> chain_refs;              // 0-based index into Chains::chains
  std::vector<std::uint32_t> start_residues;          // 0-based ResidueRef of the first residue
  std::vector<std::uint32_t> end_residues;            // 0-based ResidueRef of the last residue
  std::vector<std::optional<HelixClass>> classes;     // absent when the file gives no class from 1 to 10
  std::vector<std::optional<std::uint32_t>> lengths;  // the length the file states; absent for none (PDB: or 0)

  // Appends one helix to every column.
  void push(std::string helix_id, std::uint32_t chain_ref, std::uint32_t start_residue, std::uint32_t end_residue,
            std::optional<HelixClass> helix_class, std::optional<std::uint32_t> length);

  friend bool operator==(const AlphaHelices&, const AlphaHelices&) = default;
};

// The sheet strands of a structure: one entry per strand in each column, kept like helices.
struct REDIVI_EXPORT BetaSheets {
  std::vector<std::string> sheet_ids;                         // the sheet the strand belongs to
  std::vector<std::string> strand_ids;                        // the strand's identifier, as text
  std::vector<std::optional<std::uint32_t>> strand_ordinals;  // its number in the sheet; absent when unknown
  std::vector<std::optional<std::uint32_t>> num_strands;      // strands in its sheet; absent when unknown
  std::vector<std::uint32_t> chain_refs;                      // 0-based index into Chains::chains
  std::vector<std::uint32_t> start_residues;                  // 0-based ResidueRef of the first residue
  std::vector<std::uint32_t> end_residues;                    // 0-based ResidueRef of the last residue
  std::vector<std::optional<StrandSense>> senses;             // absent when unknown

  // Appends one strand to every column.
  void push(std::string sheet_id, std::string strand_id, std::optional<std::uint32_t> strand_ordinal,
            std::optional<std::uint32_t> num_strands, std::uint32_t chain_ref, std::uint32_t start_residue,
            std::uint32_t end_residue, std::optional<StrandSense> sense);

  friend bool operator==(const BetaSheets&, const BetaSheets&) = default;
};

// Why a chain table is inconsistent.
enum class ChainsError : std::uint8_t {
  LabelMismatch,   // labeled and labels differ in length, or labeled names a chain that does not exist
  LabelsMissing,   // labeled without labels; in a join, an other with labeled but no labels
  LabeledMissing,  // labels without labeled
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(ChainsError error);
REDIVI_EXPORT std::string debug_string(ChainsError error);

// The chain table of a structure. The PDB and mmCIF readers make one chain per chain identifier, in
// identifier order; the SDF reader one chain of its one residue.
struct REDIVI_EXPORT Chains {
  std::vector<Chain> chains;
  // Absent when the structure has none.
  std::optional<AlphaHelices> alpha_helices;
  std::optional<BetaSheets> beta_sheets;
  // The chains (0-based) that carry labels.
  std::optional<std::vector<std::uint32_t>> labeled;
  // Entry i holds the labels of chain labeled[i]. The PDB and mmCIF readers label every chain with its
  // identifier from the file (empty text for a blank PDB chain column); the SDF reader leaves both absent.
  std::optional<std::vector<std::vector<std::string>>> labels;

  // Appends other, its residue and chain references shifted past this table's and its labels merged.
  std::expected<void, ChainsError> extend(Chains&& other);
  // The chains holding the residues refs names, residue k of the result being refs[k]; chains come in
  // the order their first selected residue appears in refs, and helices and strands survive when their
  // chain remains and both their end residues are selected.
  Chains new_chains_from_residue_subset(std::span<const ResidueRef> refs) const;

  friend bool operator==(const Chains&, const Chains&) = default;
};

}  // namespace redivi
