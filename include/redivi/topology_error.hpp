// Why a topology is inconsistent: the error of its check and of the operations that read it.
#pragma once

#include <cstddef>
#include <string>
#include <variant>

#include "redivi/atom.hpp"
#include "redivi/export.hpp"
#include "redivi/fragment.hpp"

namespace redivi {

// Why a topology is inconsistent, or why an operation cannot read it. Lengths and counts are numbers of
// entries; geometry and velocities lengths count floats, three per atom.
struct TopologyError {
  // geometry does not hold three coordinates per atom.
  struct InvalidGeometryLength {
    std::size_t geometry_length, atom_count;
    bool operator==(const InvalidGeometryLength&) const = default;
  };
  // labels does not hold one entry per atom.
  struct InvalidLabelsLength {
    std::size_t labels_length, atom_count;
    bool operator==(const InvalidLabelsLength&) const = default;
  };
  // partial_charges does not hold one entry per atom.
  struct InvalidPartialChargesLength {
    std::size_t length, atom_count;
    bool operator==(const InvalidPartialChargesLength&) const = default;
  };
  // formal_charges does not hold one entry per atom.
  struct InvalidFormalChargesLength {
    std::size_t length, atom_count;
    bool operator==(const InvalidFormalChargesLength&) const = default;
  };
  // The first bond naming an atom at or past the atom count, or the same atom twice.
  struct InvalidConnectivity {
    AtomRef first, second;
    bool operator==(const InvalidConnectivity&) const = default;
  };
  // stereochemistry without connectivity.
  struct InvalidStereochemistryExistence {
    bool operator==(const InvalidStereochemistryExistence&) const = default;
  };
  // stereochemistry does not hold one entry per bond.
  struct InvalidStereochemistryLength {
    std::size_t stereochemistry_length, connectivity_length;
    bool operator==(const InvalidStereochemistryLength&) const = default;
  };
  // velocities does not hold three values per atom.
  struct InvalidVelocitiesLength {
    std::size_t velocities_length, atom_count;
    bool operator==(const InvalidVelocitiesLength&) const = default;
  };
  // The fragments do not list every atom exactly once, or list an atom at or past the atom count.
  struct InvalidFragments {
    bool operator==(const InvalidFragments&) const = default;
  };
  // A fragment asked for at or past the fragment count.
  struct InvalidFragmentRef {
    FragmentRef fragment;
    bool operator==(const InvalidFragmentRef&) const = default;
  };
  // A fragment value list not as long as the fragments (a topology without fragments counts none).
  struct InvalidFragmentFormalChargesLength {
    std::size_t length, fragment_count;
    bool operator==(const InvalidFragmentFormalChargesLength&) const = default;
  };
  struct InvalidFragmentPartialChargesLength {
    std::size_t length, fragment_count;
    bool operator==(const InvalidFragmentPartialChargesLength&) const = default;
  };
  struct InvalidFragmentMultiplicitiesLength {
    std::size_t length, fragment_count;
    bool operator==(const InvalidFragmentMultiplicitiesLength&) const = default;
  };

  std::variant<InvalidGeometryLength, InvalidLabelsLength, InvalidPartialChargesLength, InvalidFormalChargesLength,
               InvalidConnectivity, InvalidStereochemistryExistence, InvalidStereochemistryLength,
               InvalidVelocitiesLength, InvalidFragments, InvalidFragmentRef, InvalidFragmentFormalChargesLength,
               InvalidFragmentPartialChargesLength, InvalidFragmentMultiplicitiesLength>
      value;

  friend bool operator==(const TopologyError&, const TopologyError&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const TopologyError& error);
REDIVI_EXPORT std::string debug_string(const TopologyError& error);

}  // namespace redivi
