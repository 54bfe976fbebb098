// Why a structure is inconsistent: the error of its joint check, joins and subsets.
#pragma once

#include <string>
#include <variant>

#include "redivi/atom.hpp"
#include "redivi/chain.hpp"
#include "redivi/export.hpp"
#include "redivi/residue.hpp"
#include "redivi/topology_error.hpp"

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

}  // namespace redivi
