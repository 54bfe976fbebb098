// Display and debug texts of the SDF reader's, converter's and writer's errors.
#include "redivi/convert/sdf.hpp"
#include "text/error_text.hpp"

namespace redivi::sdf {

using namespace redivi::detail;
using text::concat;

namespace {

EnumTexts texts_of(SDFParseErrorType type) {
  using T = SDFParseErrorType;
  switch (type) {
    case T::HeaderLine: return {"HeaderLine", "missing header line"};
    case T::ParseSymbol: return {"ParseSymbol", "could not parse symbol"};
    case T::ParseNumAtoms: return {"ParseNumAtoms", "could not parse number of atoms"};
    case T::ParseNumBonds: return {"ParseNumBonds", "could not parse number of bonds"};
    case T::ParseX: return {"ParseX", "could not parse x coordinate"};
    case T::ParseY: return {"ParseY", "could not parse y coordinate"};
    case T::ParseZ: return {"ParseZ", "could not parse z coordinate"};
    case T::ParseCharge: return {"ParseCharge", "could not parse charge"};
    case T::ParseAtomAtomMappingNumber:
      return {"ParseAtomAtomMappingNumber", "could not parse atom-atom mapping number"};
    case T::ParseBondAtom1: return {"ParseBondAtom1", "could not parse first bond atom index"};
    case T::ParseBondAtom2: return {"ParseBondAtom2", "could not parse second bond atom index"};
    case T::ParseBondType: return {"ParseBondType", "could not parse bond type"};
    case T::BondTypeNotAllowed: return {"BondTypeNotAllowed", "bond type not part of SDF standard"};
    case T::ParsePropertyType: return {"ParsePropertyType", "could not parse property type"};
    case T::ParsePropertyCHGCount: return {"ParsePropertyCHGCount", "could not parse CHG count"};
    case T::ParsePropertyCHGIndex: return {"ParsePropertyCHGIndex", "could not parse CHG index"};
    case T::ParsePropertyCHGCharge: return {"ParsePropertyCHGCharge", "could not parse CHG charge"};
    case T::PropertyCHGCount: return {"PropertyCHGCount", "HG count out of range"};
    case T::PropertyCHGIndex: return {"PropertyCHGIndex", "CHG index out of range"};
    case T::PropertyCHGCharge: return {"PropertyCHGCharge", "CHG charge out of range"};
    case T::ParseDataKey: return {"ParseDataKey", "could not parse data item key"};
    case T::UnsupportedFormat:
      return {"UnsupportedFormat", "unsupported format, only V2000 is supported by this parser"};
    case T::ParseConstraints: return {"ParseConstraints", "could not parse constraints"};
    case T::ParseTerminator: return {"ParseTerminator", "could not find correctly formatted terminator"};
    case T::LineTooShort: return {"LineTooShort", "line shorter than the expcted length"};
    case T::NoResults: return {"NoResults", "there should be at least an error result"};
  }
  return {};
}

std::string counts_text(const Counts& counts) {
  return record_text("Counts", {{"num_atoms", counts.num_atoms}, {"num_bonds", counts.num_bonds}});
}

}  // namespace

std::string to_string(const SDFParseState& state) {
  using S = SDFParseState;
  return render(
      state.value, [](const S::HeaderBlock&) { return "HeaderBlock"; },
      [](const S::CountsLine&) { return "CountsLine"; }, [](const S::AtomBlock&) { return "AtomBlock"; },
      [](const S::BondBlock&) { return "BondBlock"; }, [](const S::PropertiesBlock&) { return "PropertiesBlock"; },
      [](const S::DataItems&) { return "DataItems"; }, [](const S::Done&) { return "Done"; });
}

std::string debug_string(const SDFParseState& state) {
  using S = SDFParseState;
  return render(
      state.value, [](const S::HeaderBlock&) { return "HeaderBlock"; },
      [](const S::CountsLine&) { return "CountsLine"; },
      [](const S::AtomBlock& s) { return tuple_text("AtomBlock", counts_text(s.counts)); },
      [](const S::BondBlock& s) { return tuple_text("BondBlock", counts_text(s.counts)); },
      [](const S::PropertiesBlock&) { return "PropertiesBlock"; }, [](const S::DataItems&) { return "DataItems"; },
      [](const S::Done&) { return "Done"; });
}

std::string to_string(SDFParseErrorType type) { return std::string(texts_of(type).display); }
std::string debug_string(SDFParseErrorType type) { return std::string(texts_of(type).name); }

std::string to_string(const SDFParseError& error) {
  return concat("line ", error.line_number, " state ", to_string(error.state), ": ", to_string(error.ty));
}

std::string debug_string(const SDFParseError& error) {
  return record_text(
      "SDFParseError",
      {{"line_number", error.line_number}, {"state", debug_string(error.state)}, {"ty", debug_string(error.ty)}});
}

std::string to_string(const ConversionError& error) {
  using E = ConversionError;
  return render(
      error.value, [](const E::ParseError& e) { return "error parsing SDF: " + to_string(e.error); },
      [](const E::ConstraintsError&) { return "error parsing constraints"; },
      [](const E::InvalidTRC& e) { return to_string(e.error); },
      [](const E::UnexpectedBondOrder& e) { return concat("Unexpected bond order ", e.code); },
      [](const E::UnexpectedStereochemistry& e) { return concat("Unexpected stereochemistry value ", e.code); });
}

std::string debug_string(const ConversionError& error) {
  using E = ConversionError;
  return render(
      error.value, [](const E::ParseError& e) { return tuple_text("ParseError", debug_string(e.error)); },
      [](const E::ConstraintsError&) { return "ConstraintsError"; },
      [](const E::InvalidTRC& e) { return tuple_text("InvalidTRC", debug_string(e.error)); },
      [](const E::UnexpectedBondOrder& e) { return tuple_text("UnexpectedBondOrder", e.code); },
      [](const E::UnexpectedStereochemistry& e) { return tuple_text("UnexpectedStereochemistry", e.code); });
}

std::string to_string(const SDFWriteErrorType& error) {
  using E = SDFWriteErrorType;
  return render(
      error.value, [](const E::BadTRC& e) { return "bad TRC: " + debug_string(e.error); },
      [](const E::ChargeFormat&) { return "could not format charge"; },
      [](const E::TooManyResidues&) { return "only 1 residue expected when doing a single conversion to SDF"; },
      [](const E::WriteFailed&) { return "error writing"; },
      [](const E::UnsupportedBondOrder& e) { return concat("unsupported bond order: ", debug_string(e.order)); },
      [](const E::TitleFormat& e) {
        return concat("could not format title of structure ", e.structure,
                      ": a line feed in it, or a carriage return ending it");
      },
      [](const E::CountsFormat& e) {
        return concat("could not format counts of structure ", e.structure, ": ", e.atoms, " atoms and ", e.bonds,
                      " bonds, at most 999 each");
      },
      [](const E::CoordinateFormat& e) {
        return concat("could not format coordinates of ", tuple_text("AtomRef", e.atom), " in structure ", e.structure,
                      ": wider than 10 columns");
      },
      [](const E::DataKeyFormat& e) {
        return concat("could not format key of data item ", e.item, " in structure ", e.structure,
                      ": a line feed or \">\" in it");
      },
      [](const E::DataValueFormat& e) {
        return concat("could not format value of data item ", e.item, " in structure ", e.structure,
                      ": a blank line, a line starting with \"$$$$\" or a carriage return ending a line");
      },
      [](const E::TetheredAtomsFormat& e) {
        return concat("could not format tethered atoms of structure ", e.structure,
                      ": an empty group, or a \"TETHERED ATOMS\" data item beside no groups");
      });
}

std::string debug_string(const SDFWriteErrorType& error) {
  using E = SDFWriteErrorType;
  return render(
      error.value, [](const E::BadTRC& e) { return tuple_text("BadTRC", debug_string(e.error)); },
      [](const E::ChargeFormat&) { return "ChargeFormat"; },
      [](const E::TooManyResidues&) { return "TooManyResidues"; }, [](const E::WriteFailed&) { return "WriteFailed"; },
      [](const E::UnsupportedBondOrder& e) { return tuple_text("UnsupportedBondOrder", debug_string(e.order)); },
      [](const E::TitleFormat& e) {
        return record_text("TitleFormat", {{"structure", e.structure}});
      },
      [](const E::CountsFormat& e) {
        return record_text("CountsFormat", {{"structure", e.structure}, {"atoms", e.atoms}, {"bonds", e.bonds}});
      },
      [](const E::CoordinateFormat& e) {
        return record_text("CoordinateFormat", {{"structure", e.structure}, {"atom", tuple_text("AtomRef", e.atom)}});
      },
      [](const E::DataKeyFormat& e) {
        return record_text("DataKeyFormat", {{"structure", e.structure}, {"item", e.item}});
      },
      [](const E::DataValueFormat& e) {
        return record_text("DataValueFormat", {{"structure", e.structure}, {"item", e.item}});
      },
      [](const E::TetheredAtomsFormat& e) {
        return record_text("TetheredAtomsFormat", {{"structure", e.structure}});
      });
}

}  // namespace redivi::sdf
