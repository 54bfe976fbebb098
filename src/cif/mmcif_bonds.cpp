// The bonds of one mmCIF model: "_struct_conn" partners, then "_chem_comp_bond" rows of each residue.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cif/mmcif_records.hpp"

namespace redivi::mmcif::detail {
namespace {

constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();

// A name, a chain and a number, as positions among the atom-site texts: an atom site as "_struct_conn"
// names its partners, or a component instance (residue name, author chain and number) whose atoms
// "_chem_comp_bond" joins.
struct Label {
  TextId name;
  TextId chain;
  std::int32_t number;
  bool operator==(const Label&) const = default;
};

struct LabelHash {
  std::size_t operator()(const Label& label) const noexcept {
    const std::uint64_t hash = (std::uint64_t{label.name} << 32 | label.chain) * 0x9e3779b97f4a7c15u;
    return static_cast<std::size_t>((hash ^ static_cast<std::uint32_t>(label.number)) * 0xff51afd7ed558ccdu);
  }
};

// A flag per site text, all clear at first; SiteTexts::absent is never set.
class TextFlags {
 public:
  void set(TextId id) {
    if (id == SiteTexts::absent) return;
    if (id >= flags_.size()) flags_.resize(id + 1, false);
    flags_[id] = true;
  }
  bool operator[](TextId id) const { return id < flags_.size() && flags_[id]; }

 private:
  std::vector<bool> flags_;
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

// A connection partner; a text that no site has makes a label that no record carries.
Label partner(const SiteTexts& texts, std::string_view atom_id, std::string_view asym_id, std::int32_t seq_id) {
  return {texts.find(atom_id), texts.find(asym_id), seq_id};
}

// Each connection partner is the first record, skipped ones included, with its atom name, chain and number;
// a partner that is missing or was skipped gives no bond.
void add_connection_bonds(const BondSources& sources, std::vector<BondSetting>& settings) {
  if (sources.connections.empty()) return;
  std::vector<std::pair<Label, Label>> partners;
  std::unordered_map<Label, std::uint32_t, LabelHash> first_record;
  TextFlags partner_names;  // most sites carry no partner's name, and skip the index
  for (const Connection& c : sources.connections) {
    partners.emplace_back(partner(sources.texts, c.ptnr1_label_atom_id, c.ptnr1_label_asym_id, c.ptnr1_label_seq_id),
                          partner(sources.texts, c.ptnr2_label_atom_id, c.ptnr2_label_asym_id, c.ptnr2_label_seq_id));
    for (const Label& label : {partners.back().first, partners.back().second}) {
      first_record.try_emplace(label, none);
      partner_names.set(label.name);
    }
  }
  for (std::size_t r = 0; r < sources.atom_records.size(); ++r) {
    const AtomRecord& record = sources.atom_records[r];
    if (!partner_names[record.label_atom_id]) continue;
    const auto found = first_record.find({record.label_atom_id, record.label_asym_id, record.label_seq_id});
    if (found != first_record.end() && found->second == none) found->second = static_cast<std::uint32_t>(r);
  }
  const auto atom_of = [&](const Label& label) {
    const std::uint32_t record = first_record.at(label);
    return record == none ? none : sources.record_atoms[record];
  };
  for (const auto& [first_partner, second_partner] : partners) {
    const std::uint32_t first = atom_of(first_partner);
    const std::uint32_t second = atom_of(second_partner);
    if (first != none && second != none) settings.push_back(setting(first, second, BondOrder::Single));
  }
}

BondOrder order_of(std::string_view value_order) {
  if (value_order == "DOUB") return BondOrder::Double;
  if (value_order == "TRIP") return BondOrder::Triple;
  if (value_order == "QUAD") return BondOrder::Quadruple;
  return BondOrder::Single;  // SING, and every code without an order of its own
}

// The atoms of each component instance in record order, the instances in order of first appearance:
// atoms of instance g are atoms[starts[g]] up to atoms[starts[g + 1]].
struct Groups {
  std::vector<TextId> comp_ids;
  std::vector<std::uint32_t> starts;
  std::vector<std::uint32_t> atoms;
  std::vector<TextId> atom_names;  // the atom name of each atom, gathered while its record is at hand
};

Label instance_of(const AtomRecord& record) { return {record.label_comp_id, record.auth_asym_id, record.auth_seq_id}; }

// Atoms of one instance mostly follow each other, so the index is consulted once per run of atoms.
Groups component_groups(const BondSources& sources) {
  const std::size_t atom_count = sources.atom_sites.size();
  std::unordered_map<Label, std::uint32_t, LabelHash> index;
  std::vector<std::uint32_t> group_of(atom_count);
  Groups groups;
  groups.atom_names.resize(atom_count);
  for (std::size_t atom = 0; atom < atom_count; ++atom) {
    const AtomRecord& record = sources.atom_records[sources.atom_sites[atom]];
    groups.atom_names[atom] = record.label_atom_id;
    const Label key = instance_of(record);
    if (atom == 0 || key != instance_of(sources.atom_records[sources.atom_sites[atom - 1]])) {
      const auto [found, added] = index.try_emplace(key, static_cast<std::uint32_t>(groups.comp_ids.size()));
      if (added) groups.comp_ids.push_back(key.name);
      group_of[atom] = found->second;
    } else {
      group_of[atom] = group_of[atom - 1];
    }
  }
  groups.starts.assign(groups.comp_ids.size() + 1, 0);
  for (const std::uint32_t group : group_of) ++groups.starts[group + 1];
  for (std::size_t g = 1; g < groups.starts.size(); ++g) groups.starts[g] += groups.starts[g - 1];
  std::vector<std::uint32_t> next(groups.starts.begin(), groups.starts.end() - 1);
  groups.atoms.resize(atom_count);
  for (std::size_t atom = 0; atom < atom_count; ++atom) {
    groups.atoms[next[group_of[atom]]++] = static_cast<std::uint32_t>(atom);
  }
  return groups;
}

// A component bond with its atom names as positions among the atom-site texts.
struct NamedBond {
  TextId atom_1;
  TextId atom_2;
  BondOrder order;
};

// The bonds of each residue name, resolved once for all its instances.
class ComponentBonds {
 public:
  explicit ComponentBonds(const BondSources& sources) : sources_{sources} {}

  const std::vector<NamedBond>& of(TextId comp_id) {
    const auto [found, added] = resolved_.try_emplace(comp_id);
    if (!added) return found->second;
    const auto bonds = sources_.comp_bonds.find(sources_.texts[comp_id]);
    if (bonds == sources_.comp_bonds.end()) return found->second;
    for (const CompBond& bond : bonds->second) {
      found->second.push_back(
          {sources_.texts.find(bond.atom_id_1), sources_.texts.find(bond.atom_id_2), order_of(bond.value_order)});
    }
    return found->second;
  }

 private:
  const BondSources& sources_;
  std::unordered_map<TextId, std::vector<NamedBond>> resolved_;
};

// The first atom of an instance that carries each atom name, set for one instance at a time.
class FirstNamed {
 public:
  void enter(std::span<const TextId> atom_names, std::span<const std::uint32_t> atoms) {
    for (auto atom = atoms.rbegin(); atom != atoms.rend(); ++atom) {
      const TextId name = atom_names[*atom];
      if (name >= first_.size()) first_.resize(name + 1, none);
      first_[name] = *atom;
    }
  }
  void clear(std::span<const TextId> atom_names, std::span<const std::uint32_t> atoms) {
    for (const std::uint32_t atom : atoms) first_[atom_names[atom]] = none;
  }
  std::uint32_t operator[](TextId name) const { return name < first_.size() ? first_[name] : none; }

 private:
  std::vector<std::uint32_t> first_;
};

// Each component bond joins the first atoms of the instance that carry its two atom names.
void add_group_bonds(std::span<const TextId> atom_names, std::span<const std::uint32_t> atoms,
                     const std::vector<NamedBond>& bonds, FirstNamed& first_named, std::vector<BondSetting>& settings) {
  first_named.enter(atom_names, atoms);
  for (const NamedBond& bond : bonds) {
    const std::uint32_t first = first_named[bond.atom_1];
    const std::uint32_t second = first_named[bond.atom_2];
    if (first != none && second != none) settings.push_back(setting(first, second, bond.order));
  }
  first_named.clear(atom_names, atoms);
}

void add_component_bonds(const BondSources& sources, std::vector<BondSetting>& settings) {
  if (sources.comp_bonds.empty()) return;
  const Groups groups = component_groups(sources);
  const std::span<const std::uint32_t> atoms(groups.atoms);
  ComponentBonds component_bonds{sources};
  FirstNamed first_named;
  for (std::size_t g = 0; g < groups.comp_ids.size(); ++g) {
    const std::vector<NamedBond>& bonds = component_bonds.of(groups.comp_ids[g]);
    if (!bonds.empty()) {
      add_group_bonds(groups.atom_names, atoms.subspan(groups.starts[g], groups.starts[g + 1] - groups.starts[g]),
                      bonds, first_named, settings);
    }
  }
}

// Puts settings in order of their pair, keeping the settings of one pair in the order they were made.
// An atom has a few bonds, sorted by insertion; a long list by merging.
void sort_by_pair(std::span<BondSetting> settings) {
  const auto by_pair = [](const BondSetting& a, const BondSetting& b) { return a.pair < b.pair; };
  if (settings.size() > 16) {
    std::stable_sort(settings.begin(), settings.end(), by_pair);
    return;
  }
  for (std::size_t i = 1; i < settings.size(); ++i) {
    for (std::size_t j = i; j > 0 && by_pair(settings[j], settings[j - 1]); --j) {
      std::swap(settings[j - 1], settings[j]);
    }
  }
}

// The settings in order of their pair, bucketed by the lower atom first.
std::vector<BondSetting> sorted_by_pair(const std::vector<BondSetting>& settings, std::size_t atom_count) {
  std::vector<std::uint32_t> starts(atom_count + 1, 0);
  for (const BondSetting& s : settings) ++starts[(s.pair >> 32) + 1];
  for (std::size_t a = 1; a < starts.size(); ++a) starts[a] += starts[a - 1];
  std::vector<BondSetting> sorted(settings.size());
  std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
  for (const BondSetting& s : settings) sorted[next[s.pair >> 32]++] = s;
  for (std::size_t a = 0; a < atom_count; ++a) {
    sort_by_pair(std::span(sorted).subspan(starts[a], starts[a + 1] - starts[a]));
  }
  return sorted;
}

}  // namespace

std::vector<Bond> collect_bonds(const BondSources& sources) {
  std::vector<BondSetting> settings;
  add_connection_bonds(sources, settings);
  add_component_bonds(sources, settings);
  settings = sorted_by_pair(settings, sources.atom_sites.size());
  std::vector<Bond> bonds;
  for (std::size_t i = 0; i < settings.size(); ++i) {
    if (i + 1 < settings.size() && settings[i + 1].pair == settings[i].pair) continue;  // the last setting wins
    bonds.push_back(
        {static_cast<AtomRef>(settings[i].pair >> 32), static_cast<AtomRef>(settings[i].pair), settings[i].order});
  }
  return bonds;
}

}  // namespace redivi::mmcif::detail
