// SDF molecules to structures: one residue "LIG" in one chain, with the tethered atoms and SMILES beside it.
#include <algorithm>
#include <numeric>

#include "redivi/convert/sdf.hpp"
#include "sdf/entry_reader.hpp"
#include "sdf/molecule.hpp"
#include "text/text.hpp"

namespace redivi::sdf {
namespace {

std::optional<BondOrder> bond_order_of_code(std::uint32_t code) {
  switch (code) {
    case 1: return BondOrder::Single;
    case 2: return BondOrder::Double;
    case 3: return BondOrder::Triple;
    case 4: return BondOrder::Ring;
    default: return std::nullopt;
  }
}

std::optional<Stereochemistry> stereochemistry_of_code(std::uint32_t code) {
  switch (code) {
    case 0: return Stereochemistry::NONE;
    case 1: return Stereochemistry::Up;
    case 3: return Stereochemistry::CisOrTrans;
    case 4: return Stereochemistry::Either;
    case 6: return Stereochemistry::Down;
    default: return std::nullopt;
  }
}

// Atoms 0 to count - 1, in order.
std::vector<AtomRef> all_atoms(std::size_t count) {
  std::vector<AtomRef> atoms(count);
  std::iota(atoms.begin(), atoms.end(), AtomRef{0});
  return atoms;
}

void add_single_residue(std::size_t atom_count, std::string name, Residues& residues) {
  residues.residues.push_back(all_atoms(atom_count));
  residues.seqs.emplace_back("LIG");
  residues.seq_ns.push_back(0);
  residues.insertion_codes.emplace_back();
  residues.labeled = std::vector<ResidueRef>{0};
  // Built in place: a braced list would copy the name and its list.
  residues.labels.emplace(1).front().push_back(std::move(name));
}

// Every bond order is mapped before any stereo code, so a bad order is the error reported first.
std::expected<void, ConversionError> add_bonds(const std::vector<BondRecord>& records, Topology& topology) {
  std::vector<Bond> bonds;
  bonds.reserve(records.size());
  for (const BondRecord& record : records) {
    const auto order = bond_order_of_code(record.bond_type);
    if (!order) return std::unexpected(ConversionError{ConversionError::UnexpectedBondOrder{record.bond_type}});
    bonds.push_back(Bond{static_cast<AtomRef>(record.first), static_cast<AtomRef>(record.second), *order});
  }
  std::vector<Stereochemistry> stereo;
  stereo.reserve(records.size());
  for (const BondRecord& record : records) {
    const auto value = stereochemistry_of_code(record.stereo);
    if (!value) return std::unexpected(ConversionError{ConversionError::UnexpectedStereochemistry{record.stereo}});
    stereo.push_back(*value);
  }
  topology.connectivity = std::move(bonds);
  topology.stereochemistry = std::move(stereo);
  return {};
}

std::expected<void, ConversionError> add_atoms_and_bonds(const Molecule& molecule, Topology& topology) {
  const std::size_t n = molecule.atoms.size();
  topology.symbols.reserve(n);
  topology.geometry.reserve(3 * n);
  std::vector<std::int32_t> charges;
  charges.reserve(n);
  for (const AtomRecord& atom : molecule.atoms) {
    topology.symbols.push_back(atom.element);
    topology.geometry.push_back(static_cast<float>(atom.x));
    topology.geometry.push_back(static_cast<float>(atom.y));
    topology.geometry.push_back(static_cast<float>(atom.z));
    charges.push_back(atom.formal_charge);
  }
  if (const auto bonds = add_bonds(molecule.bonds, topology); !bonds) return std::unexpected(bonds.error());
  const std::int32_t total = std::accumulate(charges.begin(), charges.end(), std::int32_t{0});
  topology.formal_charges = std::move(charges);
  topology.fragments.emplace().push_back(all_atoms(n));
  topology.fragment_formal_charges = std::vector<std::int32_t>{total};
  return {};
}

// Calls visit on each piece of text between separators, stopping when it returns false.
template <class Visit>
bool for_each_piece(std::string_view text, char separator, Visit visit) {
  while (true) {
    const std::size_t end = std::min(text.find(separator), text.size());
    if (!visit(text.substr(0, end))) return false;
    if (end == text.size()) return true;
    text.remove_prefix(end + 1);
  }
}

// Each line of the value is one group of comma-separated atom numbers, taken untrimmed.
std::optional<Constraints> parse_tethered_atoms(std::string_view value) {
  Constraints constraints;
  const bool read = for_each_piece(value, '\n', [&constraints](std::string_view line) {
    std::vector<std::uint32_t>& group = constraints.tethered_atoms.emplace_back();
    return for_each_piece(line, ',', [&group](std::string_view piece) {
      std::uint32_t atom = 0;
      if (!text::parse_number(piece, atom)) return false;
      group.push_back(atom);
      return true;
    });
  });
  if (!read) return std::nullopt;
  return constraints;
}

// Takes out the first item whose key satisfies the predicate.
template <class Predicate>
std::optional<std::string> take_item(std::vector<DataItem>& items, Predicate matches) {
  const auto found = std::find_if(items.begin(), items.end(), [&](const DataItem& item) { return matches(item.first); });
  if (found == items.end()) return std::nullopt;
  std::string value = std::move(found->second);
  items.erase(found);
  return value;
}

std::expected<std::optional<DataBlocks>, ConversionError> extras_of(std::vector<DataItem> items) {
  DataBlocks extras;
  const auto tethered = take_item(items, [](std::string_view key) { return key == "TETHERED ATOMS"; });
  if (tethered) {
    auto constraints = parse_tethered_atoms(*tethered);
    if (!constraints) return std::unexpected(ConversionError{ConversionError::ConstraintsError{}});
    extras.constraints = std::move(*constraints);
  }
  extras.smiles = take_item(items, [](std::string_view key) { return key.find("SMILES") != std::string_view::npos; });
  // A SMILES item alone gives no extras.
  if (items.empty() && extras.constraints.tethered_atoms.empty()) return std::nullopt;
  extras.data_items = std::move(items);
  return extras;
}

}  // namespace

std::expected<std::optional<DataBlocks>, ConversionError> detail::convert(Molecule& molecule, TRC& trc) {
  if (const auto added = add_atoms_and_bonds(molecule, trc.topology); !added) return std::unexpected(added.error());
  add_single_residue(molecule.atoms.size(), std::move(molecule.name), trc.residues);
  trc.chains.chains.push_back(Chain{0});
  if (const auto checked = trc.check(); !checked) {
    return std::unexpected(ConversionError{ConversionError::InvalidTRC{checked.error()}});
  }
  return extras_of(std::move(molecule.data_items));
}

std::expected<std::pair<TRC, std::optional<DataBlocks>>, ConversionError> Molecule::try_into() && {
  TRC trc;
  auto extras = detail::convert(*this, trc);
  if (!extras) return std::unexpected(extras.error());
  return std::pair{std::move(trc), std::move(*extras)};
}

// Entries are converted as they are read, but a parse failure anywhere wins over a conversion failure.
std::expected<std::pair<std::vector<TRC>, std::vector<std::optional<DataBlocks>>>, ConversionError> from_sdf(
    std::string_view contents) {
  const auto entries = detail::entry_texts(contents);
  if (!entries) return std::unexpected(ConversionError{ConversionError::ParseError{entries.error()}});
  if (entries->empty()) {
    return std::unexpected(ConversionError{ConversionError::ParseError{
        SDFParseError{0, {SDFParseState::Done{}}, SDFParseErrorType::NoResults}}});
  }
  std::pair<std::vector<TRC>, std::vector<std::optional<DataBlocks>>> result;
  result.first.reserve(entries->size());
  result.second.reserve(entries->size());
  std::optional<ConversionError> conversion_error;
  Molecule molecule;
  for (const std::string_view entry : *entries) {
    if (const auto read = detail::read_entry(entry, molecule); !read) {
      SDFParseError error = read.error();
      const auto offset = static_cast<std::size_t>(entry.data() - contents.data());
      error.line_number = detail::line_number_at(contents, offset) + error.line_number - 1;
      return std::unexpected(ConversionError{ConversionError::ParseError{error}});
    }
    if (conversion_error) continue;
    // A structure left half built by a failure is dropped with the whole result.
    auto extras = detail::convert(molecule, result.first.emplace_back());
    if (!extras) {
      conversion_error = extras.error();
      continue;
    }
    result.second.push_back(std::move(*extras));
  }
  if (conversion_error) return std::unexpected(*conversion_error);
  return result;
}

}  // namespace redivi::sdf
