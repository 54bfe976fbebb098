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

// Why a structure is inconsistent, or why a subset cannot be taken.
struct TRCError {
  // A residue that no chain lists.
  struct ResidueNotInChain {
    ResidueRef residue;
    bool operator==(const ResidueNotInChain&) const = default;
  };
  // A chain, or a subset reference, names a residue at or past the residue count.
  struct ResidueDoesNotExist {
    ResidueRef residue;
    bool operator==(const ResidueDoesNotExist&) const = default;
  };
  // The chain table's own check failed, or its labels could not be joined.
  struct InvalidChains {
    ChainsError error;
    bool operator==(const InvalidChains&) const = default;
  };
  // Atoms that no residue lists, or a residue atom at or past the atom count.
  struct AtomsNotInResidues {
    bool operator==(const AtomsNotInResidues&) const = default;
  };
  // The first atom the residues list twice; in a subset, a residue atom at or past the atom count.
  struct AtomDoesNotExist {
    AtomRef atom;
    bool operator==(const AtomDoesNotExist&) const = default;
  };
  // The topology's own check failed, or a subset cannot read one of its lists.
  struct InvalidTopology {
    TopologyError error;
    bool operator==(const InvalidTopology&) const = default;
  };
  // The residue table's own check failed, or its labels could not be joined.
  struct InvalidResidues {
    ResiduesError error;
    bool operator==(const InvalidResidues&) const = default;
  };

  std::variant<ResidueNotInChain, ResidueDoesNotExist, InvalidChains, AtomsNotInResidues, AtomDoesNotExist,
               InvalidTopology, InvalidResidues>
      value;

  friend bool operator==(const TRCError&, const TRCError&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const TRCError& error);
REDIVI_EXPORT std::string debug_string(const TRCError& error);

// One molecular structure: a model of a PDB or mmCIF file, an SDF molecule. Every atom lies in exactly
// one residue and every residue in a chain when check() passes.
struct REDIVI_EXPORT TRC {
  Topology topology;  // the atoms, their bonds and fragments
  Residues residues;  // the residues, each a list of atoms
  Chains chains;      // the chains, each a list of residues, with helices and strands

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
