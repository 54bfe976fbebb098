// CONECT pairs to bonds: serials to atom indices, repeated pairs to bond orders.
#include <algorithm>
#include <functional>
#include <unordered_map>
#include <utility>

#include "pdb/reader.hpp"

namespace redivi::pdb::detail {
namespace {

// The first atom with a serial, as a scan of the serial list from its start would find it.
// A model's serials usually increase strictly, so a binary search over them finds the only match;
// otherwise a sorted list of (serial, atom) pairs puts each serial's first atom in front.
class SerialIndex {
 public:
  explicit SerialIndex(std::span<const std::uint32_t> serials)
      : serials_{serials},
        increasing_{std::adjacent_find(serials.begin(), serials.end(), std::greater_equal<>{}) == serials.end()} {
    if (increasing_) return;
    sorted_.reserve(serials.size());
    for (std::size_t atom = 0; atom < serials.size(); ++atom) {
      sorted_.emplace_back(serials[atom], static_cast<AtomRef>(atom));
    }
    std::sort(sorted_.begin(), sorted_.end());
  }

  std::optional<AtomRef> find(std::uint32_t serial) const {
    if (increasing_) {
      const auto found = std::lower_bound(serials_.begin(), serials_.end(), serial);
      if (found == serials_.end() || *found != serial) return std::nullopt;
      return static_cast<AtomRef>(found - serials_.begin());
    }
    const auto found = std::lower_bound(sorted_.begin(), sorted_.end(), std::pair<std::uint32_t, AtomRef>{serial, 0});
    if (found == sorted_.end() || found->first != serial) return std::nullopt;
    return found->second;
  }

 private:
  std::span<const std::uint32_t> serials_;
  bool increasing_;
  std::vector<std::pair<std::uint32_t, AtomRef>> sorted_;
};

struct CountedPair {
  AtomRef a, b;
  std::uint8_t count;
};

// Counts atom pairs in order of first appearance. A pair listed twice in one direction is a double
// bond; the partner's record naming it in the other direction adds nothing.
class PairCounter {
 public:
  void count(AtomRef a, AtomRef b) {
    if (index_.contains(key(b, a))) return;
    const auto [found, inserted] = index_.try_emplace(key(a, b), pairs_.size());
    if (inserted) {
      pairs_.push_back(CountedPair{a, b, 1});
      return;
    }
    // Six is the highest bond order: a pair listed more often stays a sextuple bond.
    std::uint8_t& count = pairs_[found->second].count;
    if (count < 6) ++count;
  }

  std::vector<CountedPair>& pairs() { return pairs_; }

 private:
  static std::uint64_t key(AtomRef a, AtomRef b) { return (std::uint64_t{a} << 32) | b; }

  std::unordered_map<std::uint64_t, std::size_t> index_;
  std::vector<CountedPair> pairs_;
};

std::vector<Bond> to_bonds(const std::vector<CountedPair>& pairs) {
  std::vector<Bond> bonds;
  bonds.reserve(pairs.size());
  for (const CountedPair& p : pairs) {
    // Counts run from 1 to 6, each a bond order.
    bonds.push_back(Bond{std::min(p.a, p.b), std::max(p.a, p.b), static_cast<BondOrder>(p.count)});
  }
  return bonds;
}

}  // namespace

std::vector<Bond> model_bonds(std::span<const SerialPair> pairs, std::span<const std::uint32_t> serials) {
  if (pairs.empty()) return {};
  const SerialIndex index{serials};
  PairCounter counter;
  for (const SerialPair& pair : pairs) {
    const auto a = index.find(pair.first);
    const auto b = index.find(pair.second);
    if (a && b) counter.count(*a, *b);
  }
  std::vector<CountedPair>& counted = counter.pairs();
  std::sort(counted.begin(), counted.end(),
            [](const CountedPair& x, const CountedPair& y) { return std::pair(x.a, x.b) < std::pair(y.a, y.b); });
  return to_bonds(counted);
}

std::expected<std::vector<Bond>, Error> file_bonds(std::span<const SerialPair> pairs,
                                                   std::span<const std::uint32_t> serials) {
  const SerialIndex index{serials};
  PairCounter counter;
  for (const SerialPair& pair : pairs) {
    const auto a = index.find(pair.first);
    if (!a) return std::unexpected(Error{Error::InvalidConnection{pair.first}});
    const auto b = index.find(pair.second);
    if (!b) return std::unexpected(Error{Error::InvalidConnection{pair.second}});
    counter.count(*a, *b);
  }
  return to_bonds(counter.pairs());
}

}  // namespace redivi::pdb::detail
