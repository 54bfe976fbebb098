// Subsets by residues: the atoms of the chosen residues with the bonds and fragments among them, the
// residue table, and the whole structure.
#include "model/subset.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <ranges>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/check.hpp"
#include "redivi/trc.hpp"

namespace redivi {
namespace {

constexpr std::uint32_t not_selected = std::numeric_limits<std::uint32_t>::max();

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

// Atom k of the result is the source's atom selection[k]; bonds and fragments are kept when all their
// atoms are selected, each atom mapped to its first position in the selection. The lists it reads must
// be as long as the atoms, bonds and fragments they describe: tested first, so that the loops above
// index without checks.
std::expected<Topology, TRCError> topology_from_selection(const Topology& source, std::span<const AtomRef> selection) {
  if (auto lengths = detail::check_list_lengths(source); !lengths) {
    return std::unexpected(TRCError{TRCError::InvalidTopology{lengths.error()}});
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

// The atoms of the residues, one residue after another.
std::vector<AtomRef> atoms_of(std::ranges::input_range auto&& residues) {
  std::size_t atom_count = 0;
  for (const Residue& residue : residues) atom_count += residue.size();
  std::vector<AtomRef> atoms;
  atoms.reserve(atom_count);
  for (const Residue& residue : residues) atoms.insert(atoms.end(), residue.begin(), residue.end());
  return atoms;
}

// The entry at index, or an empty value where a column is too short (a table that fails the
// structure check), so that a subset never reads past the end of a column.
template <class T>
T entry_or_empty(const std::vector<T>& column, std::size_t index) {
  return index < column.size() ? column[index] : T{};
}

}  // namespace

namespace detail {

SelectedLabels labels_of_selection(const std::optional<std::vector<std::uint32_t>>& labeled,
                                   const std::optional<std::vector<std::vector<std::string>>>& labels,
                                   std::span<const std::uint32_t> old_of_new) {
  if (!labeled || !labels) return {};
  std::unordered_map<std::uint32_t, std::size_t> first_position;
  first_position.reserve(labeled->size());
  for (std::size_t j = 0; j < labeled->size() && j < labels->size(); ++j) first_position.emplace((*labeled)[j], j);
  std::vector<std::uint32_t> new_labeled;
  std::vector<std::vector<std::string>> new_labels;
  for (std::size_t k = 0; k < old_of_new.size(); ++k) {
    const auto found = first_position.find(old_of_new[k]);
    if (found == first_position.end()) continue;
    new_labeled.push_back(static_cast<std::uint32_t>(k));
    new_labels.push_back((*labels)[found->second]);
  }
  if (new_labeled.empty()) return {};
  return {std::move(new_labeled), std::move(new_labels)};
}

}  // namespace detail

std::expected<Topology, TRCError> Topology::new_topology_from_residue_subset(
    std::span<const std::vector<AtomRef>> residues) const {
  return topology_from_selection(*this, atoms_of(residues));
}

// A reference past the end of residues (which callers are not to pass) gives an empty residue
// with an empty name, number 0 and no insertion code, so that the subset keeps one residue per
// reference and its positions still match the chains built from the same references.
Residues Residues::new_residues_from_subset(const std::vector<ResidueRef>& refs) const {
  Residues subset;
  subset.residues.reserve(refs.size());
  subset.seqs.reserve(refs.size());
  subset.seq_ns.reserve(refs.size());
  subset.insertion_codes.reserve(refs.size());
  AtomRef next_atom = 0;
  for (const ResidueRef ref : refs) {
    const std::size_t atom_count = ref < residues.size() ? residues[ref].size() : 0;
    Residue& residue = subset.residues.emplace_back(atom_count);
    for (AtomRef& atom : residue) atom = next_atom++;
    subset.seqs.push_back(entry_or_empty(seqs, ref));
    subset.seq_ns.push_back(entry_or_empty(seq_ns, ref));
    subset.insertion_codes.push_back(entry_or_empty(insertion_codes, ref));
  }
  auto [subset_labeled, subset_labels] = detail::labels_of_selection(labeled, labels, refs);
  subset.labeled = std::move(subset_labeled);
  subset.labels = std::move(subset_labels);
  return subset;
}

// Every reference is checked against the residues before anything is built, and every selected atom
// against the topology, so a bad reference gives an error and never a partial structure.
std::expected<TRC, TRCError> TRC::new_trc_from_residue_subset(std::span<const ResidueRef> refs) const {
  for (const ResidueRef ref : refs) {
    if (ref >= residues.residues.size()) return std::unexpected(TRCError{TRCError::ResidueDoesNotExist{ref}});
  }
  const auto selected =
      refs | std::views::transform([this](ResidueRef ref) -> const Residue& { return residues.residues[ref]; });
  auto subset_topology = topology_from_selection(topology, atoms_of(selected));
  if (!subset_topology) return std::unexpected(subset_topology.error());
  const std::vector<ResidueRef> ref_list(refs.begin(), refs.end());
  return TRC{std::move(*subset_topology), residues.new_residues_from_subset(ref_list),
             chains.new_chains_from_residue_subset(refs)};
}

}  // namespace redivi
