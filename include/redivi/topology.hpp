// The per-atom, per-bond and per-fragment data of one structure, and its consistency check.
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "redivi/atom.hpp"
#include "redivi/bond.hpp"
#include "redivi/element.hpp"
#include "redivi/export.hpp"
#include "redivi/fragment.hpp"
#include "redivi/topology_error.hpp"
#include "redivi/trc_error.hpp"
#include "redivi/version.hpp"

namespace redivi {

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
