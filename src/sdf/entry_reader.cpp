// SDF entries to molecules: the line-driven reader of one entry, its structure and its data items.
#include <algorithm>

#include "redivi/convert/sdf.hpp"
#include "sdf/entry_reader.hpp"
#include "sdf/fields.hpp"
#include "text/text.hpp"

namespace redivi::sdf {
namespace {

using Type = SDFParseErrorType;
using detail::field;
using detail::number;

// Every atom line holds at least 39 bytes and its line feed; every bond line at least 12 and its line feed.
constexpr std::size_t min_atom_line = 40;
constexpr std::size_t min_bond_line = 13;

// The atom block's charge codes: 1 to 3 are +3 to +1, 5 to 7 are -1 to -3; 4 (a doublet radical) is refused.
std::expected<std::int32_t, Type> charge_of_code(std::int32_t code) {
  if (code == 0) return 0;
  if (code < 1 || code > 7 || code == 4) return std::unexpected(Type::ParseCharge);
  return 4 - code;
}

// The lines that begin with ">": at least as many as the data items in the text.
std::size_t item_headers(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find('>'); at != std::string_view::npos; at = text.find('>', at + 1)) {
    if (at == 0 || text[at - 1] == '\n') ++count;
  }
  return count;
}

// The lines of one text with their 1-based numbers. Every line asked for is counted, also the one that is
// missing at the end.
class NumberedLines {
 public:
  explicit NumberedLines(std::string_view text) : lines_{text} {}

  bool next(std::string_view& line) {
    ++number_;
    return lines_.next(line);
  }

  std::uint64_t number() const { return number_; }
  std::string_view rest() const { return lines_.rest(); }

 private:
  text::Lines lines_;
  std::uint64_t number_ = 0;
};

// Runs the reader's state machine over the lines of one entry up to its data items.
class StructureReader {
 public:
  // Clears the molecule, keeping the memory of its lists.
  StructureReader(std::string_view entry, Molecule& molecule) : lines_{entry}, molecule_{molecule} {
    molecule.name.clear();
    molecule.atoms.clear();
    molecule.bonds.clear();
    molecule.data_items.clear();
  }

  // True when the block ended with "M  END": data items may follow.
  std::expected<bool, SDFParseError> read() {
    std::string_view line;
    while (stage_ != Stage::DataItems && lines_.next(line)) {
      if (stage_ != Stage::HeaderBlock && text::is_blank(line)) continue;
      const auto read = read_line(line);
      if (!read) return std::unexpected(SDFParseError{lines_.number(), state(), read.error()});
    }
    return stage_ == Stage::DataItems;
  }

  // The lines not read yet, with the count of those read.
  const NumberedLines& lines() const { return lines_; }

 private:
  enum class Stage { HeaderBlock, CountsLine, AtomBlock, BondBlock, PropertiesBlock, DataItems };
  using Step = std::expected<void, Type>;

  SDFParseState state() const {
    switch (stage_) {
      case Stage::HeaderBlock: return {SDFParseState::HeaderBlock{}};
      case Stage::CountsLine: return {SDFParseState::CountsLine{}};
      case Stage::AtomBlock: return {SDFParseState::AtomBlock{counts_}};
      case Stage::BondBlock: return {SDFParseState::BondBlock{counts_}};
      case Stage::PropertiesBlock: return {SDFParseState::PropertiesBlock{}};
      case Stage::DataItems: return {SDFParseState::DataItems{}};
    }
    return {SDFParseState::Done{}};
  }

  Step read_line(std::string_view line) {
    switch (stage_) {
      case Stage::HeaderBlock: return read_header(line);
      case Stage::CountsLine: return read_counts(line);
      case Stage::AtomBlock: return read_atom(line);
      case Stage::BondBlock: return read_bond(line);
      case Stage::PropertiesBlock: return read_property(line);
      case Stage::DataItems: return {};
    }
    return {};
  }

  // The name line, then two lines (program and comment) that are not looked at.
  Step read_header(std::string_view line) {
    // Built at its size: assigned to the emptied name, a long one would take twice the short-string room.
    molecule_.name = std::string(line);
    std::string_view skipped;
    if (!lines_.next(skipped) || !lines_.next(skipped)) return std::unexpected(Type::HeaderLine);
    stage_ = Stage::CountsLine;
    return {};
  }

  // Number of atoms in bytes [0, 3), of bonds in [3, 6); the rest of the line is not read.
  Step read_counts(std::string_view line) {
    if (line.find("V3000") != std::string_view::npos) return std::unexpected(Type::UnsupportedFormat);
    const auto num_atoms = number<std::uint64_t>(line, 0, 3, Type::ParseNumAtoms);
    if (!num_atoms) return std::unexpected(num_atoms.error());
    const auto num_bonds = number<std::uint64_t>(line, 3, 6, Type::ParseNumBonds);
    if (!num_bonds) return std::unexpected(num_bonds.error());
    counts_ = Counts{*num_atoms, *num_bonds};
    // The counts may promise more than the entry holds: reserve no more than its remaining text can.
    const std::uint64_t rest = lines_.rest().size();
    molecule_.atoms.reserve(static_cast<std::size_t>(std::min(counts_.num_atoms, rest / min_atom_line)));
    molecule_.bonds.reserve(static_cast<std::size_t>(std::min(counts_.num_bonds, rest / min_bond_line)));
    stage_ = Stage::AtomBlock;
    // A molecule without atoms (a "no structure" record) goes on with its bonds or properties at once.
    if (counts_.num_atoms == 0) end_atom_block();
    return {};
  }

  void end_atom_block() { stage_ = counts_.num_bonds == 0 ? Stage::PropertiesBlock : Stage::BondBlock; }

  // x [0, 10), y [10, 20), z [20, 30), symbol [30, 33), mass difference [33, 35) (not read), charge code
  // [36, 39), and on lines of 57 bytes or more the mapping field [56, 59), which must be blank or 0.
  // Kept out of the line loop: inlined there, it crowds the loop's registers (3% more instructions at -O2).
  [[gnu::noinline]] Step read_atom(std::string_view line) {
    const auto x = number<double>(line, 0, 10, Type::ParseX);
    if (!x) return std::unexpected(x.error());
    const auto y = number<double>(line, 10, 20, Type::ParseY);
    if (!y) return std::unexpected(y.error());
    const auto z = number<double>(line, 20, 30, Type::ParseZ);
    if (!z) return std::unexpected(z.error());
    const auto symbol = field(line, 30, 33);
    if (!symbol) return std::unexpected(symbol.error());
    const auto element = element_of(*symbol);
    if (!element) return std::unexpected(Type::ParseSymbol);
    if (const auto mass = field(line, 33, 35); !mass) return std::unexpected(mass.error());
    const auto code = number<std::int32_t>(line, 36, 39, Type::ParseCharge);
    if (!code) return std::unexpected(code.error());
    const auto charge = charge_of_code(*code);
    if (!charge) return std::unexpected(charge.error());
    if (line.size() >= 57) {
      if (const auto mapping = read_mapping_field(line); !mapping) return mapping;
    }
    molecule_.atoms.push_back(AtomRecord{*x, *y, *z, *element, *charge});
    if (molecule_.atoms.size() == counts_.num_atoms) end_atom_block();
    return {};
  }

  // Neighbouring atoms mostly share their element, so the last symbol field and its element are kept.
  std::optional<Element> element_of(std::string_view symbol) {
    if (symbol != last_symbol_) {
      last_symbol_ = symbol;
      last_element_ = Element::find(text::trim(symbol));
    }
    return last_element_;
  }

  // Bytes [56, 59): the last byte of the reaction-component field and the first two of the inversion field.
  // Its error is named for the atom-atom mapping number, which lies in [60, 63) and is not read.
  static Step read_mapping_field(std::string_view line) {
    const auto mapping = field(line, 56, 59);
    if (!mapping) return std::unexpected(mapping.error());
    const std::string_view text = text::trim(*mapping);
    if (text.empty()) return {};
    std::uint64_t value = 0;
    if (!text::parse_number(text, value) || value != 0) return std::unexpected(Type::ParseAtomAtomMappingNumber);
    return {};
  }

  // First atom [0, 3), second atom [3, 6), bond type [6, 9), stereo [9, 12) (0 when unreadable).
  Step read_bond(std::string_view line) {
    const auto bond_type = number<std::uint32_t>(line, 6, 9, Type::ParseBondType);
    if (!bond_type) return std::unexpected(bond_type.error());
    if (*bond_type < 1 || *bond_type > 4) return std::unexpected(Type::BondTypeNotAllowed);
    const auto first = number<std::uint64_t>(line, 0, 3, Type::ParseBondAtom1);
    if (!first) return std::unexpected(first.error());
    const auto second = number<std::uint64_t>(line, 3, 6, Type::ParseBondAtom2);
    if (!second) return std::unexpected(second.error());
    const auto stereo_text = field(line, 9, 12);
    if (!stereo_text) return std::unexpected(stereo_text.error());
    std::uint32_t stereo = 0;
    if (!text::parse_number(text::trim(*stereo_text), stereo)) stereo = 0;
    molecule_.bonds.push_back(BondRecord{*first - 1, *second - 1, *bond_type, stereo});
    if (molecule_.bonds.size() == counts_.num_bonds) stage_ = Stage::PropertiesBlock;
    return {};
  }

  // "M  CHG" lines set charges and "M  END" closes the block; other property lines are skipped.
  Step read_property(std::string_view line) {
    const auto tag = field(line, 3, 6);
    if (!tag) return std::unexpected(tag.error());
    const std::string_view name = text::trim(*tag);
    if (name == "CHG") return read_charges(line);
    if (name == "END") stage_ = Stage::DataItems;
    return {};
  }

  // "M  CHGnn8 aaa vvv ...": a count of 1 to 8, then per atom its 1-based number in 4 bytes and its charge
  // in 4. The count field ends one byte early when byte 8 is blank.
  Step read_charges(std::string_view line) {
    // Charge lines replace every charge of the atom block, also those of atoms they do not name.
    if (!charge_lines_seen_) {
      for (AtomRecord& atom : molecule_.atoms) atom.formal_charge = 0;
      charge_lines_seen_ = true;
    }
    if (line.size() < 9) return std::unexpected(Type::LineTooShort);
    const std::size_t start = text::is_space(line[8]) ? 8 : 9;
    const auto count = number<std::uint64_t>(line, 6, start, Type::ParsePropertyCHGCount);
    if (!count) return std::unexpected(count.error());
    if (*count < 1 || *count > 8) return std::unexpected(Type::PropertyCHGCount);
    for (std::size_t k = 0; k < *count; ++k) {
      const std::size_t at = start + 8 * k;
      const auto atom = number<std::uint64_t>(line, at, at + 4, Type::ParsePropertyCHGIndex);
      if (!atom) return std::unexpected(atom.error());
      const auto charge = number<std::int32_t>(line, at + 4, at + 8, Type::ParsePropertyCHGCharge);
      if (!charge) return std::unexpected(charge.error());
      if (*atom < 1 || *atom > molecule_.atoms.size()) return std::unexpected(Type::PropertyCHGIndex);
      molecule_.atoms[static_cast<std::size_t>(*atom - 1)].formal_charge = *charge;
    }
    return {};
  }

  NumberedLines lines_;
  Stage stage_ = Stage::HeaderBlock;
  Counts counts_;
  std::string_view last_symbol_;
  std::optional<Element> last_element_;
  bool charge_lines_seen_ = false;
  Molecule& molecule_;
};

// Reads the data items after "M  END": "> <key>" and the value lines up to a blank line; a line of
// exactly "$$$$" ends them.
class ItemReader {
 public:
  ItemReader(NumberedLines lines, detail::ItemSink& items) : lines_{lines}, items_{items} {}

  std::expected<void, SDFParseError> read() {
    items_.reserve(item_headers(lines_.rest()));
    std::string_view line;
    while (lines_.next(line)) {
      if (text::is_blank(line)) continue;
      if (line == "$$$$") return {};
      if (!read_item(line)) {
        return std::unexpected(SDFParseError{lines_.number(), {SDFParseState::DataItems{}}, Type::ParseDataKey});
      }
    }
    return {};
  }

 private:
  bool read_item(std::string_view line) {
    if (!line.starts_with('>')) return false;
    const std::size_t open = line.find('<');
    if (open == std::string_view::npos) return false;
    const std::size_t close = line.find('>', open + 1);
    if (close == std::string_view::npos) return false;
    items_.add(line.substr(open + 1, close - open - 1), read_value());
    return true;
  }

  // The value lines up to a blank line, which is consumed. Without one the value runs to the end of the
  // entry and keeps a line feed at its end.
  std::string read_value() {
    const char* const first = lines_.rest().data();
    std::string_view value_lines;  // from the first value line to the end of the last
    bool bare_feeds = true;
    std::string_view line;
    while (lines_.next(line)) {
      if (text::is_blank(line)) return value_text(value_lines, bare_feeds, false);
      value_lines = {first, static_cast<std::size_t>(line.data() + line.size() - first)};
      bare_feeds = bare_feeds && lines_.rest().data() == line.data() + line.size() + 1;
    }
    return value_text(value_lines, bare_feeds, !value_lines.empty());
  }

  // The lines joined by line feeds, with one more at the end when asked, allocated once at their size. Lines
  // that end in bare line feeds are joined as the input already holds them.
  static std::string value_text(std::string_view text, bool bare_feeds, bool final_feed) {
    if (bare_feeds && !final_feed) return std::string(text);
    // Joining drops the carriage returns before line feeds: the value is never longer than the text.
    std::string value(text.size() + (final_feed ? 1 : 0), '\n');
    auto out = value.begin();
    text::Lines lines{text};
    std::string_view line;
    for (bool first = true; lines.next(line); first = false) {
      if (!first) ++out;
      out = std::copy(line.begin(), line.end(), out);
    }
    if (final_feed) ++out;
    value.erase(out, value.end());
    return value;
  }

  NumberedLines lines_;
  detail::ItemSink& items_;
};

// The data items of a molecule, each with its own key.
class MoleculeItems final : public detail::ItemSink {
 public:
  explicit MoleculeItems(std::vector<DataItem>& items) : items_{items} {}
  void reserve(std::size_t items) override { items_.reserve(items); }
  void add(std::string_view key, std::string value) override {
    items_.emplace_back(std::string(key), std::move(value));
  }

 private:
  std::vector<DataItem>& items_;
};

}  // namespace

namespace detail {

std::expected<void, SDFParseError> read_entry(std::string_view entry, Molecule& molecule) {
  StructureReader structure{entry, molecule};
  const auto items_follow = structure.read();
  if (!items_follow) return std::unexpected(items_follow.error());
  if (!*items_follow) return {};
  MoleculeItems items{molecule.data_items};
  return ItemReader{structure.lines(), items}.read();
}

std::expected<std::string_view, SDFParseError> read_structure(std::string_view entry, Molecule& molecule) {
  StructureReader structure{entry, molecule};
  if (const auto read = structure.read(); !read) return std::unexpected(read.error());
  return structure.lines().rest();
}

std::expected<void, SDFParseError> read_data_items(std::string_view text, ItemSink& items) {
  return ItemReader{NumberedLines{text}, items}.read();
}

}  // namespace detail

std::expected<Molecule, SDFParseError> parse_sdf_entry(std::string_view entry) {
  Molecule molecule;
  if (const auto read = detail::read_entry(entry, molecule); !read) return std::unexpected(read.error());
  return molecule;
}

}  // namespace redivi::sdf
