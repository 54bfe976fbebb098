// Display and debug texts of the model's validation errors and of the library error.
#include "redivi/error.hpp"

#include <algorithm>

#include "redivi/trc.hpp"
#include "text/error_text.hpp"

namespace redivi {

using namespace redivi::detail;
using text::concat;

namespace {

// "what: 3 != 2", a topology length against the length it must match.
std::string mismatch(std::string_view what, std::size_t length, std::size_t expected) {
  return concat(what, ": ", length, " != ", expected);
}

// "what (3 != 2)": the residue table's texts put the lengths in parentheses.
std::string parenthesized_mismatch(std::string_view what, std::size_t length, std::size_t expected) {
  return concat(what, " (", length, " != ", expected, ')');
}

EnumTexts texts_of(ChainsError error) {
  switch (error) {
    case ChainsError::LabelMismatch: return {"LabelMismatch", "labeled and labels have different lengths"};
    case ChainsError::LabelsMissing: return {"LabelsMissing", "labels are missing"};
    case ChainsError::LabeledMissing: return {"LabeledMissing", "labeled is missing"};
  }
  return {};
}

}  // namespace

std::string to_string(const TopologyError& error) {
  using E = TopologyError;
  return render(
      error.value,
      [](const E::InvalidGeometryLength& e) {
        return concat("geometry length does not symbol length * 3: ", e.geometry_length, " != ", e.atom_count, " * 3");
      },
      [](const E::InvalidLabelsLength& e) {
        return mismatch("labels length does not match symbols length", e.labels_length, e.atom_count);
      },
      [](const E::InvalidPartialChargesLength& e) {
        return mismatch("partial charges length does not match symbols length", e.length, e.atom_count);
      },
      [](const E::InvalidFormalChargesLength& e) {
        return mismatch("formal charges length does not match symbols length", e.length, e.atom_count);
      },
      [](const E::InvalidConnectivity& e) {
        return concat("invalid connectivity between: ", tuple_text("AtomRef", e.first), " and ",
                      tuple_text("AtomRef", e.second));
      },
      [](const E::InvalidStereochemistryExistence&) { return "stereochemistry exists but connectivity does not"; },
      [](const E::InvalidStereochemistryLength& e) {
        return mismatch("stereochemistry length does not match connectivity length", e.stereochemistry_length,
                        e.connectivity_length);
      },
      [](const E::InvalidVelocitiesLength& e) {
        return mismatch("velocities length does not match symbols length", e.velocities_length, e.atom_count);
      },
      [](const E::InvalidFragments&) { return "invalid fragments"; },
      [](const E::InvalidFragmentRef& e) { return concat("invalid fragment reference: ", e.fragment); },
      [](const E::InvalidFragmentFormalChargesLength& e) {
        return mismatch("fragment formal charges length does not match fragment length", e.length, e.fragment_count);
      },
      [](const E::InvalidFragmentPartialChargesLength& e) {
        return mismatch("fragment partial charges length does not match fragment length", e.length, e.fragment_count);
      },
      [](const E::InvalidFragmentMultiplicitiesLength& e) {
        return mismatch("fragment multiplicities length does not match fragment length", e.length, e.fragment_count);
      });
}

std::string debug_string(const TopologyError& error) {
  using E = TopologyError;
  return render(
      error.value,
      [](const E::InvalidGeometryLength& e) {
        return tuple_text("InvalidGeometryLength", e.geometry_length, e.atom_count);
      },
      [](const E::InvalidLabelsLength& e) { return tuple_text("InvalidLabelsLength", e.labels_length, e.atom_count); },
      [](const E::InvalidPartialChargesLength& e) {
        return tuple_text("InvalidPartialChargesLength", e.length, e.atom_count);
      },
      [](const E::InvalidFormalChargesLength& e) {
        return tuple_text("InvalidFormalChargesLength", e.length, e.atom_count);
      },
      [](const E::InvalidConnectivity& e) {
        return tuple_text("InvalidConnectivity", tuple_text("AtomRef", e.first), tuple_text("AtomRef", e.second));
      },
      [](const E::InvalidStereochemistryExistence&) { return "InvalidStereochemistryExistence"; },
      [](const E::InvalidStereochemistryLength& e) {
        return tuple_text("InvalidStereochemistryLength", e.stereochemistry_length, e.connectivity_length);
      },
      [](const E::InvalidVelocitiesLength& e) {
        return tuple_text("InvalidVelocitiesLength", e.velocities_length, e.atom_count);
      },
      [](const E::InvalidFragments&) { return "InvalidFragments"; },
      [](const E::InvalidFragmentRef& e) {
        return tuple_text("InvalidFragmentRef", tuple_text("FragmentRef", e.fragment));
      },
      [](const E::InvalidFragmentFormalChargesLength& e) {
        return tuple_text("InvalidFragmentFormalChargesLength", e.length, e.fragment_count);
      },
      [](const E::InvalidFragmentPartialChargesLength& e) {
        return tuple_text("InvalidFragmentPartialChargesLength", e.length, e.fragment_count);
      },
      [](const E::InvalidFragmentMultiplicitiesLength& e) {
        return tuple_text("InvalidFragmentMultiplicitiesLength", e.length, e.fragment_count);
      });
}

std::string to_string(const ResiduesError& error) {
  using E = ResiduesError;
  return render(
      error.value,
      [](const E::LabelMismatch& e) {
        return parenthesized_mismatch("labeled and labels have different lengths", e.labeled_length, e.labels_length);
      },
      [](const E::InvalidLabel& e) {
        return parenthesized_mismatch("a nonexistent residue was labeled", e.labeled_length, e.residue_count);
      },
      [](const E::LabelsMissing&) { return "labels are missing"; },
      [](const E::LabeledMissing&) { return "labeled is missing"; },
      [](const E::InvalidSeqsLength& e) {
        return parenthesized_mismatch("seqs and residues have different lengths", e.seqs_length, e.residue_count);
      },
      [](const E::InvalidSeqNLength& e) {
        return parenthesized_mismatch("seq_ns and residues have different lengths", e.seq_ns_length, e.seqs_length);
      },
      [](const E::InvalidInsertionCodesLength& e) {
        return parenthesized_mismatch("insertion_codes and residues have different lengths", e.insertion_codes_length,
                                      e.seqs_length);
      });
}

std::string debug_string(const ResiduesError& error) {
  using E = ResiduesError;
  return render(
      error.value,
      [](const E::LabelMismatch& e) { return tuple_text("LabelMismatch", e.labeled_length, e.labels_length); },
      [](const E::InvalidLabel& e) { return tuple_text("InvalidLabel", e.labeled_length, e.residue_count); },
      [](const E::LabelsMissing&) { return "LabelsMissing"; },
      [](const E::LabeledMissing&) { return "LabeledMissing"; },
      [](const E::InvalidSeqsLength& e) { return tuple_text("InvalidSeqsLength", e.seqs_length, e.residue_count); },
      [](const E::InvalidSeqNLength& e) { return tuple_text("InvalidSeqNLength", e.seq_ns_length, e.seqs_length); },
      [](const E::InvalidInsertionCodesLength& e) {
        return tuple_text("InvalidInsertionCodesLength", e.insertion_codes_length, e.seqs_length);
      });
}

std::string to_string(ChainsError error) { return std::string(texts_of(error).display); }
std::string debug_string(ChainsError error) { return std::string(texts_of(error).name); }

std::string to_string(const TRCError& error) {
  using E = TRCError;
  return render(
      error.value,
      [](const E::ResidueNotInChain& e) {
        return concat("residue not in any chain '", tuple_text("ResidueRef", e.residue), '\'');
      },
      [](const E::ResidueDoesNotExist& e) {
        return concat("referenced residue not in residues '", tuple_text("ResidueRef", e.residue), '\'');
      },
      [](const E::InvalidChains& e) { return to_string(e.error); },
      [](const E::AtomsNotInResidues&) { return "atoms exist in the topology that are not in any residue"; },
      [](const E::AtomDoesNotExist& e) {
        return concat("invalid atom reference, listed twice or not in the topology '", tuple_text("AtomRef", e.atom),
                      '\'');
      },
      [](const E::InvalidTopology& e) { return to_string(e.error); },
      [](const E::InvalidResidues& e) { return to_string(e.error); });
}

std::string debug_string(const TRCError& error) {
  using E = TRCError;
  return render(
      error.value,
      [](const E::ResidueNotInChain& e) {
        return tuple_text("ResidueNotInChain", tuple_text("ResidueRef", e.residue));
      },
      [](const E::ResidueDoesNotExist& e) {
        return tuple_text("ResidueDoesNotExist", tuple_text("ResidueRef", e.residue));
      },
      [](const E::InvalidChains& e) { return tuple_text("InvalidChains", debug_string(e.error)); },
      [](const E::AtomsNotInResidues&) { return "AtomsNotInResidues"; },
      [](const E::AtomDoesNotExist& e) { return tuple_text("AtomDoesNotExist", tuple_text("AtomRef", e.atom)); },
      [](const E::InvalidTopology& e) { return tuple_text("InvalidTopology", debug_string(e.error)); },
      [](const E::InvalidResidues& e) { return tuple_text("InvalidResidues", debug_string(e.error)); });
}

}  // namespace redivi

namespace redivi::error {
namespace {

// "HIS @ 42", or "HIS @ ???" without a sequence number.
std::string residue_at(AminoAcidSeq aa, std::optional<std::int32_t> seq_n) {
  if (!seq_n) return concat(aa.name(), " @ ???");
  return concat(aa.name(), " @ ", *seq_n);
}

std::string sorted_list(std::vector<std::string> texts) {
  std::stable_sort(texts.begin(), texts.end());
  return quoted_list(texts);
}

RecordField aa_field(AminoAcidSeq aa) { return {"aa", std::string(aa.name())}; }

RecordField seq_n_field(std::optional<std::int32_t> seq_n) {
  if (!seq_n) return {"aa_seq_n", "none"};
  return {"aa_seq_n", *seq_n};
}

RecordField insertion_code_field(const std::optional<std::string>& code) {
  if (!code) return {"aa_insertion_code", "none"};
  return {"aa_insertion_code", quoted_text(*code)};
}

// "Name { aa: HIS, aa_seq_n: 42, atoms: ["H1"] }": a residue and some of its atom names.
template <class Payload>
std::string residue_atoms(std::string_view name, const Payload& e, std::string_view atoms_name,
                          const std::vector<std::string>& atoms) {
  return record_text(name, {aa_field(e.aa), seq_n_field(e.aa_seq_n), {atoms_name, quoted_list(atoms)}});
}

}  // namespace

std::string to_string(const Error& error) {
  using E = Error;
  return render(
      error.value,
      [](const E::BadTerminusError& e) {
        return concat("terminal residue has bad hydrogens, found '", quoted_list(e.found), '\'');
      },
      [](const E::ParseAminoAcid& e) { return concat("invalid amino acid name, found '", e.found, '\''); },
      [](const E::UnsupportedAminoAcidAtom& e) {
        return concat("unsupported amino acid atom '", e.amino_acid_atom, '\'');
      },
      [](const E::BadAtomLabel& e) { return concat("bad atom label: ", quoted_text(e.atom_label)); },
      [](const E::BadProtonationState& e) {
        return concat("bad protonation state for ", residue_at(e.aa, e.aa_seq_n), ": ", sorted_list(e.hydrogen_atoms),
                      " doesn't match a known state");
      },
      [](const E::ClashBetweenCovalentBinderAndHydrogen& e) {
        return concat("on ", residue_at(e.aa, e.aa_seq_n), ": the atom(s) ", sorted_list(e.clashing_atoms),
                      " clash with a covalent binder");
      },
      [](const E::MissingAminoAcidTopologyData&) {
        return "missing topology data (i.e. bond info) for this amino acid";
      },
      [](const E::MissingAminoAcidHeavyAtoms& e) {
        return concat("missing heavy atoms in ", residue_at(e.aa, e.aa_seq_n), ": ", quoted_list(e.missing_atoms),
                      " are missing");
      },
      [](const E::NoAminoAcidHydrogens& e) {
        return concat("amino acid ", residue_at(e.aa, e.aa_seq_n),
                      " is unprotonated, but protonation is required for this task");
      },
      [](const E::MissingAminoAcidTemplate& e) { return concat("missing template for ", e.aa.name()); },
      [](const E::DuplicateAtomsInAminoAcid& e) {
        return concat("duplicate atoms in ", residue_at(e.aa, e.aa_seq_n), ": ", quoted_list(e.duplicate_atoms),
                      " appear more than once");
      },
      [](const E::WrongAtomsInAminoAcid& e) {
        return concat("wrong atoms in ", residue_at(e.aa, e.aa_seq_n), ": ", quoted_list(e.wrong_atoms),
                      " should not be present");
      },
      [](const E::DuplicateAminoAcid& e) {
        return concat("duplicate amino acid with same seq_id and insertion code: ", e.aa_seq_n,
                      e.aa_insertion_code.value_or(""));
      });
}

std::string debug_string(const Error& error) {
  using E = Error;
  return render(
      error.value,
      [](const E::BadTerminusError& e) {
        return record_text("BadTerminusError", {{"found", quoted_list(e.found)}});
      },
      [](const E::ParseAminoAcid& e) {
        return record_text("ParseAminoAcid", {{"found", quoted_text(e.found)}});
      },
      [](const E::UnsupportedAminoAcidAtom& e) {
        return record_text("UnsupportedAminoAcidAtom", {{"amino_acid_atom", quoted_text(e.amino_acid_atom)}});
      },
      [](const E::BadAtomLabel& e) {
        return record_text("BadAtomLabel", {{"atom_label", quoted_text(e.atom_label)}});
      },
      [](const E::BadProtonationState& e) {
        return residue_atoms("BadProtonationState", e, "hydrogen_atoms", e.hydrogen_atoms);
      },
      [](const E::ClashBetweenCovalentBinderAndHydrogen& e) {
        return residue_atoms("ClashBetweenCovalentBinderAndHydrogen", e, "clashing_atoms", e.clashing_atoms);
      },
      [](const E::MissingAminoAcidTopologyData&) { return "MissingAminoAcidTopologyData"; },
      [](const E::MissingAminoAcidHeavyAtoms& e) {
        return residue_atoms("MissingAminoAcidHeavyAtoms", e, "missing_atoms", e.missing_atoms);
      },
      [](const E::NoAminoAcidHydrogens& e) {
        return record_text("NoAminoAcidHydrogens", {aa_field(e.aa), seq_n_field(e.aa_seq_n)});
      },
      [](const E::MissingAminoAcidTemplate& e) { return record_text("MissingAminoAcidTemplate", {aa_field(e.aa)}); },
      [](const E::DuplicateAtomsInAminoAcid& e) {
        return residue_atoms("DuplicateAtomsInAminoAcid", e, "duplicate_atoms", e.duplicate_atoms);
      },
      [](const E::WrongAtomsInAminoAcid& e) {
        return residue_atoms("WrongAtomsInAminoAcid", e, "wrong_atoms", e.wrong_atoms);
      },
      [](const E::DuplicateAminoAcid& e) {
        return record_text("DuplicateAminoAcid", {seq_n_field(e.aa_seq_n), insertion_code_field(e.aa_insertion_code)});
      });
}

}  // namespace redivi::error
