// Amino-acid residue types known by their three-letter names.
#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include "redivi/export.hpp"

namespace redivi {

namespace error {
struct Error;
}

// A residue type, not a sequence: one of 38 types known by three-letter name (amino acids in their
// protonation forms, caps such as ACE and NME, and UNK), GLY (0) to UNK (37) in the order declared below.
class REDIVI_EXPORT AminoAcidSeq {
 public:
  static constexpr std::uint8_t count = 38;

  // True for the 38 names in upper case or in lower case, exactly three bytes long.
  static bool is_amino_acid(std::string_view name) noexcept;
  // The type of that name, taken as is_amino_acid takes it; else ParseAminoAcid holding the name.
  static std::expected<AminoAcidSeq, error::Error> from_pdb_std_name(std::string_view name);

  // The three-letter upper-case name, for display and debug text alike.
  std::string_view name() const noexcept;
  // 0 (GLY) to 37 (UNK).
  constexpr std::uint8_t value() const noexcept { return number_; }

  friend constexpr bool operator==(AminoAcidSeq, AminoAcidSeq) = default;

  // Every type by its name, in the order of their numbers.
  static const AminoAcidSeq GLY;
  static const AminoAcidSeq ALA;
  static const AminoAcidSeq VAL;
  static const AminoAcidSeq LEU;
  static const AminoAcidSeq ILE;
  static const AminoAcidSeq PRO;
  static const AminoAcidSeq SER;
  static const AminoAcidSeq THR;
  static const AminoAcidSeq ASN;
  static const AminoAcidSeq GLN;
  static const AminoAcidSeq CYS;
  static const AminoAcidSeq CYD;
  static const AminoAcidSeq CYX;
  static const AminoAcidSeq MET;
  static const AminoAcidSeq PHE;
  static const AminoAcidSeq TYR;
  static const AminoAcidSeq TYD;
  static const AminoAcidSeq TRP;
  static const AminoAcidSeq ASP;
  static const AminoAcidSeq ASH;
  static const AminoAcidSeq GLU;
  static const AminoAcidSeq GLH;
  static const AminoAcidSeq HIS;
  static const AminoAcidSeq HIN;
  static const AminoAcidSeq HID;
  static const AminoAcidSeq HIE;
  static const AminoAcidSeq HIP;
  static const AminoAcidSeq LYS;
  static const AminoAcidSeq LYD;
  static const AminoAcidSeq LYN;
  static const AminoAcidSeq ARG;
  static const AminoAcidSeq HYP;
  static const AminoAcidSeq ACE;
  static const AminoAcidSeq BNC;
  static const AminoAcidSeq NME;
  static const AminoAcidSeq NMA;
  static const AminoAcidSeq NHH;
  static const AminoAcidSeq UNK;

 private:
  constexpr explicit AminoAcidSeq(std::uint8_t number) : number_{number} {}
  std::uint8_t number_ = 0;
};

inline constexpr AminoAcidSeq AminoAcidSeq::GLY{0};
inline constexpr AminoAcidSeq AminoAcidSeq::ALA{1};
inline constexpr AminoAcidSeq AminoAcidSeq::VAL{2};
inline constexpr AminoAcidSeq AminoAcidSeq::LEU{3};
inline constexpr AminoAcidSeq AminoAcidSeq::ILE{4};
inline constexpr AminoAcidSeq AminoAcidSeq::PRO{5};
inline constexpr AminoAcidSeq AminoAcidSeq::SER{6};
inline constexpr AminoAcidSeq AminoAcidSeq::THR{7};
inline constexpr AminoAcidSeq AminoAcidSeq::ASN{8};
inline constexpr AminoAcidSeq AminoAcidSeq::GLN{9};
inline constexpr AminoAcidSeq AminoAcidSeq::CYS{10};
inline constexpr AminoAcidSeq AminoAcidSeq::CYD{11};
inline constexpr AminoAcidSeq AminoAcidSeq::CYX{12};
inline constexpr AminoAcidSeq AminoAcidSeq::MET{13};
inline constexpr AminoAcidSeq AminoAcidSeq::PHE{14};
inline constexpr AminoAcidSeq AminoAcidSeq::TYR{15};
inline constexpr AminoAcidSeq AminoAcidSeq::TYD{16};
inline constexpr AminoAcidSeq AminoAcidSeq::TRP{17};
inline constexpr AminoAcidSeq AminoAcidSeq::ASP{18};
inline constexpr AminoAcidSeq AminoAcidSeq::ASH{19};
inline constexpr AminoAcidSeq AminoAcidSeq::GLU{20};
inline constexpr AminoAcidSeq AminoAcidSeq::GLH{21};
inline constexpr AminoAcidSeq AminoAcidSeq::HIS{22};
inline constexpr AminoAcidSeq AminoAcidSeq::HIN{23};
inline constexpr AminoAcidSeq AminoAcidSeq::HID{24};
inline constexpr AminoAcidSeq AminoAcidSeq::HIE{25};
inline constexpr AminoAcidSeq AminoAcidSeq::HIP{26};
inline constexpr AminoAcidSeq AminoAcidSeq::LYS{27};
inline constexpr AminoAcidSeq AminoAcidSeq::LYD{28};
inline constexpr AminoAcidSeq AminoAcidSeq::LYN{29};
inline constexpr AminoAcidSeq AminoAcidSeq::ARG{30};
inline constexpr AminoAcidSeq AminoAcidSeq::HYP{31};
inline constexpr AminoAcidSeq AminoAcidSeq::ACE{32};
inline constexpr AminoAcidSeq AminoAcidSeq::BNC{33};
inline constexpr AminoAcidSeq AminoAcidSeq::NME{34};
inline constexpr AminoAcidSeq AminoAcidSeq::NMA{35};
inline constexpr AminoAcidSeq AminoAcidSeq::NHH{36};
inline constexpr AminoAcidSeq AminoAcidSeq::UNK{37};

// The three-letter name.
inline std::string to_string(AminoAcidSeq aa) { return std::string(aa.name()); }

}  // namespace redivi

// The library error holds residue types and from_pdb_std_name returns it, so it is defined once
// AminoAcidSeq is: either header alone then gives both types complete.
#include "redivi/error.hpp"
