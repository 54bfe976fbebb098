// The amino-acid residue types known by name: which names they take, and every name's round trip.
#include "redivi/amino_acid.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace redivi {
namespace {

// The 38 residue type names in the order of their numbers.
constexpr std::string_view names[] = {"GLY", "ALA", "VAL", "LEU", "ILE", "PRO", "SER", "THR", "ASN", "GLN",
                                      "CYS", "CYD", "CYX", "MET", "PHE", "TYR", "TYD", "TRP", "ASP", "ASH",
                                      "GLU", "GLH", "HIS", "HIN", "HID", "HIE", "HIP", "LYS", "LYD", "LYN",
                                      "ARG", "HYP", "ACE", "BNC", "NME", "NMA", "NHH", "UNK"};

TEST(AminoAcidSeq, RecognisesNamesInUpperOrLowerCaseOnly) {
  struct Case {
    std::string_view name;
    AminoAcidSeq aa;
  };
  const Case cases[] = {{"GLY", AminoAcidSeq::GLY}, {"ALA", AminoAcidSeq::ALA}, {"ala", AminoAcidSeq::ALA},
                        {"hip", AminoAcidSeq::HIP}, {"ACE", AminoAcidSeq::ACE}, {"NHH", AminoAcidSeq::NHH},
                        {"UNK", AminoAcidSeq::UNK}, {"unk", AminoAcidSeq::UNK}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(AminoAcidSeq::is_amino_acid(c.name));
    const auto aa = AminoAcidSeq::from_pdb_std_name(c.name);
    ASSERT_TRUE(aa.has_value());
    EXPECT_EQ(*aa, c.aa);
  }
  EXPECT_EQ(AminoAcidSeq::ALA.value(), 1);
  EXPECT_EQ(AminoAcidSeq::UNK.value(), 37);
}

TEST(AminoAcidSeq, RejectsOtherNamesWithTheInputInTheError) {
  for (std::string_view name : {"Ala", "aLA", "HOH", "LIG", "", " ALA", "ALA ", "AL", "GLYY", "Unk"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(AminoAcidSeq::is_amino_acid(name));
    const auto aa = AminoAcidSeq::from_pdb_std_name(name);
    ASSERT_FALSE(aa.has_value());
    EXPECT_EQ(aa.error(), error::Error{error::Error::ParseAminoAcid{std::string(name)}});
  }
  EXPECT_EQ(to_string(AminoAcidSeq::from_pdb_std_name("").error()), "invalid amino acid name, found ''");
}

TEST(AminoAcidSeq, EveryValueRoundTripsThroughItsName) {
  for (std::uint8_t number = 0; number < AminoAcidSeq::count; ++number) {
    const auto aa = AminoAcidSeq::from_pdb_std_name(names[number]);
    ASSERT_TRUE(aa.has_value()) << names[number];
    EXPECT_EQ(aa->value(), number);
    EXPECT_EQ(aa->name(), names[number]);
  }
  EXPECT_EQ(to_string(AminoAcidSeq::HIE), "HIE");
}

}  // namespace
}  // namespace redivi
