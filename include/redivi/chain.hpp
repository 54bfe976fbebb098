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

// The residues of one chain, in chain order.
using Chain = std::vector<ResidueRef>;

// The class number of a PDB HELIX record.
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

// A strand's sense relative to the previous strand; the PDB SHEET senses 0, 1 and -1.
enum class StrandSense : std::uint8_t {
  First = 1,
  Parallel = 2,
  AntiParallel = 255,
};

// One entry per helix in each column.
struct REDIVI_EXPORT AlphaHelices {
  std::vector<std::string> helix_ids;
  std::vector<std::uint32_t> chain_refs;
  std::vector<std::uint32_t> start_residues;
  std::vector<std::uint32_t> end_residues;
  std::vector<std::optional<HelixClass>> classes;
  std::vector<std::optional<std::uint32_t>> lengths;

  void push(std::string helix_id, std::uint32_t chain_ref, std::uint32_t start_residue, std::uint32_t end_residue,
            std::optional<HelixClass> helix_class, std::optional<std::uint32_t> length);

  friend bool operator==(const AlphaHelices&, const AlphaHelices&) = default;
};

// One entry per sheet strand in each column.
struct REDIVI_EXPORT BetaSheets {
  std::vector<std::string> sheet_ids;
  std::vector<std::string> strand_ids;
  std::vector<std::optional<std::uint32_t>> strand_ordinals;
  std::vector<std::optional<std::uint32_t>> num_strands;
  std::vector<std::uint32_t> chain_refs;
  std::vector<std::uint32_t> start_residues;
  std::vector<std::uint32_t> end_residues;
  std::vector<std::optional<StrandSense>> senses;

  void push(std::string sheet_id, std::string strand_id, std::optional<std::uint32_t> strand_ordinal,
            std::optional<std::uint32_t> num_strands, std::uint32_t chain_ref, std::uint32_t start_residue,
            std::uint32_t end_residue, std::optional<StrandSense> sense);

  friend bool operator==(const BetaSheets&, const BetaSheets&) = default;
};

enum class ChainsError : std::uint8_t {
  LabelMismatch,
  LabelsMissing,
  LabeledMissing,
};

REDIVI_EXPORT std::string to_string(ChainsError error);
REDIVI_EXPORT std::string debug_string(ChainsError error);

struct REDIVI_EXPORT Chains {
  std::vector<Chain> chains;
  std::optional<AlphaHelices> alpha_helices;
  std::optional<BetaSheets> beta_sheets;
  std::optional<std::vector<std::uint32_t>> labeled;
  // Entry i holds the labels of chain labeled[i]; a chain's identifier from the file is its label.
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
