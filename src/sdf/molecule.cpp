// SDF molecules to structures: one residue "LIG" in one chain, with the tethered atoms and SMILES beside it.
#include <algorithm>
#include <numeric>
#include <span>

#include "redivi/convert/sdf.hpp"
#include "sdf/entries.hpp"
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

}  // namespace

bool detail::Extras::take(std::string_view key, std::string& value) {
  if (!tethered_ && key == "TETHERED ATOMS") {
    tethered_ = std::move(value);
    return true;
  }
  if (!smiles_ && key.find("SMILES") != std::string_view::npos) {
    smiles_ = std::move(value);
    return true;
  }
  return false;
}

std::expected<std::optional<DataBlocks>, ConversionError> detail::Extras::finish(std::vector<DataItem> kept) && {
  DataBlocks extras;
  if (tethered_) {
    auto constraints = parse_tethered_atoms(*tethered_);
    if (!constraints) return std::unexpected(ConversionError{ConversionError::ConstraintsError{}});
    extras.constraints = std::move(*constraints);
  }
  // A SMILES item alone gives no extras.
  if (kept.empty() && extras.constraints.tethered_atoms.empty()) return std::nullopt;
  extras.data_items = std::move(kept);
  extras.smiles = std::move(smiles_);
  return extras;
}

std::expected<void, ConversionError> detail::build_structure(Molecule& molecule, TRC& trc) {
  if (const auto added = add_atoms_and_bonds(molecule, trc.topology); !added) return std::unexpected(added.error());
  add_single_residue(molecule.atoms.size(), std::move(molecule.name), trc.residues);
  trc.chains.chains.push_back(Chain{0});
  if (const auto checked = trc.check(); !checked) {
    return std::unexpected(ConversionError{ConversionError::InvalidTRC{checked.error()}});
  }
  return {};
}

std::expected<std::pair<TRC, std::optional<DataBlocks>>, ConversionError> Molecule::try_into() && {
  TRC trc;
  if (const auto built = detail::build_structure(*this, trc); !built) return std::unexpected(built.error());
  detail::Extras taken;
  // Applied once to each item, in order.
  std::erase_if(data_items, [&taken](DataItem& item) { return taken.take(item.first, item.second); });
  auto extras = std::move(taken).finish(std::move(data_items));
  if (!extras) return std::unexpected(extras.error());
  return std::pair{std::move(trc), std::move(*extras)};
}

namespace {

using Structures = std::pair<std::vector<TRC>, std::vector<std::optional<DataBlocks>>>;

// A parse failure in the text, a part of contents, with its line number counted from the start of contents.
ConversionError parse_error_in(std::string_view contents, std::string_view text, SDFParseError error) {
  const auto offset = static_cast<std::size_t>(text.data() - contents.data());
  error.line_number = detail::line_number_at(contents, offset) + error.line_number - 1;
  return ConversionError{ConversionError::ParseError{error}};
}

std::expected<void, ConversionError> read_items(std::string_view contents, std::string_view text,
                                                detail::ItemSink& items) {
  const auto read = detail::read_data_items(text, items);
  if (!read) return std::unexpected(parse_error_in(contents, text, read.error()));
  return {};
}

// Items read only for their faults.
class DroppedItems final : public detail::ItemSink {
 public:
  void reserve(std::size_t) override {}
  void add(std::string_view, std::string) override {}
};

// Items sorted as they come into the extras and the items kept beside them: only kept items get their
// key copied.
class ExtrasItems final : public detail::ItemSink {
 public:
  void reserve(std::size_t items) override { kept_.reserve(items); }
  void add(std::string_view key, std::string value) override {
    if (!taken_.take(key, value)) kept_.emplace_back(std::string(key), std::move(value));
  }
  std::expected<std::optional<DataBlocks>, ConversionError> finish() && {
    return std::move(taken_).finish(std::move(kept_));
  }

 private:
  detail::Extras taken_;
  std::vector<DataItem> kept_;
};

// The data items of an entry are read long after its structure, when their text has left the cache, and
// in jumps the processor does not foresee. The start of the items a few entries ahead is fetched early:
// 4 to 8% faster on 100,000 small molecules.
constexpr std::size_t items_ahead = 8;

void prefetch_start(std::string_view text) {
  const std::size_t end = std::min<std::size_t>(text.size(), 512);
  for (std::size_t at = 0; at < end; at += 64) __builtin_prefetch(text.data() + at);
}

// The failure of an entry whose structure does not read. The data items of the entries before it are not
// read yet, and a failure among them comes first in the file.
ConversionError structure_failure(std::string_view contents, std::span<const std::string_view> items_before,
                                  std::string_view entry, const SDFParseError& error) {
  DroppedItems items;
  for (const std::string_view text : items_before) {
    if (const auto read = read_items(contents, text, items); !read) return read.error();
  }
  return parse_error_in(contents, entry, error);
}

// The first conversion failure, if any, and the number of entries before it.
struct Conversion {
  std::optional<ConversionError> error;
  std::size_t converted = 0;

  void fail(ConversionError failure, std::size_t entry) {
    error = std::move(failure);
    converted = entry;
  }
};

// Reads the structure of every entry and builds those before the first conversion failure. Each entry's
// text is replaced by the text of its data items.
std::expected<void, ConversionError> read_structures(std::string_view contents, std::vector<std::string_view>& texts,
                                                     std::vector<TRC>& trcs, Conversion& conversion) {
  Molecule molecule;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const auto items = detail::read_structure(texts[i], molecule);
    if (!items) {
      return std::unexpected(structure_failure(contents, std::span(texts).first(i), texts[i], items.error()));
    }
    texts[i] = *items;
    if (conversion.error) continue;
    // A structure left half built by a failure is dropped with the whole result.
    const auto built = detail::build_structure(molecule, trcs.emplace_back());
    if (!built) conversion.fail(built.error(), i);
  }
  return {};
}

// Reads the data items of every entry and builds the extras of those before the first conversion failure.
std::expected<void, ConversionError> read_extras(std::string_view contents, std::span<const std::string_view> texts,
                                                 std::vector<std::optional<DataBlocks>>& extras,
                                                 Conversion& conversion) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i + items_ahead < texts.size()) prefetch_start(texts[i + items_ahead]);
    if (i >= conversion.converted) {
      DroppedItems items;
      if (const auto read = read_items(contents, texts[i], items); !read) return read;
      continue;
    }
    ExtrasItems items;
    if (const auto read = read_items(contents, texts[i], items); !read) return read;
    auto built = std::move(items).finish();
    if (!built) {
      conversion.fail(built.error(), i);
      continue;
    }
    extras.push_back(std::move(*built));
  }
  return {};
}

}  // namespace

// Every structure is built before the first extras, so that the lists of the structures lie together and
// those of the extras together: reading again after freeing a result runs 20% faster on 100,000 small
// molecules than with each molecule's extras beside its structure, as the allocator merges the freed
// blocks in long runs. A parse failure anywhere wins over a conversion failure, and of two failures the
// one in the earlier entry wins.
std::expected<Structures, ConversionError> from_sdf(std::string_view contents) {
  auto entries = detail::entry_texts(contents);
  if (!entries) return std::unexpected(ConversionError{ConversionError::ParseError{entries.error()}});
  if (entries->empty()) {
    return std::unexpected(ConversionError{
        ConversionError::ParseError{SDFParseError{0, {SDFParseState::Done{}}, SDFParseErrorType::NoResults}}});
  }
  Structures result;
  result.first.reserve(entries->size());
  result.second.reserve(entries->size());
  Conversion conversion{std::nullopt, entries->size()};
  auto read = read_structures(contents, *entries, result.first, conversion);
  if (read) read = read_extras(contents, *entries, result.second, conversion);
  if (!read) return std::unexpected(read.error());
  if (conversion.error) return std::unexpected(*conversion.error);
  return result;
}

}  // namespace redivi::sdf
