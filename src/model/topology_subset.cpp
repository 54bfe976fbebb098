// Subsets of a topology: the atoms of chosen residues, with the bonds and fragments among them.
#include "model/topology_subset.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace redivi {
namespace {

constexpr std::uint32_t not_selected = std::numeric_limits<std::uint32_t>::max();

template <class Variant, class... Args>
std::optional<TopologyError> error(Args... args) {
  return TopologyError{Variant{args...}};
}

// The lists a subset reads must be as long as the atoms, bonds and fragments they describe; tested
// once here so the loops below index without checks.
std::optional<TopologyError> unreadable_list(const Topology& source) {
  using E = TopologyError;
  const std::size_t n = source.symbols.size();
  if (source.geometry.size() != 3 * n) return error<E::InvalidGeometryLength>(source.geometry.size(), n);
  if (source.labels && source.labels->size() != n) return error<E::InvalidLabelsLength>(source.labels->size(), n);
  if (source.partial_charges && source.partial_charges->size() != n) {
    return error<E::InvalidPartialChargesLength>(source.partial_charges->size(), n);
  }
  if (source.formal_charges && source.formal_charges->size() != n) {
    return error<E::InvalidFormalChargesLength>(source.formal_charges->size(), n);
  }
  if (source.connectivity && source.stereochemistry && source.stereochemistry->size() != source.connectivity->size()) {
    return error<E::InvalidStereochemistryLength>(source.stereochemistry->size(), source.connectivity->size());
  }
  if (source.velocities && source.velocities->size() != 3 * n) {
    return error<E::InvalidVelocitiesLength>(source.velocities->size(), n);
  }
  if (!source.fragments) return std::nullopt;
  const std::size_t count = source.fragments->size();
  if (source.fragment_formal_charges && source.fragment_formal_charges->size() != count) {
    return error<E::InvalidFragmentFormalChargesLength>(source.fragment_formal_charges->size(), count);
  }
  if (source.fragment_partial_charges && source.fragment_partial_charges->size() != count) {
    return error<E::InvalidFragmentPartialChargesLength>(source.fragment_partial_charges->size(), count);
  }
  if (source.fragment_multiplicities && source.fragment_multiplicities->size() != count) {
    return error<E::InvalidFragmentMultiplicitiesLength>(source.fragment_multiplicities->size(), count);
  }
  return std::nullopt;
}

// For each source atom, its first position in the selection, or not_selected.
std::expected<std::vector<std::uint32_t>, TRCError> first_positions(std::size_t atom_count,
                                                                   std::span<const AtomRef> selection) {
  std::vector<std::uint32_t> positions(atom_count, not_selected);
  for (std::size_t k = 0; k < selection.size(); ++k) {
    const AtomRef atom = selection[k];
    if (atom >= atom_count) return std::unexpected(TRCError{TRCError::AtomDoesNotExist{atom}});
    if (positions[atom] == not_selected) positions[atom] = static_cast<std::uint32_t>(k);
  }
  return positions;
}

// The entries at the given indices, in their order; each index is below the list's length.
template <class T, class Index>
std::vector<T> pick(const std::vector<T>& values, std::span<const Index> indices) {
  std::vector<T> picked;
  picked.reserve(indices.size());
  for (const Index index : indices) picked.push_back(values[index]);
  return picked;
}

template <class T, class Index>
std::optional<std::vector<T>> pick(const std::optional<std::vector<T>>& values, std::span<const Index> indices) {
  if (!values) return std::nullopt;
  return pick(*values, indices);
}

// Three values per atom (coordinates, velocities).
std::vector<float> pick_xyz(const std::vector<float>& values, std::span<const AtomRef> selection) {
  std::vector<float> picked;
  picked.reserve(3 * selection.size());
  for (const AtomRef atom : selection) {
    const auto xyz = values.begin() + 3 * std::ptrdiff_t{atom};
    picked.insert(picked.end(), xyz, xyz + 3);
  }
  return picked;
}

// Bond atoms beyond the atom count count as outside the selection.
std::uint32_t position_of(const std::vector<std::uint32_t>& positions, AtomRef atom) {
  return atom < positions.size() ? positions[atom] : not_selected;
}

void pick_bonds(const Topology& source, const std::vector<std::uint32_t>& positions, Topology& subset) {
  if (!source.connectivity) return;
  std::vector<Bond> bonds;
  std::vector<std::uint32_t> kept;
  for (std::uint32_t i = 0; i < source.connectivity->size(); ++i) {
    const Bond& bond = (*source.connectivity)[i];
    const std::uint32_t first = position_of(positions, bond.first);
    const std::uint32_t second = position_of(positions, bond.second);
    if (first == not_selected || second == not_selected) continue;
    bonds.push_back(Bond{first, second, bond.order});
    kept.push_back(i);
  }
  subset.connectivity = std::move(bonds);
  subset.stereochemistry = pick(source.stereochemistry, std::span<const std::uint32_t>(kept));
}

// The indices of the fragments wholly inside the selection; nothing when one lies partly outside it.
std::optional<std::vector<std::uint32_t>> kept_fragments(const std::vector<Fragment>& fragments,
                                                         const std::vector<std::uint32_t>& positions) {
  std::vector<std::uint32_t> kept;
  for (std::uint32_t i = 0; i < fragments.size(); ++i) {
    std::size_t inside = 0;
    for (const AtomRef atom : fragments[i]) inside += position_of(positions, atom) != not_selected;
    if (inside == 0) continue;
    if (inside != fragments[i].size()) return std::nullopt;
    kept.push_back(i);
  }
  return kept;
}

void pick_fragments(const Topology& source, const std::vector<std::uint32_t>& positions, Topology& subset) {
  if (!source.fragments) return;
  const auto kept = kept_fragments(*source.fragments, positions);
  if (!kept) return;
  std::vector<Fragment> fragments;
  fragments.reserve(kept->size());
  for (const std::uint32_t i : *kept) {
    Fragment& fragment = fragments.emplace_back((*source.fragments)[i]);
    for (AtomRef& atom : fragment) atom = positions[atom];
  }
  const std::span<const std::uint32_t> indices(*kept);
  subset.fragments = std::move(fragments);
  subset.fragment_formal_charges = pick(source.fragment_formal_charges, indices);
  subset.fragment_partial_charges = pick(source.fragment_partial_charges, indices);
  subset.fragment_multiplicities = pick(source.fragment_multiplicities, indices);
}

}  // namespace

namespace detail {

std::expected<Topology, TRCError> topology_from_selection(const Topology& source, std::span<const AtomRef> selection) {
  if (const auto invalid = unreadable_list(source)) {
    return std::unexpected(TRCError{TRCError::InvalidTopology{*invalid}});
  }
  const auto positions = first_positions(source.symbols.size(), selection);
  if (!positions) return std::unexpected(positions.error());
  Topology subset;
  subset.schema_version = source.schema_version;
  subset.symbols = pick(source.symbols, selection);
  subset.geometry = pick_xyz(source.geometry, selection);
  subset.labels = pick(source.labels, selection);
  subset.partial_charges = pick(source.partial_charges, selection);
  subset.formal_charges = pick(source.formal_charges, selection);
  pick_bonds(source, *positions, subset);
  if (source.velocities) subset.velocities = pick_xyz(*source.velocities, selection);
  pick_fragments(source, *positions, subset);
  return subset;
}

}  // namespace detail

std::expected<Topology, TRCError> Topology::new_topology_from_residue_subset(
    std::span<const std::vector<AtomRef>> residues) const {
  std::size_t atom_count = 0;
  for (const auto& residue : residues) atom_count += residue.size();
  std::vector<AtomRef> selection;
  selection.reserve(atom_count);
  for (const auto& residue : residues) selection.insert(selection.end(), residue.begin(), residue.end());
  return detail::topology_from_selection(*this, selection);
}

}  // namespace redivi
