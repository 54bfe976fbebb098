// Element symbols: the table of the 119 symbols and the conversion from text.
#include "redivi/element.hpp"

#include <array>

namespace redivi {
namespace {

// Indexed by any byte: the values past Og have empty symbols, so no byte reads past the table.
constexpr std::array<std::string_view, 256> symbols = {
    "X",  "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",  "S",
    "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As",
    "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "In", "Sn",
    "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho",
    "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po",
    "At", "Rn", "Fr", "Ra", "Ac", "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md",
    "No", "Lr", "Rf", "Db", "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

constexpr int letter_index(char c) {
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= 'A' && c <= 'Z') return c - 'A';
  return -1;
}

// Symbol lookup by letters, any case: slot 26 * 26 + first for one letter, 26 * first + second for two.
// An entry of -1 names no element.
constexpr std::array<std::int16_t, 26 * 27> make_lookup() {
  std::array<std::int16_t, 26 * 27> lookup{};
  lookup.fill(-1);
  for (std::size_t number = 0; number < Element::count; ++number) {
    const std::string_view symbol = symbols[number];
    const int first = letter_index(symbol[0]);
    const int slot = symbol.size() == 1 ? 26 * 26 + first : 26 * first + letter_index(symbol[1]);
    lookup[static_cast<std::size_t>(slot)] = static_cast<std::int16_t>(number);
  }
  return lookup;
}

constexpr auto lookup = make_lookup();

}  // namespace

std::optional<Element> Element::find(std::string_view text) noexcept {
  int slot = -1;
  if (text.size() == 1) {
    const int first = letter_index(text[0]);
    if (first >= 0) slot = 26 * 26 + first;
  } else if (text.size() == 2) {
    const int first = letter_index(text[0]);
    const int second = letter_index(text[1]);
    if (first >= 0 && second >= 0) slot = 26 * first + second;
  }
  if (slot < 0) return std::nullopt;
  const std::int16_t number = lookup[static_cast<std::size_t>(slot)];
  if (number < 0) return std::nullopt;
  return Element{static_cast<std::uint8_t>(number)};
}

std::expected<Element, std::string> Element::try_from(std::string_view text) {
  if (const auto element = find(text)) return *element;
  return std::unexpected(std::string(text));
}

std::string_view Element::symbol() const noexcept { return symbols[number_]; }

}  // namespace redivi
