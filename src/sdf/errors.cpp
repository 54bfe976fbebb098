// Display and debug texts of the SDF reader's, converter's and writer's errors.
#include <array>

#include "redivi/convert/sdf.hpp"
#include "text/text.hpp"

namespace redivi::sdf {
namespace {

struct ErrorTypeText {
  std::string_view name;
  std::string_view text;
};

// In the order of SDFParseErrorType.
constexpr std::array<ErrorTypeText, 26> error_type_texts = {{
    {"HeaderLine", "missing header line"},
    {"ParseSymbol", "could not parse symbol"},
    {"ParseNumAtoms", "could not parse number of atoms"},
    {"ParseNumBonds", "could not parse number of bonds"},
    {"ParseX", "could not parse x coordinate"},
    {"ParseY", "could not parse y coordinate"},
    {"ParseZ", "could not parse z coordinate"},
    {"ParseCharge", "could not parse charge"},
    {"ParseAtomAtomMappingNumber", "could not parse atom-atom mapping number"},
    {"ParseBondAtom1", "could not parse first bond atom index"},
    {"ParseBondAtom2", "could not parse second bond atom index"},
    {"ParseBondType", "could not parse bond type"},
    {"BondTypeNotAllowed", "bond type not part of SDF standard"},
    {"ParsePropertyType", "could not parse property type"},
    {"ParsePropertyCHGCount", "could not parse CHG count"},
    {"ParsePropertyCHGIndex", "could not parse CHG index"},
    {"ParsePropertyCHGCharge", "could not parse CHG charge"},
    {"PropertyCHGCount", "HG count out of range"},
    {"PropertyCHGIndex", "CHG index out of range"},
    {"PropertyCHGCharge", "CHG charge out of range"},
    {"ParseDataKey", "could not parse data item key"},
    {"UnsupportedFormat", "unsupported format, only V2000 is supported by this parser"},
    {"ParseConstraints", "could not parse constraints"},
    {"ParseTerminator", "could not find correctly formatted terminator"},
    {"LineTooShort", "line shorter than the expcted length"},
    {"NoResults", "there should be at least an error result"},
}};

const ErrorTypeText& texts_of(SDFParseErrorType type) { return error_type_texts[static_cast<std::size_t>(type)]; }

std::string debug_string(const Counts& counts) {
  return text::concat("Counts { num_atoms: ", counts.num_atoms, ", num_bonds: ", counts.num_bonds, " }");
}

}  // namespace

std::string to_string(const SDFParseState& state) {
  return std::visit(
      [](const auto& s) -> std::string {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, SDFParseState::HeaderBlock>) return "HeaderBlock";
        if constexpr (std::is_same_v<S, SDFParseState::CountsLine>) return "CountsLine";
        if constexpr (std::is_same_v<S, SDFParseState::AtomBlock>) return "AtomBlock";
        if constexpr (std::is_same_v<S, SDFParseState::BondBlock>) return "BondBlock";
        if constexpr (std::is_same_v<S, SDFParseState::PropertiesBlock>) return "PropertiesBlock";
        if constexpr (std::is_same_v<S, SDFParseState::DataItems>) return "DataItems";
        if constexpr (std::is_same_v<S, SDFParseState::Done>) return "Done";
      },
      state.value);
}

std::string debug_string(const SDFParseState& state) {
  if (const auto* atoms = std::get_if<SDFParseState::AtomBlock>(&state.value)) {
    return text::concat("AtomBlock(", debug_string(atoms->counts), ")");
  }
  if (const auto* bonds = std::get_if<SDFParseState::BondBlock>(&state.value)) {
    return text::concat("BondBlock(", debug_string(bonds->counts), ")");
  }
  return to_string(state);
}

std::string to_string(SDFParseErrorType type) { return std::string(texts_of(type).text); }
std::string debug_string(SDFParseErrorType type) { return std::string(texts_of(type).name); }

std::string to_string(const SDFParseError& error) {
  return text::concat("line ", error.line_number, " state ", to_string(error.state), ": ", to_string(error.ty));
}

std::string debug_string(const SDFParseError& error) {
  return text::concat("SDFParseError { line_number: ", error.line_number, ", state: ", debug_string(error.state),
                      ", ty: ", debug_string(error.ty), " }");
}

std::string to_string(const ConversionError& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, ConversionError::ParseError>) {
          return "error parsing SDF: " + to_string(e.error);
        } else if constexpr (std::is_same_v<E, ConversionError::ConstraintsError>) {
          return "error parsing constraints";
        } else if constexpr (std::is_same_v<E, ConversionError::InvalidTRC>) {
          return to_string(e.error);
        } else if constexpr (std::is_same_v<E, ConversionError::UnexpectedBondOrder>) {
          return text::concat("Unexpected bond order ", e.code);
        } else {
          return text::concat("Unexpected stereochemistry value ", e.code);
        }
      },
      error.value);
}

std::string debug_string(const ConversionError& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, ConversionError::ParseError>) {
          return "ParseError(" + debug_string(e.error) + ")";
        } else if constexpr (std::is_same_v<E, ConversionError::ConstraintsError>) {
          return "ConstraintsError";
        } else if constexpr (std::is_same_v<E, ConversionError::InvalidTRC>) {
          return "InvalidTRC(" + debug_string(e.error) + ")";
        } else if constexpr (std::is_same_v<E, ConversionError::UnexpectedBondOrder>) {
          return text::concat("UnexpectedBondOrder(", e.code, ")");
        } else {
          return text::concat("UnexpectedStereochemistry(", e.code, ")");
        }
      },
      error.value);
}

std::string to_string(const SDFWriteErrorType& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, SDFWriteErrorType::BadTRC>) {
          return "bad TRC: " + debug_string(e.error);
        } else if constexpr (std::is_same_v<E, SDFWriteErrorType::ChargeFormat>) {
          return "could not format charge";
        } else if constexpr (std::is_same_v<E, SDFWriteErrorType::TooManyResidues>) {
          return "only 1 residue expected when doing a single conversion to SDF";
        } else if constexpr (std::is_same_v<E, SDFWriteErrorType::WriteFailed>) {
          return "error writing";
        } else {
          return text::concat("unsupported bond order: ", debug_string(e.order));
        }
      },
      error.value);
}

std::string debug_string(const SDFWriteErrorType& error) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, SDFWriteErrorType::BadTRC>) {
          return "BadTRC(" + debug_string(e.error) + ")";
        } else if constexpr (std::is_same_v<E, SDFWriteErrorType::ChargeFormat>) {
          return "ChargeFormat";
        } else if constexpr (std::is_same_v<E, SDFWriteErrorType::TooManyResidues>) {
          return "TooManyResidues";
        } else if constexpr (std::is_same_v<E, SDFWriteErrorType::WriteFailed>) {
          return "WriteFailed";
        } else {
          return text::concat("UnsupportedBondOrder(", debug_string(e.order), ")");
        }
      },
      error.value);
}

}  // namespace redivi::sdf
