// One molecular structure: its topology, residues and chains, and their joint consistency check.
#pragma once

#include <expected>
#include <span>
#include <string>
#include <variant>

#include "redivi/chain.hpp"
#include "redivi/export.hpp"
#include "redivi/residue.hpp"
#include "redivi/topology.hpp"

namespace redivi {

struct TRCError {
  struct ResidueNotInChain { ResidueRef residue; bool operator==(const ResidueNotInChain&) const = default; };
  struct ResidueDoesNotExist { ResidueRef residue; bool operator==(const ResidueDoesNotExist&) const = default; };
  struct InvalidChains { ChainsError error; bool operator==(const InvalidChains&) const = default; };
  struct AtomsNotInResidues { bool operator==(const AtomsNotInResidues&) const = default; };
  struct AtomDoesNotExist { AtomRef atom; bool operator==(const AtomDoesNotExist&) const = default; };
  struct InvalidTopology { TopologyError error; bool operator==(const InvalidTopology&) const = default; };
  struct InvalidResidues { ResiduesError error; bool operator==(const InvalidResidues&) const = default; };

  std::variant<ResidueNotInChain, ResidueDoesNotExist, InvalidChains, AtomsNotInResidues, AtomDoesNotExist,
               InvalidTopology, InvalidResidues>
      value;

  friend bool operator==(const TRCError&, const TRCError&) = default;
};

REDIVI_EXPORT std::string to_string(const TRCError& error);
REDIVI_EXPORT std::string debug_string(const TRCError& error);

struct REDIVI_EXPORT TRC {
  Topology topology;
  Residues residues;
  Chains chains;

  // The first disagreement between the three parts, if any.
  std::expected<void, TRCError> check() const;

  // Appends other's topology, residues and chains after this structure's. On failure the parts joined
  // before it stay joined: work on a copy to keep the original.
  std::expected<void, TRCError> extend(TRC&& other);
  // The residues refs names, in that order, with their atoms renumbered from 0 and the bonds, fragments,
  // chains, helices, strands and labels that remain. Fails with ResidueDoesNotExist for a reference not
  // below the residue count, AtomDoesNotExist for a residue atom not below the atom count and
  // InvalidTopology for a topology list whose length disagrees with what it describes.
  std::expected<TRC, TRCError> new_trc_from_residue_subset(std::span<const ResidueRef> refs) const;

  friend bool operator==(const TRC&, const TRC&) = default;
};

}  // namespace redivi
