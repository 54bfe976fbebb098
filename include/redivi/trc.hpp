// One molecular structure: its topology, residues and chains, and their joint consistency check.
#pragma once

#include <expected>
#include <span>

#include "redivi/chain.hpp"
#include "redivi/export.hpp"
#include "redivi/residue.hpp"
#include "redivi/topology.hpp"
#include "redivi/trc_error.hpp"

namespace redivi {

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
