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

struct TopologyError {
  struct InvalidGeometryLength { std::size_t geometry_length, atom_count; bool operator==(const InvalidGeometryLength&) const = default; };
  struct InvalidLabelsLength { std::size_t labels_length, atom_count; bool operator==(const InvalidLabelsLength&) const = default; };
  struct InvalidPartialChargesLength { std::size_t length, atom_count; bool operator==(const InvalidPartialChargesLength&) const = default; };
  struct InvalidFormalChargesLength { std::size_t length, atom_count; bool operator==(const InvalidFormalChargesLength&) const = default; };
  struct InvalidConnectivity { AtomRef first, second; bool operator==(const InvalidConnectivity&) const = default; };
  struct InvalidStereochemistryExistence { bool operator==(const InvalidStereochemistryExistence&) const = default; };
  struct InvalidStereochemistryLength { std::size_t stereochemistry_length, connectivity_length; bool operator==(const InvalidStereochemistryLength&) const = default; };
  struct InvalidVelocitiesLength { std::size_t velocities_length, atom_count; bool operator==(const InvalidVelocitiesLength&) const = default; };
  struct InvalidFragments { bool operator==(const InvalidFragments&) const = default; };
  struct InvalidFragmentRef { FragmentRef fragment; bool operator==(const InvalidFragmentRef&) const = default; };
  struct InvalidFragmentFormalChargesLength { std::size_t length, fragment_count; bool operator==(const InvalidFragmentFormalChargesLength&) const = default; };
  struct InvalidFragmentPartialChargesLength { std::size_t length, fragment_count; bool operator==(const InvalidFragmentPartialChargesLength&) const = default; };
  struct InvalidFragmentMultiplicitiesLength { std::size_t length, fragment_count; bool operator==(const InvalidFragmentMultiplicitiesLength&) const = default; };

  std::variant<InvalidGeometryLength, InvalidLabelsLength, InvalidPartialChargesLength, InvalidFormalChargesLength,
               InvalidConnectivity, InvalidStereochemistryExistence, InvalidStereochemistryLength,
               InvalidVelocitiesLength, InvalidFragments, InvalidFragmentRef, InvalidFragmentFormalChargesLength,
               InvalidFragmentPartialChargesLength, InvalidFragmentMultiplicitiesLength>
      value;

  friend bool operator==(const TopologyError&, const TopologyError&) = default;
};

REDIVI_EXPORT std::string to_string(const TopologyError& error);
REDIVI_EXPORT std::string debug_string(const TopologyError& error);

struct REDIVI_EXPORT Topology {
  SchemaVersion schema_version = current_schema_version();
  std::vector<Element> symbols;
  // x, y, z of atom 0, then of atom 1, and so on, in the unit of the source.
  std::vector<float> geometry;
  std::optional<std::vector<std::string>> labels;
  std::optional<std::vector<float>> partial_charges;
  std::optional<std::vector<std::int32_t>> formal_charges;
  std::optional<std::vector<Bond>> connectivity;
  // One entry per bond of connectivity.
  std::optional<std::vector<Stereochemistry>> stereochemistry;
  std::optional<std::vector<float>> velocities;
  std::optional<std::vector<Fragment>> fragments;
  std::optional<std::vector<std::int32_t>> fragment_formal_charges;
  std::optional<std::vector<float>> fragment_partial_charges;
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
  std::expected<Topology, TRCError> new_topology_from_residue_subset(std::span<const std::vector<AtomRef>> residues) const;
  // The fragments, ascending, other than the given one, with an atom within distance of one of its atoms.
  std::expected<std::vector<std::uint32_t>, TopologyError> get_fragments_near_fragment(std::uint32_t fragment,
                                                                                       float distance) const;

  friend bool operator==(const Topology&, const Topology&) = default;
};

}  // namespace redivi
