// SDF text (MOL V2000 entries closed by "$$$$"): the entry reader, the conversion to structures and the writer.
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "redivi/bond.hpp"
#include "redivi/constraints.hpp"
#include "redivi/element.hpp"
#include "redivi/export.hpp"
#include "redivi/trc.hpp"

namespace redivi::sdf {

// The numbers of the counts line.
struct Counts {
  std::uint64_t num_atoms = 0;
  std::uint64_t num_bonds = 0;

  friend bool operator==(const Counts&, const Counts&) = default;
};

// Where the entry reader stood when it failed.
struct SDFParseState {
  struct HeaderBlock { bool operator==(const HeaderBlock&) const = default; };
  struct CountsLine { bool operator==(const CountsLine&) const = default; };
  struct AtomBlock { Counts counts; bool operator==(const AtomBlock&) const = default; };
  struct BondBlock { Counts counts; bool operator==(const BondBlock&) const = default; };
  struct PropertiesBlock { bool operator==(const PropertiesBlock&) const = default; };
  struct DataItems { bool operator==(const DataItems&) const = default; };
  struct Done { bool operator==(const Done&) const = default; };

  std::variant<HeaderBlock, CountsLine, AtomBlock, BondBlock, PropertiesBlock, DataItems, Done> value;

  friend bool operator==(const SDFParseState&, const SDFParseState&) = default;
};

// The bare state name: "AtomBlock", never its counts.
REDIVI_EXPORT std::string to_string(const SDFParseState& state);
REDIVI_EXPORT std::string debug_string(const SDFParseState& state);

enum class SDFParseErrorType : std::uint8_t {
  HeaderLine,
  ParseSymbol,
  ParseNumAtoms,
  ParseNumBonds,
  ParseX,
  ParseY,
  ParseZ,
  ParseCharge,
  ParseAtomAtomMappingNumber,
  ParseBondAtom1,
  ParseBondAtom2,
  ParseBondType,
  BondTypeNotAllowed,
  ParsePropertyType,
  ParsePropertyCHGCount,
  ParsePropertyCHGIndex,
  ParsePropertyCHGCharge,
  PropertyCHGCount,
  PropertyCHGIndex,
  PropertyCHGCharge,
  ParseDataKey,
  UnsupportedFormat,
  ParseConstraints,
  ParseTerminator,
  LineTooShort,
  NoResults,
};

REDIVI_EXPORT std::string to_string(SDFParseErrorType type);
REDIVI_EXPORT std::string debug_string(SDFParseErrorType type);

struct SDFParseError {
  std::uint64_t line_number = 0;
  SDFParseState state;
  SDFParseErrorType ty = SDFParseErrorType::NoResults;

  friend bool operator==(const SDFParseError&, const SDFParseError&) = default;
};

REDIVI_EXPORT std::string to_string(const SDFParseError& error);
REDIVI_EXPORT std::string debug_string(const SDFParseError& error);

// A data item: its key and its value.
using DataItem = std::pair<std::string, std::string>;

// The extras of one molecule, kept beside its structure.
struct DataBlocks {
  Constraints constraints;
  std::vector<DataItem> data_items;
  std::optional<std::string> smiles;

  friend bool operator==(const DataBlocks&, const DataBlocks&) = default;
};

struct ConversionError {
  struct ParseError { SDFParseError error; bool operator==(const ParseError&) const = default; };
  struct ConstraintsError { bool operator==(const ConstraintsError&) const = default; };
  struct InvalidTRC { TRCError error; bool operator==(const InvalidTRC&) const = default; };
  struct UnexpectedBondOrder { std::uint32_t code; bool operator==(const UnexpectedBondOrder&) const = default; };
  struct UnexpectedStereochemistry { std::uint32_t code; bool operator==(const UnexpectedStereochemistry&) const = default; };

  std::variant<ParseError, ConstraintsError, InvalidTRC, UnexpectedBondOrder, UnexpectedStereochemistry> value;

  friend bool operator==(const ConversionError&, const ConversionError&) = default;
};

REDIVI_EXPORT std::string to_string(const ConversionError& error);
REDIVI_EXPORT std::string debug_string(const ConversionError& error);

struct AtomRecord {
  double x = 0, y = 0, z = 0;
  Element element;
  std::int32_t formal_charge = 0;

  friend bool operator==(const AtomRecord&, const AtomRecord&) = default;
};

struct BondRecord {
  // 0-based: the number in the file minus one, wrapping below zero.
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  std::uint32_t bond_type = 0;
  std::uint32_t stereo = 0;

  friend bool operator==(const BondRecord&, const BondRecord&) = default;
};

// One parsed entry.
struct REDIVI_EXPORT Molecule {
  std::string name;
  std::vector<AtomRecord> atoms;
  std::vector<BondRecord> bonds;
  std::vector<DataItem> data_items;

  // The molecule as one residue "LIG" in one chain, checked, with its extras; uses the molecule up.
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

// One structure and one optional DataBlocks per entry, in file order.
REDIVI_EXPORT std::expected<std::pair<std::vector<TRC>, std::vector<std::optional<DataBlocks>>>, ConversionError>
from_sdf(std::string_view contents);

struct SDFWriteErrorType {
  struct BadTRC { TRCError error; bool operator==(const BadTRC&) const = default; };
  struct ChargeFormat { bool operator==(const ChargeFormat&) const = default; };
  struct TooManyResidues { bool operator==(const TooManyResidues&) const = default; };
  struct WriteFailed { bool operator==(const WriteFailed&) const = default; };
  struct UnsupportedBondOrder { BondOrder order; bool operator==(const UnsupportedBondOrder&) const = default; };

  std::variant<BadTRC, ChargeFormat, TooManyResidues, WriteFailed, UnsupportedBondOrder> value;

  friend bool operator==(const SDFWriteErrorType&, const SDFWriteErrorType&) = default;
};

REDIVI_EXPORT std::string to_string(const SDFWriteErrorType& error);
REDIVI_EXPORT std::string debug_string(const SDFWriteErrorType& error);

// Appends structure i with extras i, for as many pairs as both lists hold. On failure the output keeps
// what was written before it, including the failing structure's first lines.
REDIVI_EXPORT std::expected<void, SDFWriteErrorType> to_sdf(std::span<const TRC> trcs,
                                                             std::span<const std::optional<DataBlocks>> extras,
                                                             std::string& out);

}  // namespace redivi::sdf
