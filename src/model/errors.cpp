// Display and debug texts of the model's validation errors and of the library error.
#include "redivi/error.hpp"

#include <algorithm>

#include "text/quoted.hpp"
#include "redivi/trc.hpp"
#include "text/text.hpp"

namespace redivi {
namespace {

template <class... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};

std::string atom_ref(AtomRef atom) { return text::concat("AtomRef(", atom, ')'); }
std::string residue_ref(ResidueRef residue) { return text::concat("ResidueRef(", residue, ')'); }
std::string fragment_ref(FragmentRef fragment) { return text::concat("FragmentRef(", fragment, ')'); }

// "Name(first, second)": the debug text of a variant carrying two counts.
std::string counts(std::string_view name, std::size_t first, std::size_t second) {
  return text::concat(name, '(', first, ", ", second, ')');
}

// "Name(inner)": the debug text of a variant carrying one value.
std::string wrapping(std::string_view name, const std::string& inner) { return text::concat(name, '(', inner, ')'); }

}  // namespace

std::string to_string(const TopologyError& error) {
  using E = TopologyError;
  using text::concat;
  return std::visit(
      Overloaded{
          [](const E::InvalidGeometryLength& e) {
            return concat("geometry length does not symbol length * 3: ", e.geometry_length, " != ", e.atom_count,
                          " * 3");
          },
          [](const E::InvalidLabelsLength& e) {
            return concat("labels length does not match symbols length: ", e.labels_length, " != ", e.atom_count);
          },
          [](const E::InvalidPartialChargesLength& e) {
            return concat("partial charges length does not match symbols length: ", e.length, " != ", e.atom_count);
          },
          [](const E::InvalidFormalChargesLength& e) {
            return concat("formal charges length does not match symbols length: ", e.length, " != ", e.atom_count);
          },
          [](const E::InvalidConnectivity& e) {
            return concat("invalid connectivity between: ", atom_ref(e.first), " and ", atom_ref(e.second));
          },
          [](const E::InvalidStereochemistryExistence&) {
            return std::string("stereochemistry exists but connectivity does not");
          },
          [](const E::InvalidStereochemistryLength& e) {
            return concat("stereochemistry length does not match connectivity length: ", e.stereochemistry_length,
                          " != ", e.connectivity_length);
          },
          [](const E::InvalidVelocitiesLength& e) {
            return concat("velocities length does not match symbols length: ", e.velocities_length,
                          " != ", e.atom_count);
          },
          [](const E::InvalidFragments&) { return std::string("invalid fragments"); },
          [](const E::InvalidFragmentRef& e) { return concat("invalid fragment reference: ", e.fragment); },
          [](const E::InvalidFragmentFormalChargesLength& e) {
            return concat("fragment formal charges length does not match fragment length: ", e.length,
                          " != ", e.fragment_count);
          },
          [](const E::InvalidFragmentPartialChargesLength& e) {
            return concat("fragment partial charges length does not match fragment length: ", e.length,
                          " != ", e.fragment_count);
          },
          [](const E::InvalidFragmentMultiplicitiesLength& e) {
            return concat("fragment multiplicities length does not match fragment length: ", e.length,
                          " != ", e.fragment_count);
          },
      },
      error.value);
}

std::string debug_string(const TopologyError& error) {
  using E = TopologyError;
  return std::visit(
      Overloaded{
          [](const E::InvalidGeometryLength& e) {
            return counts("InvalidGeometryLength", e.geometry_length, e.atom_count);
          },
          [](const E::InvalidLabelsLength& e) { return counts("InvalidLabelsLength", e.labels_length, e.atom_count); },
          [](const E::InvalidPartialChargesLength& e) {
            return counts("InvalidPartialChargesLength", e.length, e.atom_count);
          },
          [](const E::InvalidFormalChargesLength& e) {
            return counts("InvalidFormalChargesLength", e.length, e.atom_count);
          },
          [](const E::InvalidConnectivity& e) {
            return text::concat("InvalidConnectivity(", atom_ref(e.first), ", ", atom_ref(e.second), ')');
          },
          [](const E::InvalidStereochemistryExistence&) { return std::string("InvalidStereochemistryExistence"); },
          [](const E::InvalidStereochemistryLength& e) {
            return counts("InvalidStereochemistryLength", e.stereochemistry_length, e.connectivity_length);
          },
          [](const E::InvalidVelocitiesLength& e) {
            return counts("InvalidVelocitiesLength", e.velocities_length, e.atom_count);
          },
          [](const E::InvalidFragments&) { return std::string("InvalidFragments"); },
          [](const E::InvalidFragmentRef& e) { return wrapping("InvalidFragmentRef", fragment_ref(e.fragment)); },
          [](const E::InvalidFragmentFormalChargesLength& e) {
            return counts("InvalidFragmentFormalChargesLength", e.length, e.fragment_count);
          },
          [](const E::InvalidFragmentPartialChargesLength& e) {
            return counts("InvalidFragmentPartialChargesLength", e.length, e.fragment_count);
          },
          [](const E::InvalidFragmentMultiplicitiesLength& e) {
            return counts("InvalidFragmentMultiplicitiesLength", e.length, e.fragment_count);
          },
      },
      error.value);
}

std::string to_string(const ResiduesError& error) {
  using E = ResiduesError;
  auto lengths = [](std::string_view what, std::size_t first, std::size_t second) {
    return text::concat(what, " (", first, " != ", second, ')');
  };
  return std::visit(Overloaded{
                        [&](const E::LabelMismatch& e) {
                          return lengths("labeled and labels have different lengths", e.labeled_length,
                                         e.labels_length);
                        },
                        [&](const E::InvalidLabel& e) {
                          return lengths("a nonexistent residue was labeled", e.labeled_length, e.residue_count);
                        },
                        [](const E::LabelsMissing&) { return std::string("labels are missing"); },
                        [](const E::LabeledMissing&) { return std::string("labeled is missing"); },
                        [&](const E::InvalidSeqsLength& e) {
                          return lengths("seqs and residues have different lengths", e.seqs_length, e.residue_count);
                        },
                        [&](const E::InvalidSeqNLength& e) {
                          return lengths("seq_ns and residues have different lengths", e.seq_ns_length, e.seqs_length);
                        },
                        [&](const E::InvalidInsertionCodesLength& e) {
                          return lengths("insertion_codes and residues have different lengths",
                                         e.insertion_codes_length, e.seqs_length);
                        },
                    },
                    error.value);
}

std::string debug_string(const ResiduesError& error) {
  using E = ResiduesError;
  return std::visit(
      Overloaded{
          [](const E::LabelMismatch& e) { return counts("LabelMismatch", e.labeled_length, e.labels_length); },
          [](const E::InvalidLabel& e) { return counts("InvalidLabel", e.labeled_length, e.residue_count); },
          [](const E::LabelsMissing&) { return std::string("LabelsMissing"); },
          [](const E::LabeledMissing&) { return std::string("LabeledMissing"); },
          [](const E::InvalidSeqsLength& e) { return counts("InvalidSeqsLength", e.seqs_length, e.residue_count); },
          [](const E::InvalidSeqNLength& e) { return counts("InvalidSeqNLength", e.seq_ns_length, e.seqs_length); },
          [](const E::InvalidInsertionCodesLength& e) {
            return counts("InvalidInsertionCodesLength", e.insertion_codes_length, e.seqs_length);
          },
      },
      error.value);
}

std::string to_string(ChainsError error) {
  switch (error) {
    case ChainsError::LabelMismatch: return "labeled and labels have different lengths";
    case ChainsError::LabelsMissing: return "labels are missing";
    case ChainsError::LabeledMissing: return "labeled is missing";
  }
  return {};
}

std::string debug_string(ChainsError error) {
  switch (error) {
    case ChainsError::LabelMismatch: return "LabelMismatch";
    case ChainsError::LabelsMissing: return "LabelsMissing";
    case ChainsError::LabeledMissing: return "LabeledMissing";
  }
  return {};
}

std::string to_string(const TRCError& error) {
  using E = TRCError;
  using text::concat;
  return std::visit(Overloaded{
                        [](const E::ResidueNotInChain& e) {
                          return concat("residue not in any chain '", residue_ref(e.residue), '\'');
                        },
                        [](const E::ResidueDoesNotExist& e) {
                          return concat("referenced residue not in residues '", residue_ref(e.residue), '\'');
                        },
                        [](const E::InvalidChains& e) { return to_string(e.error); },
                        [](const E::AtomsNotInResidues&) {
                          return std::string("atoms exist in the topology that are not in any residue");
                        },
                        [](const E::AtomDoesNotExist& e) {
                          return concat("invalid atom reference, listed twice or not in the topology '", atom_ref(e.atom), '\'');
                        },
                        [](const E::InvalidTopology& e) { return to_string(e.error); },
                        [](const E::InvalidResidues& e) { return to_string(e.error); },
                    },
                    error.value);
}

std::string debug_string(const TRCError& error) {
  using E = TRCError;
  return std::visit(
      Overloaded{
          [](const E::ResidueNotInChain& e) { return wrapping("ResidueNotInChain", residue_ref(e.residue)); },
          [](const E::ResidueDoesNotExist& e) { return wrapping("ResidueDoesNotExist", residue_ref(e.residue)); },
          [](const E::InvalidChains& e) { return wrapping("InvalidChains", debug_string(e.error)); },
          [](const E::AtomsNotInResidues&) { return std::string("AtomsNotInResidues"); },
          [](const E::AtomDoesNotExist& e) { return wrapping("AtomDoesNotExist", atom_ref(e.atom)); },
          [](const E::InvalidTopology& e) { return wrapping("InvalidTopology", debug_string(e.error)); },
          [](const E::InvalidResidues& e) { return wrapping("InvalidResidues", debug_string(e.error)); },
      },
      error.value);
}

}  // namespace redivi

namespace redivi::error {
namespace {

using text::concat;

// "HIS @ 42", or "HIS @ ???" without a sequence number.
std::string residue_at(AminoAcidSeq aa, std::optional<std::int32_t> seq_n) {
  if (!seq_n) return concat(aa.name(), " @ ???");
  return concat(aa.name(), " @ ", *seq_n);
}

std::string list_text(const std::vector<std::string>& texts) {
  std::string out;
  quoted::append_list(out, texts);
  return out;
}

std::string sorted_list_text(std::vector<std::string> texts) {
  std::stable_sort(texts.begin(), texts.end());
  return list_text(texts);
}

std::string quoted_text(std::string_view value) {
  std::string out;
  quoted::append(out, value);
  return out;
}

// The debug text of a value: its name, then its fields as "name: value" pairs in braces.
class Record {
 public:
  explicit Record(std::string_view name) : out_{name} {}

  Record& text(std::string_view name, std::string_view value) { return raw(name, quoted_text(value)); }
  Record& list(std::string_view name, const std::vector<std::string>& value) { return raw(name, list_text(value)); }
  Record& aa(AminoAcidSeq value) { return raw("aa", value.name()); }
  Record& seq_n(std::optional<std::int32_t> value) {
    return raw("aa_seq_n", value ? concat(*value) : std::string("none"));
  }
  Record& insertion_code(const std::optional<std::string>& value) {
    return raw("aa_insertion_code", value ? quoted_text(*value) : std::string("none"));
  }
  std::string finish() {
    if (has_fields_) out_ += " }";
    return std::move(out_);
  }

 private:
  Record& raw(std::string_view name, std::string_view value) {
    out_ += has_fields_ ? ", " : " { ";
    has_fields_ = true;
    out_ += name;
    out_ += ": ";
    out_ += value;
    return *this;
  }

  std::string out_;
  bool has_fields_ = false;
};

}  // namespace

std::string to_string(const Error& error) {
  using E = Error;
  return std::visit(
      Overloaded{
          [](const E::BadTerminusError& e) {
            return concat("terminal residue has bad hydrogens, found '", list_text(e.found), '\'');
          },
          [](const E::ParseAminoAcid& e) { return concat("invalid amino acid name, found '", e.found, '\''); },
          [](const E::UnsupportedAminoAcidAtom& e) {
            return concat("unsupported amino acid atom '", e.amino_acid_atom, '\'');
          },
          [](const E::BadAtomLabel& e) { return concat("bad atom label: ", quoted_text(e.atom_label)); },
          [](const E::BadProtonationState& e) {
            return concat("bad protonation state for ", residue_at(e.aa, e.aa_seq_n), ": ",
                          sorted_list_text(e.hydrogen_atoms), " doesn't match a known state");
          },
          [](const E::ClashBetweenCovalentBinderAndHydrogen& e) {
            return concat("on ", residue_at(e.aa, e.aa_seq_n), ": the atom(s) ", sorted_list_text(e.clashing_atoms),
                          " clash with a covalent binder");
          },
          [](const E::MissingAminoAcidTopologyData&) {
            return std::string("missing topology data (i.e. bond info) for this amino acid");
          },
          [](const E::MissingAminoAcidHeavyAtoms& e) {
            return concat("missing heavy atoms in ", residue_at(e.aa, e.aa_seq_n), ": ", list_text(e.missing_atoms),
                          " are missing");
          },
          [](const E::NoAminoAcidHydrogens& e) {
            return concat("amino acid ", residue_at(e.aa, e.aa_seq_n),
                          " is unprotonated, but protonation is required for this task");
          },
          [](const E::MissingAminoAcidTemplate& e) { return concat("missing template for ", e.aa.name()); },
          [](const E::DuplicateAtomsInAminoAcid& e) {
            return concat("duplicate atoms in ", residue_at(e.aa, e.aa_seq_n), ": ", list_text(e.duplicate_atoms),
                          " appear more than once");
          },
          [](const E::WrongAtomsInAminoAcid& e) {
            return concat("wrong atoms in ", residue_at(e.aa, e.aa_seq_n), ": ", list_text(e.wrong_atoms),
                          " should not be present");
          },
          [](const E::DuplicateAminoAcid& e) {
            return concat("duplicate amino acid with same seq_id and insertion code: ", e.aa_seq_n,
                          e.aa_insertion_code.value_or(""));
          },
      },
      error.value);
}

std::string debug_string(const Error& error) {
  using E = Error;
  return std::visit(
      Overloaded{
          [](const E::BadTerminusError& e) { return Record("BadTerminusError").list("found", e.found).finish(); },
          [](const E::ParseAminoAcid& e) { return Record("ParseAminoAcid").text("found", e.found).finish(); },
          [](const E::UnsupportedAminoAcidAtom& e) {
            return Record("UnsupportedAminoAcidAtom").text("amino_acid_atom", e.amino_acid_atom).finish();
          },
          [](const E::BadAtomLabel& e) { return Record("BadAtomLabel").text("atom_label", e.atom_label).finish(); },
          [](const E::BadProtonationState& e) {
            return Record("BadProtonationState")
                .aa(e.aa)
                .seq_n(e.aa_seq_n)
                .list("hydrogen_atoms", e.hydrogen_atoms)
                .finish();
          },
          [](const E::ClashBetweenCovalentBinderAndHydrogen& e) {
            return Record("ClashBetweenCovalentBinderAndHydrogen")
                .aa(e.aa)
                .seq_n(e.aa_seq_n)
                .list("clashing_atoms", e.clashing_atoms)
                .finish();
          },
          [](const E::MissingAminoAcidTopologyData&) { return std::string("MissingAminoAcidTopologyData"); },
          [](const E::MissingAminoAcidHeavyAtoms& e) {
            return Record("MissingAminoAcidHeavyAtoms")
                .aa(e.aa)
                .seq_n(e.aa_seq_n)
                .list("missing_atoms", e.missing_atoms)
                .finish();
          },
          [](const E::NoAminoAcidHydrogens& e) {
            return Record("NoAminoAcidHydrogens").aa(e.aa).seq_n(e.aa_seq_n).finish();
          },
          [](const E::MissingAminoAcidTemplate& e) { return Record("MissingAminoAcidTemplate").aa(e.aa).finish(); },
          [](const E::DuplicateAtomsInAminoAcid& e) {
            return Record("DuplicateAtomsInAminoAcid")
                .aa(e.aa)
                .seq_n(e.aa_seq_n)
                .list("duplicate_atoms", e.duplicate_atoms)
                .finish();
          },
          [](const E::WrongAtomsInAminoAcid& e) {
            return Record("WrongAtomsInAminoAcid")
                .aa(e.aa)
                .seq_n(e.aa_seq_n)
                .list("wrong_atoms", e.wrong_atoms)
                .finish();
          },
          [](const E::DuplicateAminoAcid& e) {
            return Record("DuplicateAminoAcid").seq_n(e.aa_seq_n).insertion_code(e.aa_insertion_code).finish();
          },
      },
      error.value);
}

}  // namespace redivi::error
