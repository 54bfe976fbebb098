// Display and debug texts of the model's errors and of the library error, word for word.
#include "redivi/error.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "redivi/trc.hpp"

namespace redivi {
namespace {

struct Texts {
  std::string display, debug;
};

template <class Error>
struct Case {
  Error error;
  Texts texts;
};

template <class Error, std::size_t N>
void expect_texts(const Case<Error> (&cases)[N]) {
  for (const Case<Error>& c : cases) {
    SCOPED_TRACE(c.texts.debug);
    EXPECT_EQ(to_string(c.error), c.texts.display);
    EXPECT_EQ(debug_string(c.error), c.texts.debug);
  }
}

TEST(TopologyErrorText, FillsCountsAndReferences) {
  using E = TopologyError;
  const Case<E> cases[] = {
      {{E::InvalidGeometryLength{7, 2}},
       {"geometry length does not symbol length * 3: 7 != 2 * 3", "InvalidGeometryLength(7, 2)"}},
      {{E::InvalidLabelsLength{0, 2}},
       {"labels length does not match symbols length: 0 != 2", "InvalidLabelsLength(0, 2)"}},
      {{E::InvalidPartialChargesLength{3, 2}},
       {"partial charges length does not match symbols length: 3 != 2", "InvalidPartialChargesLength(3, 2)"}},
      {{E::InvalidFormalChargesLength{1, 2}},
       {"formal charges length does not match symbols length: 1 != 2", "InvalidFormalChargesLength(1, 2)"}},
      {{E::InvalidConnectivity{1, 1}},
       {"invalid connectivity between: AtomRef(1) and AtomRef(1)", "InvalidConnectivity(AtomRef(1), AtomRef(1))"}},
      {{E::InvalidConnectivity{0, 4294967295u}},
       {"invalid connectivity between: AtomRef(0) and AtomRef(4294967295)",
        "InvalidConnectivity(AtomRef(0), AtomRef(4294967295))"}},
      {{E::InvalidStereochemistryExistence{}},
       {"stereochemistry exists but connectivity does not", "InvalidStereochemistryExistence"}},
      {{E::InvalidStereochemistryLength{0, 1}},
       {"stereochemistry length does not match connectivity length: 0 != 1", "InvalidStereochemistryLength(0, 1)"}},
      {{E::InvalidVelocitiesLength{3, 3}},
       {"velocities length does not match symbols length: 3 != 3", "InvalidVelocitiesLength(3, 3)"}},
      {{E::InvalidFragments{}}, {"invalid fragments", "InvalidFragments"}},
      {{E::InvalidFragmentRef{7}}, {"invalid fragment reference: 7", "InvalidFragmentRef(FragmentRef(7))"}},
      {{E::InvalidFragmentFormalChargesLength{1, 2}},
       {"fragment formal charges length does not match fragment length: 1 != 2",
        "InvalidFragmentFormalChargesLength(1, 2)"}},
      {{E::InvalidFragmentPartialChargesLength{2, 1}},
       {"fragment partial charges length does not match fragment length: 2 != 1",
        "InvalidFragmentPartialChargesLength(2, 1)"}},
      {{E::InvalidFragmentMultiplicitiesLength{0, 1}},
       {"fragment multiplicities length does not match fragment length: 0 != 1",
        "InvalidFragmentMultiplicitiesLength(0, 1)"}},
  };
  expect_texts(cases);
}

TEST(ResiduesErrorText, PrintsCountsInFieldOrder) {
  using E = ResiduesError;
  const Case<E> cases[] = {
      {{E::LabelMismatch{2, 1}}, {"labeled and labels have different lengths (2 != 1)", "LabelMismatch(2, 1)"}},
      {{E::InvalidLabel{2, 1}}, {"a nonexistent residue was labeled (2 != 1)", "InvalidLabel(2, 1)"}},
      {{E::LabelsMissing{}}, {"labels are missing", "LabelsMissing"}},
      {{E::LabeledMissing{}}, {"labeled is missing", "LabeledMissing"}},
      {{E::InvalidSeqsLength{3, 4}}, {"seqs and residues have different lengths (3 != 4)", "InvalidSeqsLength(3, 4)"}},
      {{E::InvalidSeqNLength{0, 4}},
       {"seq_ns and residues have different lengths (0 != 4)", "InvalidSeqNLength(0, 4)"}},
      {{E::InvalidInsertionCodesLength{5, 4}},
       {"insertion_codes and residues have different lengths (5 != 4)", "InvalidInsertionCodesLength(5, 4)"}},
  };
  expect_texts(cases);
}

TEST(TRCErrorText, ShowsReferencesAndWrapsInnerTextsUnchanged) {
  using E = TRCError;
  const Case<E> cases[] = {
      {{E::ResidueNotInChain{3}}, {"residue not in any chain 'ResidueRef(3)'", "ResidueNotInChain(ResidueRef(3))"}},
      {{E::ResidueDoesNotExist{0}},
       {"referenced residue not in residues 'ResidueRef(0)'", "ResidueDoesNotExist(ResidueRef(0))"}},
      {{E::InvalidChains{ChainsError::LabelMismatch}},
       {"labeled and labels have different lengths", "InvalidChains(LabelMismatch)"}},
      {{E::InvalidChains{ChainsError::LabelsMissing}}, {"labels are missing", "InvalidChains(LabelsMissing)"}},
      {{E::InvalidChains{ChainsError::LabeledMissing}}, {"labeled is missing", "InvalidChains(LabeledMissing)"}},
      {{E::AtomsNotInResidues{}}, {"atoms exist in the topology that are not in any residue", "AtomsNotInResidues"}},
      {{E::AtomDoesNotExist{7}},
       {"invalid atom reference, listed twice or not in the topology 'AtomRef(7)'", "AtomDoesNotExist(AtomRef(7))"}},
      {{E::InvalidTopology{{TopologyError::InvalidFragments{}}}},
       {"invalid fragments", "InvalidTopology(InvalidFragments)"}},
      {{E::InvalidTopology{{TopologyError::InvalidFragmentRef{2}}}},
       {"invalid fragment reference: 2", "InvalidTopology(InvalidFragmentRef(FragmentRef(2)))"}},
      {{E::InvalidResidues{{ResiduesError::LabelMismatch{2, 1}}}},
       {"labeled and labels have different lengths (2 != 1)", "InvalidResidues(LabelMismatch(2, 1))"}},
  };
  expect_texts(cases);
}

TEST(LibraryErrorText, FillsTemplatesWithNamesPositionsAndLists) {
  using E = error::Error;
  const AminoAcidSeq his = AminoAcidSeq::HIS;
  const Case<E> cases[] = {
      {{E::BadTerminusError{{}}}, {"terminal residue has bad hydrogens, found '[]'", "BadTerminusError { found: [] }"}},
      {{E::BadTerminusError{{"H1", "H2"}}},
       {R"(terminal residue has bad hydrogens, found '["H1", "H2"]')", R"(BadTerminusError { found: ["H1", "H2"] })"}},
      {{E::ParseAminoAcid{"Xyz"}}, {"invalid amino acid name, found 'Xyz'", R"(ParseAminoAcid { found: "Xyz" })"}},
      {{E::ParseAminoAcid{"a\"b"}}, {"invalid amino acid name, found 'a\"b'", R"(ParseAminoAcid { found: "a\"b" })"}},
      {{E::UnsupportedAminoAcidAtom{"HZ9"}},
       {"unsupported amino acid atom 'HZ9'", R"(UnsupportedAminoAcidAtom { amino_acid_atom: "HZ9" })"}},
      {{E::BadAtomLabel{"CA"}}, {R"(bad atom label: "CA")", R"(BadAtomLabel { atom_label: "CA" })"}},
      {{E::BadProtonationState{his, 42, {"HE2", "HD1", "H"}}},
       {R"(bad protonation state for HIS @ 42: ["H", "HD1", "HE2"] doesn't match a known state)",
        R"(BadProtonationState { aa: HIS, aa_seq_n: 42, hydrogen_atoms: ["HE2", "HD1", "H"] })"}},
      {{E::BadProtonationState{his, std::nullopt, {}}},
       {"bad protonation state for HIS @ ???: [] doesn't match a known state",
        "BadProtonationState { aa: HIS, aa_seq_n: none, hydrogen_atoms: [] }"}},
      {{E::ClashBetweenCovalentBinderAndHydrogen{AminoAcidSeq::CYS, -3, {"HG", "hb", "HB3", "HB2"}}},
       {R"(on CYS @ -3: the atom(s) ["HB2", "HB3", "HG", "hb"] clash with a covalent binder)",
        R"(ClashBetweenCovalentBinderAndHydrogen { aa: CYS, aa_seq_n: -3, clashing_atoms: ["HG", "hb", "HB3", "HB2"] })"}},
      {{E::MissingAminoAcidTopologyData{}},
       {"missing topology data (i.e. bond info) for this amino acid", "MissingAminoAcidTopologyData"}},
      {{E::MissingAminoAcidHeavyAtoms{AminoAcidSeq::ALA, 1, {"CB", "CA"}}},
       {R"(missing heavy atoms in ALA @ 1: ["CB", "CA"] are missing)",
        R"(MissingAminoAcidHeavyAtoms { aa: ALA, aa_seq_n: 1, missing_atoms: ["CB", "CA"] })"}},
      {{E::NoAminoAcidHydrogens{AminoAcidSeq::GLY, std::nullopt}},
       {"amino acid GLY @ ??? is unprotonated, but protonation is required for this task",
        "NoAminoAcidHydrogens { aa: GLY, aa_seq_n: none }"}},
      {{E::MissingAminoAcidTemplate{AminoAcidSeq::UNK}},
       {"missing template for UNK", "MissingAminoAcidTemplate { aa: UNK }"}},
      {{E::DuplicateAtomsInAminoAcid{AminoAcidSeq::SER, 5, {"OG", "OG"}}},
       {R"(duplicate atoms in SER @ 5: ["OG", "OG"] appear more than once)",
        R"(DuplicateAtomsInAminoAcid { aa: SER, aa_seq_n: 5, duplicate_atoms: ["OG", "OG"] })"}},
      {{E::WrongAtomsInAminoAcid{AminoAcidSeq::GLY, 2, {"CB"}}},
       {R"(wrong atoms in GLY @ 2: ["CB"] should not be present)",
        R"(WrongAtomsInAminoAcid { aa: GLY, aa_seq_n: 2, wrong_atoms: ["CB"] })"}},
      {{E::DuplicateAminoAcid{7, "A"}},
       {"duplicate amino acid with same seq_id and insertion code: 7A",
        R"(DuplicateAminoAcid { aa_seq_n: 7, aa_insertion_code: "A" })"}},
      {{E::DuplicateAminoAcid{-7, std::nullopt}},
       {"duplicate amino acid with same seq_id and insertion code: -7",
        "DuplicateAminoAcid { aa_seq_n: -7, aa_insertion_code: none }"}},
  };
  expect_texts(cases);
}

TEST(LibraryErrorText, EscapesQuotedTexts) {
  struct Quoting {
    std::string label, quoted;
  };
  const Quoting cases[] = {
      {"", R"("")"},
      {"say \"hi\"", R"("say \"hi\"")"},
      {"back\\slash", R"("back\\slash")"},
      {"it's", R"("it's")"},
      {"a\nb\tc\rd", R"("a\nb\tc\rd")"},
      {std::string("nul\0!", 5), R"("nul\0!")"},
      {"\x1b[0m\x7f", R"("\u{1b}[0m\u{7f}")"},
      {"\xc2\x85", R"("\u{85}")"},                          // a control character beyond ASCII
      {"zero\xe2\x80\x8bwidth", R"("zero\u{200b}width")"},  // an invisible format character
      {"\xc3\xa9\xe2\x84\xab \xf0\x9f\x98\x80", "\"\xc3\xa9\xe2\x84\xab \xf0\x9f\x98\x80\""},  // printable
      {"\xff\xc3", R"("\xff\xc3")"},                                                           // not UTF-8
      {"\xed\xa0\x80", R"("\xed\xa0\x80")"},  // an encoded surrogate is no character
      {"\xc0\xaf", R"("\xc0\xaf")"},          // an overlong form is no character
  };
  for (const Quoting& c : cases) {
    SCOPED_TRACE(c.quoted);
    EXPECT_EQ(to_string(error::Error{error::Error::BadAtomLabel{c.label}}), "bad atom label: " + c.quoted);
  }
}

}  // namespace
}  // namespace redivi
