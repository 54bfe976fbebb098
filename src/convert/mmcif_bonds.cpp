// The bonds of one mmCIF model: "_struct_conn" partners, then "_chem_comp_bond" rows of each residue.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <tuple>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "convert/mmcif_records.hpp"

namespace redivi::mmcif {
namespace {

constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();

// An atom site as "_struct_conn" names its partners.
struct AtomLabel {
  std::string_view atom_id;
  std::string_view asym_id;
  std::int32_t seq_id;
  bool operator==(const AtomLabel&) const = default;
};

struct AtomLabelHash {
  std::size_t operator()(const AtomLabel& label) const noexcept {
    std::size_t hash = std::hash<std::string_view>{}(label.atom_id);
    hash = hash * 31 + std::hash<std::string_view>{}(label.asym_id);
    return hash * 31 + std::hash<std::int32_t>{}(label.seq_id);
  }
};

// One setting of the bond table; a later setting of the same pair replaces an earlier one.
struct BondSetting {
  std::uint64_t pair;  // lower atom in the high half
  BondOrder order;
};

BondSetting setting(std::uint32_t a, std::uint32_t b, BondOrder order) {
  const auto [lower, higher] = std::minmax(a, b);
  return {(std::uint64_t{lower} << 32) | higher, order};
}

// Each connection partner is the first record, skipped ones included, with its atom name, chain and number;
// a partner that is missing or was skipped gives no bond.
void add_connection_bonds(const BondSources& sources, std::vector<BondSetting>& settings) {
  if (sources.connections.empty()) return;
  std::unordered_map<AtomLabel, std::uint32_t, AtomLabelHash> first_record;
  for (const Connection& c : sources.connections) {
    first_record.try_emplace({c.ptnr1_label_atom_id, c.ptnr1_label_asym_id, c.ptnr1_label_seq_id}, none);
    first_record.try_emplace({c.ptnr2_label_atom_id, c.ptnr2_label_asym_id, c.ptnr2_label_seq_id}, none);
  }
  for (std::size_t r = 0; r < sources.atom_records.size(); ++r) {
    const AtomRecord& record = sources.atom_records[r];
    const auto found = first_record.find({record.label_atom_id, record.label_asym_id, record.label_seq_id});
    if (found != first_record.end() && found->second == none) found->second = static_cast<std::uint32_t>(r);
  }
  const auto atom_of = [&](const AtomLabel& label) {
    const std::uint32_t record = first_record.at(label);
    return record == none ? none : sources.record_atoms[record];
  };
  for (const Connection& c : sources.connections) {
    const std::uint32_t first = atom_of({c.ptnr1_label_atom_id, c.ptnr1_label_asym_id, c.ptnr1_label_seq_id});
    const std::uint32_t second = atom_of({c.ptnr2_label_atom_id, c.ptnr2_label_asym_id, c.ptnr2_label_seq_id});
    if (first != none && second != none) settings.push_back(setting(first, second, BondOrder::Single));
  }
}

BondOrder order_of(std::string_view value_order) {
  if (value_order == "DOUB") return BondOrder::Double;
  if (value_order == "TRIP") return BondOrder::Triple;
  if (value_order == "QUAD") return BondOrder::Quadruple;
  return BondOrder::Single;  // SING, and every code without an order of its own
}

// The atoms of one component instance: one name, chain and number, in record order.
struct Group {
  std::string_view comp_id;
  std::string_view asym_id;
  std::int32_t seq_id;
  std::vector<std::uint32_t> atoms;

  auto key() const { return std::tie(comp_id, asym_id, seq_id); }
};

// Atoms of one group mostly follow each other: runs are found in order, then runs of one key joined.
std::vector<Group> component_groups(const BondSources& sources) {
  std::vector<Group> groups;
  for (std::size_t atom = 0; atom < sources.atom_sites.size(); ++atom) {
    const AtomRecord& record = sources.atom_records[sources.atom_sites[atom]];
    if (groups.empty() || groups.back().key() != std::tie(record.label_comp_id, record.auth_asym_id,
                                                           record.auth_seq_id)) {
      groups.push_back({record.label_comp_id, record.auth_asym_id, record.auth_seq_id, {}});
    }
    groups.back().atoms.push_back(static_cast<std::uint32_t>(atom));
  }
  std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) { return a.key() < b.key(); });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (kept > 0 && groups[kept - 1].key() == groups[i].key()) {
      groups[kept - 1].atoms.insert(groups[kept - 1].atoms.end(), groups[i].atoms.begin(), groups[i].atoms.end());
    } else if (kept++ != i) {
      groups[kept - 1] = std::move(groups[i]);
    }
  }
  groups.resize(kept);
  return groups;
}

// Each component bond joins the first atoms of the group that carry its two atom names.
void add_group_bonds(const BondSources& sources, const Group& group, const std::vector<CompBond>& bonds,
                     std::vector<BondSetting>& settings) {
  std::vector<std::pair<std::string_view, std::uint32_t>> by_name;
  by_name.reserve(group.atoms.size());
  for (const std::uint32_t atom : group.atoms) {
    by_name.emplace_back(sources.atom_records[sources.atom_sites[atom]].label_atom_id, atom);
  }
  std::stable_sort(by_name.begin(), by_name.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  const auto first_named = [&by_name](std::string_view name) {
    const auto found = std::lower_bound(by_name.begin(), by_name.end(), name,
                                        [](const auto& entry, std::string_view n) { return entry.first < n; });
    return found != by_name.end() && found->first == name ? found->second : none;
  };
  for (const CompBond& bond : bonds) {
    const std::uint32_t first = first_named(bond.atom_id_1);
    const std::uint32_t second = first_named(bond.atom_id_2);
    if (first != none && second != none) settings.push_back(setting(first, second, order_of(bond.value_order)));
  }
}

void add_component_bonds(const BondSources& sources, std::vector<BondSetting>& settings) {
  if (sources.comp_bonds.empty()) return;
  for (const Group& group : component_groups(sources)) {
    const auto found = sources.comp_bonds.find(group.comp_id);
    if (found != sources.comp_bonds.end()) add_group_bonds(sources, group, found->second, settings);
  }
}

}  // namespace

std::vector<Bond> collect_bonds(const BondSources& sources) {
  std::vector<BondSetting> settings;
  add_connection_bonds(sources, settings);
  add_component_bonds(sources, settings);
  std::stable_sort(settings.begin(), settings.end(),
                   [](const BondSetting& a, const BondSetting& b) { return a.pair < b.pair; });
  std::vector<Bond> bonds;
  for (std::size_t i = 0; i < settings.size(); ++i) {
    if (i + 1 < settings.size() && settings[i + 1].pair == settings[i].pair) continue;  // the last setting wins
    bonds.push_back({static_cast<AtomRef>(settings[i].pair >> 32), static_cast<AtomRef>(settings[i].pair), settings[i].order});
  }
  return bonds;
}

}  // namespace redivi::mmcif
