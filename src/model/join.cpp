// Joining structures: every extend (topology, residues, chains, the whole structure), the other's
// entries appended after the receiver's with their references shifted and their labels merged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "redivi/trc.hpp"

namespace redivi {
namespace {

// Moves every value of from to the end of to.
template <class T>
void append(std::vector<T>& to, std::vector<T>&& from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// Adds offset to every index, wrapping around in 32 bits.
void shift(std::vector<std::uint32_t>& indices, std::uint32_t offset) {
  for (std::uint32_t& index : indices) index += offset;
}

// Appends other's groups of indices (residues, chains, fragments), each index raised by offset.
void append_shifted(std::vector<std::vector<std::uint32_t>>& groups, std::vector<std::vector<std::uint32_t>>&& other,
                    std::uint32_t offset) {
  for (auto& group : other) shift(group, offset);
  append(groups, std::move(other));
}

// The number of entries in all the groups together, wrapping around in 32 bits.
std::uint32_t total_size(const std::vector<std::vector<std::uint32_t>>& groups) {
  std::uint32_t total = 0;
  for (const auto& group : groups) total += static_cast<std::uint32_t>(group.size());
  return total;
}

// The label fields that residues and chains share.
using Labeled = std::optional<std::vector<std::uint32_t>>;
using Labels = std::optional<std::vector<std::vector<std::string>>>;

enum class Merge : std::uint8_t { done, labels_missing };

// Tables that fail the structure check may hold lists of unequal length: entries of other
// without texts are dropped, and this table's texts are cut or padded with empty entries to
// match its labeled, so that every entry keeps its own texts.
void merge_into(std::vector<std::uint32_t>& labeled, std::vector<std::vector<std::string>>& labels,
                const std::vector<std::uint32_t>& other_labeled, std::vector<std::vector<std::string>>& other_labels) {
  labels.resize(labeled.size());
  std::unordered_map<std::uint32_t, std::size_t> first_position;
  first_position.reserve(labeled.size() + other_labeled.size());
  for (std::size_t k = 0; k < labeled.size(); ++k) first_position.emplace(labeled[k], k);
  const std::size_t count = std::min(other_labeled.size(), other_labels.size());
  for (std::size_t i = 0; i < count; ++i) {
    const auto [found, is_new] = first_position.emplace(other_labeled[i], labeled.size());
    if (is_new) {
      labeled.push_back(other_labeled[i]);
      labels.push_back(std::move(other_labels[i]));
    } else {
      append(labels[found->second], std::move(other_labels[i]));
    }
  }
}

// Joins other's labels to a table's own, other's indices raised by offset first.
// A table without labeled takes other's fields as they are; a table with labeled but no labels
// keeps its own. When both tables have labeled but only this one has labels, nothing changes
// and the result is labels_missing. Otherwise each of other's entries goes to the first entry
// of labeled naming the same index, or is appended when there is none.
Merge merge_labels(Labeled& labeled, Labels& labels, Labeled&& other_labeled, Labels&& other_labels,
                   std::uint32_t offset) {
  if (!other_labeled) return Merge::done;
  if (!labeled) {
    shift(*other_labeled, offset);
    labeled = std::move(other_labeled);
    labels = std::move(other_labels);
    return Merge::done;
  }
  if (!labels) return Merge::done;
  if (!other_labels) return Merge::labels_missing;
  shift(*other_labeled, offset);
  merge_into(*labeled, *labels, *other_labeled, *other_labels);
  return Merge::done;
}

// Appends other's list when both have the field, padding for the new atoms when only the receiver
// has it; a receiver without the field stays without it.
template <class T>
void append_or_pad(std::optional<std::vector<T>>& receiver, std::optional<std::vector<T>>&& other,
                   std::size_t pad_count, const T& pad_value) {
  if (!receiver) return;
  if (other) {
    append(*receiver, std::move(*other));
  } else {
    receiver->insert(receiver->end(), pad_count, pad_value);
  }
}

// Formal charges add up in 32-bit two's-complement arithmetic: an overflow wraps around.
std::int32_t wrapping_add(std::int32_t sum, std::int32_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) + static_cast<std::uint32_t>(value));
}

float float_add(float sum, float value) { return sum + value; }

// The sum of a fragment's charges over its atoms in order, or 0 without charges. An atom outside the
// charge list adds nothing.
template <class T, class Add>
T fragment_charge(const std::optional<std::vector<T>>& charges, const Fragment& fragment, T start, Add add) {
  if (!charges) return T{};
  T sum = start;
  for (const AtomRef atom : fragment) {
    if (atom < charges->size()) sum = add(sum, (*charges)[atom]);
  }
  return sum;
}

// Appends other's list when both have it, else one value per fragment from make_value.
template <class T, class MakeValue>
void append_fragment_values(std::optional<std::vector<T>>& receiver, std::optional<std::vector<T>>&& other,
                            const std::vector<Fragment>& other_fragments, MakeValue make_value) {
  if (!receiver) return;
  if (other) {
    append(*receiver, std::move(*other));
    return;
  }
  receiver->reserve(receiver->size() + other_fragments.size());
  for (const Fragment& fragment : other_fragments) receiver->push_back(make_value(fragment));
}

// An other without fragments is joined as one fragment of all its atoms. The values of a fragment the
// other gives none for: the sums of its atoms' charges (partial charges from negative zero, so an
// empty sum is -0) and multiplicity 0.
void extend_fragments(Topology& receiver, Topology&& other, std::uint32_t offset) {
  if (!receiver.fragments && !receiver.fragment_formal_charges && !receiver.fragment_partial_charges &&
      !receiver.fragment_multiplicities) {
    return;
  }
  std::vector<Fragment> other_fragments;
  if (other.fragments) {
    other_fragments = std::move(*other.fragments);
  } else {
    Fragment all_atoms(other.symbols.size());
    for (std::uint32_t i = 0; i < all_atoms.size(); ++i) all_atoms[i] = i;
    other_fragments.push_back(std::move(all_atoms));
  }
  const auto formal = [&](const Fragment& f) {
    return fragment_charge(other.formal_charges, f, std::int32_t{0}, wrapping_add);
  };
  const auto partial = [&](const Fragment& f) { return fragment_charge(other.partial_charges, f, -0.0f, float_add); };
  append_fragment_values(receiver.fragment_formal_charges, std::move(other.fragment_formal_charges), other_fragments,
                         formal);
  append_fragment_values(receiver.fragment_partial_charges, std::move(other.fragment_partial_charges), other_fragments,
                         partial);
  append_fragment_values(receiver.fragment_multiplicities, std::move(other.fragment_multiplicities), other_fragments,
                         [](const Fragment&) { return std::uint8_t{0}; });
  if (!receiver.fragments) return;
  append_shifted(*receiver.fragments, std::move(other_fragments), offset);
}

// The number of bonds appended: other's, when both topologies have bonds.
std::size_t extend_connectivity(Topology& receiver, const Topology& other, std::uint32_t offset) {
  if (!receiver.connectivity || !other.connectivity) return 0;
  receiver.connectivity->reserve(receiver.connectivity->size() + other.connectivity->size());
  for (const Bond& bond : *other.connectivity) {
    receiver.connectivity->push_back(Bond{bond.first + offset, bond.second + offset, bond.order});
  }
  return other.connectivity->size();
}

// Helix and strand stores are appended column by column.
void append_columns(AlphaHelices& to, AlphaHelices&& from) {
  append(to.helix_ids, std::move(from.helix_ids));
  append(to.chain_refs, std::move(from.chain_refs));
  append(to.start_residues, std::move(from.start_residues));
  append(to.end_residues, std::move(from.end_residues));
  append(to.classes, std::move(from.classes));
  append(to.lengths, std::move(from.lengths));
}

void append_columns(BetaSheets& to, BetaSheets&& from) {
  append(to.sheet_ids, std::move(from.sheet_ids));
  append(to.strand_ids, std::move(from.strand_ids));
  append(to.strand_ordinals, std::move(from.strand_ordinals));
  append(to.num_strands, std::move(from.num_strands));
  append(to.chain_refs, std::move(from.chain_refs));
  append(to.start_residues, std::move(from.start_residues));
  append(to.end_residues, std::move(from.end_residues));
  append(to.senses, std::move(from.senses));
}

// Shifts a helix or strand store's references, then moves it in or appends it column by column.
// Each column is handled on its own, so columns of unequal length (a table that fails the
// structure check) are carried over as they are.
template <class Store>
void join_store(std::optional<Store>& to, Store&& from, std::uint32_t chain_offset, std::uint32_t residue_offset) {
  shift(from.chain_refs, chain_offset);
  shift(from.start_residues, residue_offset);
  shift(from.end_residues, residue_offset);
  if (to) {
    append_columns(*to, std::move(from));
  } else {
    to = std::move(from);
  }
}

}  // namespace

void Topology::extend(Topology&& other) {
  // Joining a topology to itself appends a copy: a list cannot be appended from its own elements.
  if (&other == this) {
    extend(Topology{other});
    return;
  }
  const auto offset = static_cast<std::uint32_t>(symbols.size());
  const std::size_t other_count = other.symbols.size();
  // The fragment values are sums over other's charges: joined before those lists are taken over.
  extend_fragments(*this, std::move(other), offset);
  geometry.insert(geometry.end(), other.geometry.begin(), other.geometry.end());
  symbols.insert(symbols.end(), other.symbols.begin(), other.symbols.end());
  append_or_pad(labels, std::move(other.labels), other_count, std::string{});
  append_or_pad(partial_charges, std::move(other.partial_charges), other_count, 0.0f);
  append_or_pad(formal_charges, std::move(other.formal_charges), other_count, std::int32_t{0});
  const std::size_t bonds_added = extend_connectivity(*this, other, offset);
  // Bonds that come without stereochemistry get Stereochemistry::NONE, one per bond.
  append_or_pad(stereochemistry, std::move(other.stereochemistry), bonds_added, Stereochemistry::NONE);
  append_or_pad(velocities, std::move(other.velocities), 3 * other_count, 0.0f);
}

std::expected<void, ResiduesError> Residues::extend(Residues&& other) {
  const AtomRef atom_offset = total_size(residues);
  const auto residue_offset = static_cast<ResidueRef>(residues.size());
  append_shifted(residues, std::move(other.residues), atom_offset);
  append(seqs, std::move(other.seqs));
  append(seq_ns, std::move(other.seq_ns));
  append(insertion_codes, std::move(other.insertion_codes));
  if (merge_labels(labeled, labels, std::move(other.labeled), std::move(other.labels), residue_offset) ==
      Merge::labels_missing) {
    return std::unexpected(ResiduesError{ResiduesError::LabelsMissing{}});
  }
  return {};
}

// The residue offset is counted from the chains, as this table sees no residues: it equals the
// residue count when every residue lies in exactly one chain.
std::expected<void, ChainsError> Chains::extend(Chains&& other) {
  const std::uint32_t residue_offset = total_size(chains);
  const auto chain_offset = static_cast<std::uint32_t>(chains.size());
  if (merge_labels(labeled, labels, std::move(other.labeled), std::move(other.labels), chain_offset) ==
      Merge::labels_missing) {
    return std::unexpected(ChainsError::LabelsMissing);
  }
  append_shifted(chains, std::move(other.chains), residue_offset);
  if (other.alpha_helices) join_store(alpha_helices, std::move(*other.alpha_helices), chain_offset, residue_offset);
  if (other.beta_sheets) join_store(beta_sheets, std::move(*other.beta_sheets), chain_offset, residue_offset);
  return {};
}

std::expected<void, TRCError> TRC::extend(TRC&& other) {
  // Joining a structure to itself appends a copy: a list cannot be appended from its own elements.
  if (&other == this) return extend(TRC{other});
  topology.extend(std::move(other.topology));
  if (auto joined = residues.extend(std::move(other.residues)); !joined) {
    return std::unexpected(TRCError{TRCError::InvalidResidues{joined.error()}});
  }
  if (auto joined = chains.extend(std::move(other.chains)); !joined) {
    return std::unexpected(TRCError{TRCError::InvalidChains{joined.error()}});
  }
  return {};
}

}  // namespace redivi
