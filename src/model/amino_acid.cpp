// The amino-acid residue types known by their three-letter names.
#include "redivi/amino_acid.hpp"

#include <array>
#include <optional>
#include <string>

#include "redivi/error.hpp"

namespace redivi {
namespace {

constexpr std::array<std::string_view, AminoAcidSeq::count> names = {
    "GLY", "ALA", "VAL", "LEU", "ILE", "PRO", "SER", "THR", "ASN", "GLN", "CYS", "CYD", "CYX",
    "MET", "PHE", "TYR", "TYD", "TRP", "ASP", "ASH", "GLU", "GLH", "HIS", "HIN", "HID", "HIE",
    "HIP", "LYS", "LYD", "LYN", "ARG", "HYP", "ACE", "BNC", "NME", "NMA", "NHH", "UNK"};

constexpr char to_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A name matches in upper case as listed, or entirely in lower case; nothing is trimmed.
constexpr std::optional<std::uint8_t> find_amino_acid(std::string_view name) {
  if (name.size() != 3) return std::nullopt;
  for (std::uint8_t number = 0; number < AminoAcidSeq::count; ++number) {
    const std::string_view upper = names[number];
    if (name == upper) return number;
    if (name[0] == to_lower(upper[0]) && name[1] == to_lower(upper[1]) && name[2] == to_lower(upper[2])) {
      return number;
    }
  }
  return std::nullopt;
}

}  // namespace

bool AminoAcidSeq::is_amino_acid(std::string_view name) noexcept { return find_amino_acid(name).has_value(); }

std::expected<AminoAcidSeq, error::Error> AminoAcidSeq::from_pdb_std_name(std::string_view name) {
  if (const auto number = find_amino_acid(name)) return AminoAcidSeq{*number};
  return std::unexpected(error::Error{error::Error::ParseAminoAcid{std::string(name)}});
}

std::string_view AminoAcidSeq::name() const noexcept { return names[number_]; }

}  // namespace redivi
