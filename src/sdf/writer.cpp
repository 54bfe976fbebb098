// Structures to SDF text: one MOL V2000 block per structure, its data items and a "$$$$" line.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "redivi/convert/sdf.hpp"
#include "text/column_writer.hpp"
#include "text/text.hpp"

namespace redivi::sdf {
namespace {

// Charge codes of the atom block, for charges -3 to +3.
constexpr std::array<int, 7> charge_codes = {7, 6, 5, 0, 3, 2, 1};

// Beyond this magnitude charges go to "M  CHG" lines; beyond the second they cannot be written.
constexpr std::int64_t max_atom_block_charge = 3;
constexpr std::int64_t max_charge = 15;

// The counts line gives the atoms and the bonds three columns each; a coordinate has ten.
constexpr std::size_t max_count = 999;
constexpr std::size_t coordinate_width = 10;

constexpr std::string_view tethered_atoms_key = "TETHERED ATOMS";

void append_padding(std::string& out, std::size_t length, std::size_t width) {
  if (length < width) out.append(width - length, ' ');
}

// A number right-aligned in width, never cut.
template <class T>
void append_right(std::string& out, T value, std::size_t width) {
  column_writer::append_line(out, width + 24,
                             [value, width](column_writer::Cursor& cursor) { cursor.integer(value, width); });
}

// A coordinate with 4 decimals of its exact value, right-aligned in 10 or wider.
void append_coordinate(std::string& out, float value) {
  column_writer::append_line(out, coordinate_width + column_writer::max_fixed_bytes,
                             [value](column_writer::Cursor& cursor) { cursor.fixed(value, 4, coordinate_width); });
}

std::optional<int> bond_type_code(BondOrder order) {
  switch (order) {
    case BondOrder::Single: return 1;
    case BondOrder::Double: return 2;
    case BondOrder::Triple: return 3;
    case BondOrder::Ring: return 4;
    default: return std::nullopt;
  }
}

int stereo_code(Stereochemistry stereo) {
  switch (stereo) {
    case Stereochemistry::NONE: return 0;
    case Stereochemistry::Up: return 1;
    case Stereochemistry::Down: return 6;
    case Stereochemistry::Either: return 4;
    case Stereochemistry::CisOrTrans: return 3;
  }
  return 0;
}

// The first label of the only labelled residue; a structure without labels has an empty title.
std::expected<std::string_view, SDFWriteErrorType> title_of(const Residues& residues) {
  if (!residues.labels || residues.labels->empty()) return std::string_view{};
  if (residues.labels->size() > 1) return std::unexpected(SDFWriteErrorType{SDFWriteErrorType::TooManyResidues{}});
  const std::vector<std::string>& labels = residues.labels->front();
  if (labels.empty()) return std::string_view{};
  return std::string_view{labels.front()};
}

// Counts line: atoms, bonds and eight zeros, then 999, each right-aligned in 3, and " V2000".
void append_counts(std::string& out, std::size_t atoms, std::size_t bonds) {
  append_right(out, atoms, 3);
  append_right(out, bonds, 3);
  out.append("  0  0  0  0  0  0  0  0999 V2000\n");
}

// The largest charge magnitude, or nothing when charges are absent.
std::int64_t largest_charge(const std::optional<std::vector<std::int32_t>>& charges) {
  std::int64_t largest = 0;
  if (!charges) return largest;
  for (const std::int32_t charge : *charges) largest = std::max(largest, std::abs(std::int64_t{charge}));
  return largest;
}

// Atom line: x, y, z in 10 with 4 decimals, a blank, symbol left in 3, mass difference 0 in 2,
// charge code in 3, then ten fields of 0 in 3.
std::expected<void, SDFWriteErrorType> append_atoms(std::string& out, const Topology& topology,
                                                    bool charges_in_atom_block, std::size_t structure) {
  const std::size_t n = topology.symbols.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t line_start = out.size();
    append_coordinate(out, topology.geometry[3 * i]);
    append_coordinate(out, topology.geometry[3 * i + 1]);
    append_coordinate(out, topology.geometry[3 * i + 2]);
    // A wider coordinate would shift the fields after it.
    if (out.size() - line_start != 3 * coordinate_width) {
      return std::unexpected(
          SDFWriteErrorType{SDFWriteErrorType::CoordinateFormat{structure, static_cast<AtomRef>(i)}});
    }
    out.push_back(' ');
    const std::string_view symbol = topology.symbols[i].symbol();
    out.append(symbol);
    append_padding(out, symbol.size(), 3);
    out.append(" 0");
    const int code =
        charges_in_atom_block ? charge_codes[static_cast<std::size_t>((*topology.formal_charges)[i] + 3)] : 0;
    append_right(out, code, 3);
    out.append("  0  0  0  0  0  0  0  0  0  0\n");
  }
  return {};
}

// Bond line: first and second atom numbers, type code and stereo code in 3 each, three blanks, 0 and 0 in 3.
std::expected<void, SDFWriteErrorType> append_bonds(std::string& out, const Topology& topology) {
  if (!topology.connectivity) return {};
  const std::vector<Bond>& bonds = *topology.connectivity;
  for (std::size_t i = 0; i < bonds.size(); ++i) {
    const auto type = bond_type_code(bonds[i].order);
    if (!type) return std::unexpected(SDFWriteErrorType{SDFWriteErrorType::UnsupportedBondOrder{bonds[i].order}});
    append_right(out, std::uint64_t{bonds[i].first} + 1, 3);
    append_right(out, std::uint64_t{bonds[i].second} + 1, 3);
    append_right(out, *type, 3);
    append_right(out, topology.stereochemistry ? stereo_code((*topology.stereochemistry)[i]) : 0, 3);
    out.append("     0  0\n");
  }
  return {};
}

// "M  CHG" lines for every atom, zeros included, eight atoms a line: count in 3, then per atom
// a blank, its number in 3, a blank, its charge in 3.
void append_charge_lines(std::string& out, const std::vector<std::int32_t>& charges) {
  for (std::size_t first = 0; first < charges.size(); first += 8) {
    const std::size_t count = std::min<std::size_t>(8, charges.size() - first);
    out.append("M  CHG");
    append_right(out, count, 3);
    for (std::size_t i = first; i < first + count; ++i) {
      out.push_back(' ');
      append_right(out, i + 1, 3);
      out.push_back(' ');
      append_right(out, charges[i], 3);
    }
    out.push_back('\n');
  }
}

// Whether a line of a value reads back as it stands: a blank line would end the value, a line that starts
// with "$$$$" would end the entry, and a carriage return that ends a line goes with its line feed.
constexpr bool line_fits(std::string_view line) {
  return !text::is_blank(line) && !line.starts_with("$$$$") && !line.ends_with('\r');
}

// Whether every line of the value fits (an empty value reads back empty); most values are one line, which
// the copy tells.
bool value_fits(std::string_view value, bool spans_lines) {
  if (value.empty()) return true;
  if (!spans_lines) return line_fits(value);
  for (std::size_t start = 0;;) {
    const std::size_t feed = value.find('\n', start);
    const std::string_view line = value.substr(start, feed == std::string_view::npos ? feed : feed - start);
    if (!line_fits(line)) return false;
    if (feed == std::string_view::npos) return true;
    start = feed + 1;
  }
}

// The title and the counts of structure i, before anything of it is written.
std::expected<void, SDFWriteErrorType> check_header(const Topology& topology, std::string_view title,
                                                    std::size_t structure) {
  using E = SDFWriteErrorType;
  // The reader drops a carriage return that ends a line with its line feed.
  if (title.find('\n') != std::string_view::npos || title.ends_with('\r')) {
    return std::unexpected(E{E::TitleFormat{structure}});
  }
  const std::size_t atoms = topology.symbols.size();
  const std::size_t bonds = topology.connectivity ? topology.connectivity->size() : 0;
  if (atoms > max_count || bonds > max_count) return std::unexpected(E{E::CountsFormat{structure, atoms, bonds}});
  return {};
}

// What a data item's key and value hold that needs a look, found as they are copied.
struct ItemBytes {
  bool key_ends_early;  // a line feed or ">"
  bool value_spans_lines;
};

// "> <key>", the value and a blank line.
ItemBytes append_data_item(std::string& out, std::string_view key, std::string_view value) {
  ItemBytes found{};
  column_writer::append_line(out, key.size() + value.size() + 8, [&found, key, value](column_writer::Cursor& line) {
    line.text("> <");
    found.key_ends_early = line.text_holding_either(key, '\n', '>');
    line.text(">\n");
    found.value_spans_lines = line.text_holding_either(value, '\n', '\n');
    line.text("\n\n");
  });
  return found;
}

// The tethered groups and the data items, each checked as it is written: the reader must read it back.
std::expected<void, SDFWriteErrorType> append_extras(std::string& out, const DataBlocks& extras,
                                                     std::size_t structure) {
  using E = SDFWriteErrorType;
  const std::vector<std::vector<std::uint32_t>>& groups = extras.constraints.tethered_atoms;
  if (!groups.empty()) {
    out.append("> <").append(tethered_atoms_key).append(">\n");
    for (const std::vector<std::uint32_t>& group : groups) {
      // An empty group's line would end the item.
      if (group.empty()) return std::unexpected(E{E::TetheredAtomsFormat{structure}});
      for (std::size_t i = 0; i < group.size(); ++i) {
        if (i > 0) out.push_back(',');
        append_right(out, group[i], 0);
      }
      out.push_back('\n');
    }
    out.push_back('\n');
  }
  for (std::size_t i = 0; i < extras.data_items.size(); ++i) {
    const auto& [key, value] = extras.data_items[i];
    const ItemBytes found = append_data_item(out, key, value);
    if (found.key_ends_early) return std::unexpected(E{E::DataKeyFormat{structure, i}});
    // Without groups written first, the reader would take this item for them.
    if (groups.empty() && key == tethered_atoms_key) return std::unexpected(E{E::TetheredAtomsFormat{structure}});
    if (!value_fits(value, found.value_spans_lines)) return std::unexpected(E{E::DataValueFormat{structure, i}});
  }
  return {};
}

std::expected<void, SDFWriteErrorType> write_structure(std::string& out, const TRC& trc,
                                                       const std::optional<DataBlocks>& extras, std::size_t structure) {
  if (const auto checked = trc.check(); !checked) {
    return std::unexpected(SDFWriteErrorType{SDFWriteErrorType::BadTRC{checked.error()}});
  }
  const auto title = title_of(trc.residues);
  if (!title) return std::unexpected(title.error());
  const Topology& topology = trc.topology;
  if (const auto header = check_header(topology, *title, structure); !header) return header;
  out.append(*title).append("\n     RIRU           3D\n\n");
  append_counts(out, topology.symbols.size(), topology.connectivity ? topology.connectivity->size() : 0);
  const std::int64_t largest = largest_charge(topology.formal_charges);
  if (largest > max_charge) return std::unexpected(SDFWriteErrorType{SDFWriteErrorType::ChargeFormat{}});
  const bool charge_lines = largest > max_atom_block_charge;
  const auto atoms = append_atoms(out, topology, topology.formal_charges && !charge_lines, structure);
  if (!atoms) return atoms;
  if (const auto bonds = append_bonds(out, topology); !bonds) return bonds;
  if (charge_lines) append_charge_lines(out, *topology.formal_charges);
  out.append("M  END\n");
  if (extras) {
    if (const auto written = append_extras(out, *extras, structure); !written) return written;
  }
  out.append("$$$$\n");
  return {};
}

// Bytes of the fixed lines, an atom line, a bond line and a data item's framing, for reserving the output once.
constexpr std::size_t structure_bytes = 100;
constexpr std::size_t atom_line_bytes = 70;
constexpr std::size_t bond_line_bytes = 22;
constexpr std::size_t data_item_bytes = 8;

std::size_t estimated_size(std::span<const TRC> trcs, std::span<const std::optional<DataBlocks>> extras) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < trcs.size(); ++i) {
    const Topology& topology = trcs[i].topology;
    const std::size_t bonds = topology.connectivity ? topology.connectivity->size() : 0;
    bytes += structure_bytes + atom_line_bytes * topology.symbols.size() + bond_line_bytes * bonds;
    if (!extras[i]) continue;
    for (const DataItem& item : extras[i]->data_items)
      bytes += data_item_bytes + item.first.size() + item.second.size();
  }
  return bytes;
}

}  // namespace

std::expected<void, SDFWriteErrorType> to_sdf(std::span<const TRC> trcs,
                                              std::span<const std::optional<DataBlocks>> extras, std::string& out) {
  const std::size_t count = std::min(trcs.size(), extras.size());
  out.reserve(out.size() + estimated_size(trcs.first(count), extras.first(count)));
  for (std::size_t i = 0; i < count; ++i) {
    if (const auto written = write_structure(out, trcs[i], extras[i], i); !written) return written;
  }
  return {};
}

}  // namespace redivi::sdf
