// SDF text (MOL V2000 entries closed by "$$$$"): the entry reader, the conversion to structures and the writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "redivi/atom.hpp"
#include "redivi/bond.hpp"
#include "redivi/constraints.hpp"
#include "redivi/element.hpp"
#include "redivi/export.hpp"
#include "redivi/trc.hpp"

namespace redivi::sdf {

// The numbers of the counts line: atoms in its bytes 0-3, bonds in bytes 3-6.
struct Counts {
  std::uint64_t num_atoms = 0;
  std::uint64_t num_bonds = 0;

  friend bool operator==(const Counts&, const Counts&) = default;
};

// Where the entry reader stood when it failed; the atom and bond blocks carry the counts read.
struct SDFParseState {
  struct HeaderBlock {
    bool operator==(const HeaderBlock&) const = default;
  };
  struct CountsLine {
    bool operator==(const CountsLine&) const = default;
  };
  struct AtomBlock {
    Counts counts;
    bool operator==(const AtomBlock&) const = default;
  };
  struct BondBlock {
    Counts counts;
    bool operator==(const BondBlock&) const = default;
  };
  struct PropertiesBlock {
    bool operator==(const PropertiesBlock&) const = default;
  };
  struct DataItems {
    bool operator==(const DataItems&) const = default;
  };
  struct Done {
    bool operator==(const Done&) const = default;
  };

  std::variant<HeaderBlock, CountsLine, AtomBlock, BondBlock, PropertiesBlock, DataItems, Done> value;

  friend bool operator==(const SDFParseState&, const SDFParseState&) = default;
};

// The bare state name: "AtomBlock", never its counts.
REDIVI_EXPORT std::string to_string(const SDFParseState& state);
REDIVI_EXPORT std::string debug_string(const SDFParseState& state);

// What could not be read. The Parse kinds are fields that do not read as a number (or, for ParseSymbol,
// as an element symbol).
enum class SDFParseErrorType : std::uint8_t {
  HeaderLine,  // the entry ends inside its three header lines
  ParseSymbol,
  ParseNumAtoms,
  ParseNumBonds,
  ParseX,
  ParseY,
  ParseZ,
  ParseCharge,                 // also a charge code outside 0-7, or 4
  ParseAtomAtomMappingNumber,  // bytes 56-58 of an atom line not blank or 0 (not the mapping number itself)
  ParseBondAtom1,
  ParseBondAtom2,
  ParseBondType,
  BondTypeNotAllowed,  // a bond type outside 1-4
  ParsePropertyType,   // not produced
  ParsePropertyCHGCount,
  ParsePropertyCHGIndex,
  ParsePropertyCHGCharge,
  PropertyCHGCount,   // an "M  CHG" count outside 1-8
  PropertyCHGIndex,   // an "M  CHG" atom number outside 1 to the atom count
  PropertyCHGCharge,  // not produced
  ParseDataKey,       // a data item line without "> <key>"
  UnsupportedFormat,  // a V3000 entry
  ParseConstraints,   // not produced: see ConversionError::ConstraintsError
  ParseTerminator,    // text not closed by a "$$$$" line
  LineTooShort,       // a line that ends before a field it must hold, or cuts a multi-byte character
  NoResults,          // not produced: empty text is ParseTerminator
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(SDFParseErrorType type);
REDIVI_EXPORT std::string debug_string(SDFParseErrorType type);

// Where and why an entry could not be read.
struct SDFParseError {
  // The 1-based line that failed, counted in the whole text by from_sdf and sdf_entries and in the entry by
  // parse_sdf_entry; a line missing at the end counts too. ParseTerminator gives the first line of the
  // entry that is not closed.
  std::uint64_t line_number = 0;
  SDFParseState state;                                  // where the reader stood
  SDFParseErrorType ty = SDFParseErrorType::NoResults;  // what failed

  friend bool operator==(const SDFParseError&, const SDFParseError&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const SDFParseError& error);
REDIVI_EXPORT std::string debug_string(const SDFParseError& error);

// A data item: its key (the text between "<" and ">" on its first line) and its value (the following
// lines up to a blank one, joined by line feeds).
using DataItem = std::pair<std::string, std::string>;

// The extras of one molecule, kept beside its structure. The readers give none for a molecule without
// data items other than a SMILES one.
struct DataBlocks {
  Constraints constraints;            // from the "TETHERED ATOMS" item
  std::vector<DataItem> data_items;   // every other item, in file order
  std::optional<std::string> smiles;  // the value of the first item whose key contains "SMILES"

  friend bool operator==(const DataBlocks&, const DataBlocks&) = default;
};

// Why SDF text could not become structures.
struct ConversionError {
  // The text could not be read.
  struct ParseError {
    SDFParseError error;
    bool operator==(const ParseError&) const = default;
  };
  // A "TETHERED ATOMS" item that is not lines of comma-separated numbers.
  struct ConstraintsError {
    bool operator==(const ConstraintsError&) const = default;
  };
  // The structure built fails its check, such as for a bond to an atom past the atom count.
  struct InvalidTRC {
    TRCError error;
    bool operator==(const InvalidTRC&) const = default;
  };
  // A bond type outside 1-4, which the reader refuses before; the code as given.
  struct UnexpectedBondOrder {
    std::uint32_t code;
    bool operator==(const UnexpectedBondOrder&) const = default;
  };
  // A bond stereo code other than 0, 1, 3, 4 and 6; the code as given.
  struct UnexpectedStereochemistry {
    std::uint32_t code;
    bool operator==(const UnexpectedStereochemistry&) const = default;
  };

  std::variant<ParseError, ConstraintsError, InvalidTRC, UnexpectedBondOrder, UnexpectedStereochemistry> value;

  friend bool operator==(const ConversionError&, const ConversionError&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const ConversionError& error);
REDIVI_EXPORT std::string debug_string(const ConversionError& error);

// One line of the atom block.
struct AtomRecord {
  double x = 0, y = 0, z = 0;  // as the file writes them
  Element element;
  // Elementary charges, from the atom block's charge code; any "M  CHG" line replaces every atom's.
  std::int32_t formal_charge = 0;

  friend bool operator==(const AtomRecord&, const AtomRecord&) = default;
};

// One line of the bond block.
struct BondRecord {
  // 0-based: the number in the file minus one, wrapping below zero.
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  std::uint32_t bond_type = 0;  // the type code, 1 to 4
  std::uint32_t stereo = 0;     // the stereo code; 0 when unreadable

  friend bool operator==(const BondRecord&, const BondRecord&) = default;
};

// One parsed entry.
struct REDIVI_EXPORT Molecule {
  std::string name;  // the entry's first line, as it stands
  std::vector<AtomRecord> atoms;
  std::vector<BondRecord> bonds;
  std::vector<DataItem> data_items;  // in file order

  // The molecule as one residue "LIG" labeled with its name, in one chain, with one fragment of all its
  // atoms; checked, with its extras. Uses the molecule up.
  std::expected<std::pair<TRC, std::optional<DataBlocks>>, ConversionError> try_into() &&;

  friend bool operator==(const Molecule&, const Molecule&) = default;
};

// One entry of the input: the number of its first line in the whole text, and its text up to and
// including its "$$$$" line.
struct SDFEntry {
  std::uint64_t line_number = 0;
  std::string_view text;

  friend bool operator==(const SDFEntry&, const SDFEntry&) = default;
};

// The entries of the text, in order; an error, if any, is the last item.
REDIVI_EXPORT std::vector<std::variant<SDFEntry, SDFParseError>> sdf_entries(std::string_view contents);

// Reads one entry; error line numbers count from 1 at the entry's first line.
REDIVI_EXPORT std::expected<Molecule, SDFParseError> parse_sdf_entry(std::string_view entry);

// One structure and one optional DataBlocks per entry, in file order. A parse error in any entry wins
// over a conversion error in an earlier one.
REDIVI_EXPORT std::expected<std::pair<std::vector<TRC>, std::vector<std::optional<DataBlocks>>>, ConversionError>
from_sdf(std::string_view contents);

// Why a structure could not be written as SDF text.
struct SDFWriteErrorType {
  // The structure fails its check.
  struct BadTRC {
    TRCError error;
    bool operator==(const BadTRC&) const = default;
  };
  // A formal charge beyond 15 either way.
  struct ChargeFormat {
    bool operator==(const ChargeFormat&) const = default;
  };
  // More than one residue label entry: the title line holds one.
  struct TooManyResidues {
    bool operator==(const TooManyResidues&) const = default;
  };
  // Not produced.
  struct WriteFailed {
    bool operator==(const WriteFailed&) const = default;
  };
  // A bond order other than Single, Double, Triple and Ring.
  struct UnsupportedBondOrder {
    BondOrder order;
    bool operator==(const UnsupportedBondOrder&) const = default;
  };

  // The errors below name the structure by its 0-based index in the list written. Each refuses a value
  // that the lines of an entry cannot hold: written, it would read back as another value or not at all.

  // A title (the residue label) holding a line feed, or ending in a carriage return, which the reader
  // drops with the line feed.
  struct TitleFormat {
    std::size_t structure;
    bool operator==(const TitleFormat&) const = default;
  };
  // More than 999 atoms or bonds: the counts line gives each three columns.
  struct CountsFormat {
    std::size_t structure;
    std::size_t atoms, bonds;
    bool operator==(const CountsFormat&) const = default;
  };
  // A coordinate whose text with 4 decimals is wider than its 10 columns: 100000 or more, -10000 or less.
  struct CoordinateFormat {
    std::size_t structure;
    AtomRef atom;
    bool operator==(const CoordinateFormat&) const = default;
  };
  // A data item key (item: its 0-based index in data_items) holding a line feed or ">", which ends the
  // key.
  struct DataKeyFormat {
    std::size_t structure;
    std::size_t item;
    bool operator==(const DataKeyFormat&) const = default;
  };
  // A data item value with a line that is blank (it ends the value), starts with "$$$$" (it ends the
  // entry) or ends in a carriage return (dropped with the line feed); an empty value is written.
  struct DataValueFormat {
    std::size_t structure;
    std::size_t item;
    bool operator==(const DataValueFormat&) const = default;
  };
  // A tethered-atom group without atoms, or a data item keyed "TETHERED ATOMS" where there are no groups,
  // which would read back as the groups.
  struct TetheredAtomsFormat {
    std::size_t structure;
    bool operator==(const TetheredAtomsFormat&) const = default;
  };

  std::variant<BadTRC, ChargeFormat, TooManyResidues, WriteFailed, UnsupportedBondOrder, TitleFormat, CountsFormat,
               CoordinateFormat, DataKeyFormat, DataValueFormat, TetheredAtomsFormat>
      value;

  friend bool operator==(const SDFWriteErrorType&, const SDFWriteErrorType&) = default;
};

// The display text and the debug text.
REDIVI_EXPORT std::string to_string(const SDFWriteErrorType& error);
REDIVI_EXPORT std::string debug_string(const SDFWriteErrorType& error);

// Appends structure i with extras i, for as many pairs as both lists hold. The title line is the first
// label of the one labeled residue (empty without labels). Charges go in the atom block when all lie
// within 3 either way, else all in "M  CHG" lines. The SMILES item is not written. What the reader would
// not read back as it stands is refused (the *Format errors): the title and the counts before anything of
// their structure is written, the rest as it is written. On failure the output keeps what was written
// before the failure, which may include the failing structure's first lines.
REDIVI_EXPORT std::expected<void, SDFWriteErrorType> to_sdf(std::span<const TRC> trcs,
                                                            std::span<const std::optional<DataBlocks>> extras,
                                                            std::string& out);

}  // namespace redivi::sdf
