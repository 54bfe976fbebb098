// The per-atom, per-bond and per-fragment data of one structure, and its consistency check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "redivi/atom.hpp"
#include "redivi/bond.hpp"
#include "redivi/element.hpp"
#include "redivi/export.hpp"
#include "redivi/fragment.hpp"
#include "redivi/version.hpp"

namespace redivi {

struct TRCError;

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

// The atoms of one structure with their bonds and fragments: parallel lists, one entry per atom (per bond,
// per fragment). An absent optional list differs from an empty one: absent means the source has no such
// data. Charges are in elementary charges.
struct REDIVI_EXPORT Topology {
  // The layout version of this data: current_schema_version() unless set otherwise.
  SchemaVersion schema_version = current_schema_version();
  // The element of each atom; its length is the atom count.
  std::vector<Element> symbols;
  // x, y, z of atom 0, then of atom 1, and so on, in the unit of the source file (ångström for PDB and
  // mmCIF).
  std::vector<float> geometry;
  // The atom names ("CA", "OXT"), not elements: set by the PDB and mmCIF readers, absent from SDF and XYZ.
  std::optional<std::vector<std::string>> labels;
  // No reader sets them.
  std::optional<std::vector<float>> partial_charges;
  // Set by the PDB (0 for a blank charge column), mmCIF and SDF readers; absent from XYZ.
  std::optional<std::vector<std::int32_t>> formal_charges;
  // The bonds; every reader but XYZ sets it, possibly empty.
  std::optional<std::vector<Bond>> connectivity;
  // One entry per bond of connectivity; only the SDF reader sets it.
  std::optional<std::vector<Stereochemistry>> stereochemistry;
  // x, y, z per atom like geometry; no reader sets them.
  std::optional<std::vector<float>> velocities;
  // Groups that list every atom exactly once; absent from XYZ. The PDB reader makes one per residue with
  // atoms, so fragment and residue numbers differ once a residue has none; the mmCIF reader makes one per
  // residue, empty for a residue without atoms; the SDF reader one of all atoms.
  std::optional<std::vector<Fragment>> fragments;
  // Per fragment, the sum of its atoms' formal charges, as the PDB, mmCIF and SDF readers set it.
  std::optional<std::vector<std::int32_t>> fragment_formal_charges;
  // Per fragment; no reader sets them.
  std::optional<std::vector<float>> fragment_partial_charges;
  // The spin multiplicity of each fragment; no reader sets them.
  std::optional<std::vector<std::uint8_t>> fragment_multiplicities;

  // The first disagreement between the lists, if any.
  std::expected<void, TopologyError> check() const;

  // Appends other's atoms after this topology's, shifting its bond and fragment atoms; fields this
  // topology lacks stay absent, fields only this one has are padded for the new atoms.
  void extend(Topology&& other);
  // The atoms of the given residues, in that order, renumbered from 0, with the bonds and fragments
  // that lie wholly inside the selection. Fails with TRCError::AtomDoesNotExist for an atom index not
  // below the atom count and with TRCError::InvalidTopology for a list whose length disagrees with the
  // atoms, bonds or fragments it describes.
  std::expected<Topology, TRCError> new_topology_from_residue_subset(
      std::span<const std::vector<AtomRef>> residues) const;
  // The fragments, ascending, other than the given one, with an atom within distance (in the unit of
  // geometry) of one of its atoms; none without fragments. Fails with InvalidFragmentRef for a fragment
  // past the end, InvalidGeometryLength and InvalidFragments for lists it cannot read.
  std::expected<std::vector<std::uint32_t>, TopologyError> get_fragments_near_fragment(std::uint32_t fragment,
                                                                                       float distance) const;

  friend bool operator==(const Topology&, const Topology&) = default;
};

}  // namespace redivi
