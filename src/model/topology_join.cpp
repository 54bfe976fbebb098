// Joining two topologies: the other's atoms, bonds and fragments appended after the receiver's.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "model/columns.hpp"
#include "redivi/topology.hpp"

namespace redivi {
namespace {

// Appends other's list when both have the field, padding for the new atoms when only the receiver
// has it; a receiver without the field stays without it.
template <class T>
void append_or_pad(std::optional<std::vector<T>>& receiver, std::optional<std::vector<T>>&& other,
                   std::size_t pad_count, const T& pad_value) {
  if (!receiver) return;
  if (other) {
    columns::append(*receiver, std::move(*other));
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
    receiver->insert(receiver->end(), other->begin(), other->end());
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
  append_fragment_values(receiver.fragment_partial_charges, std::move(other.fragment_partial_charges),
                         other_fragments, partial);
  append_fragment_values(receiver.fragment_multiplicities, std::move(other.fragment_multiplicities), other_fragments,
                         [](const Fragment&) { return std::uint8_t{0}; });
  if (!receiver.fragments) return;
  for (Fragment& fragment : other_fragments) columns::shift(fragment, offset);
  columns::append(*receiver.fragments, std::move(other_fragments));
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

}  // namespace redivi
