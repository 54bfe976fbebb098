// The chemical element of an atom: one byte holding the atomic number (0 is the unknown element X).
#pragma once

#include <compare>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "redivi/export.hpp"

namespace redivi {

class REDIVI_EXPORT Element {
 public:
  // The number of values: X and the 118 elements.
  static constexpr std::uint8_t count = 119;

  // The unknown element X.
  constexpr Element() = default;

  // Parses a one- or two-letter symbol in any letter case; on failure the error is the input unchanged.
  static std::expected<Element, std::string> try_from(std::string_view text);
  // The same, giving nothing on failure: no text is copied, for readers that make their own error.
  static std::optional<Element> find(std::string_view text) noexcept;
  // The element with this atomic number; nothing for numbers above 118, which name no element.
  static constexpr std::optional<Element> from_atomic_number(std::uint8_t number) {
    if (number >= count) return std::nullopt;
    return Element{number};
  }

  // Title-case symbol ("X", "H", "He", ... "Og"); empty for a byte that holds no element, which no
  // constructor makes.
  std::string_view symbol() const noexcept;
  // 0 for X, else 1 (H) to 118 (Og).
  constexpr std::uint8_t atomic_number() const noexcept { return number_; }

  friend constexpr bool operator==(Element, Element) = default;
  friend constexpr auto operator<=>(Element, Element) = default;

  // Every value by its symbol, in order of atomic number.
  static const Element X;
  static const Element H;
  static const Element He;
  static const Element Li;
  static const Element Be;
  static const Element B;
  static const Element C;
  static const Element N;
  static const Element O;
  static const Element F;
  static const Element Ne;
  static const Element Na;
  static const Element Mg;
  static const Element Al;
  static const Element Si;
  static const Element P;
  static const Element S;
  static const Element Cl;
  static const Element Ar;
  static const Element K;
  static const Element Ca;
  static const Element Sc;
  static const Element Ti;
  static const Element V;
  static const Element Cr;
  static const Element Mn;
  static const Element Fe;
  static const Element Co;
  static const Element Ni;
  static const Element Cu;
  static const Element Zn;
  static const Element Ga;
  static const Element Ge;
  static const Element As;
  static const Element Se;
  static const Element Br;
  static const Element Kr;
  static const Element Rb;
  static const Element Sr;
  static const Element Y;
  static const Element Zr;
  static const Element Nb;
  static const Element Mo;
  static const Element Tc;
  static const Element Ru;
  static const Element Rh;
  static const Element Pd;
  static const Element Ag;
  static const Element Cd;
  static const Element In;
  static const Element Sn;
  static const Element Sb;
  static const Element Te;
  static const Element I;
  static const Element Xe;
  static const Element Cs;
  static const Element Ba;
  static const Element La;
  static const Element Ce;
  static const Element Pr;
  static const Element Nd;
  static const Element Pm;
  static const Element Sm;
  static const Element Eu;
  static const Element Gd;
  static const Element Tb;
  static const Element Dy;
  static const Element Ho;
  static const Element Er;
  static const Element Tm;
  static const Element Yb;
  static const Element Lu;
  static const Element Hf;
  static const Element Ta;
  static const Element W;
  static const Element Re;
  static const Element Os;
  static const Element Ir;
  static const Element Pt;
  static const Element Au;
  static const Element Hg;
  static const Element Tl;
  static const Element Pb;
  static const Element Bi;
  static const Element Po;
  static const Element At;
  static const Element Rn;
  static const Element Fr;
  static const Element Ra;
  static const Element Ac;
  static const Element Th;
  static const Element Pa;
  static const Element U;
  static const Element Np;
  static const Element Pu;
  static const Element Am;
  static const Element Cm;
  static const Element Bk;
  static const Element Cf;
  static const Element Es;
  static const Element Fm;
  static const Element Md;
  static const Element No;
  static const Element Lr;
  static const Element Rf;
  static const Element Db;
  static const Element Sg;
  static const Element Bh;
  static const Element Hs;
  static const Element Mt;
  static const Element Ds;
  static const Element Rg;
  static const Element Cn;
  static const Element Nh;
  static const Element Fl;
  static const Element Mc;
  static const Element Lv;
  static const Element Ts;
  static const Element Og;

 private:
  constexpr explicit Element(std::uint8_t number) : number_{number} {}
  std::uint8_t number_ = 0;
};

inline constexpr Element Element::X{0};
inline constexpr Element Element::H{1};
inline constexpr Element Element::He{2};
inline constexpr Element Element::Li{3};
inline constexpr Element Element::Be{4};
inline constexpr Element Element::B{5};
inline constexpr Element Element::C{6};
inline constexpr Element Element::N{7};
inline constexpr Element Element::O{8};
inline constexpr Element Element::F{9};
inline constexpr Element Element::Ne{10};
inline constexpr Element Element::Na{11};
inline constexpr Element Element::Mg{12};
inline constexpr Element Element::Al{13};
inline constexpr Element Element::Si{14};
inline constexpr Element Element::P{15};
inline constexpr Element Element::S{16};
inline constexpr Element Element::Cl{17};
inline constexpr Element Element::Ar{18};
inline constexpr Element Element::K{19};
inline constexpr Element Element::Ca{20};
inline constexpr Element Element::Sc{21};
inline constexpr Element Element::Ti{22};
inline constexpr Element Element::V{23};
inline constexpr Element Element::Cr{24};
inline constexpr Element Element::Mn{25};
inline constexpr Element Element::Fe{26};
inline constexpr Element Element::Co{27};
inline constexpr Element Element::Ni{28};
inline constexpr Element Element::Cu{29};
inline constexpr Element Element::Zn{30};
inline constexpr Element Element::Ga{31};
inline constexpr Element Element::Ge{32};
inline constexpr Element Element::As{33};
inline constexpr Element Element::Se{34};
inline constexpr Element Element::Br{35};
inline constexpr Element Element::Kr{36};
inline constexpr Element Element::Rb{37};
inline constexpr Element Element::Sr{38};
inline constexpr Element Element::Y{39};
inline constexpr Element Element::Zr{40};
inline constexpr Element Element::Nb{41};
inline constexpr Element Element::Mo{42};
inline constexpr Element Element::Tc{43};
inline constexpr Element Element::Ru{44};
inline constexpr Element Element::Rh{45};
inline constexpr Element Element::Pd{46};
inline constexpr Element Element::Ag{47};
inline constexpr Element Element::Cd{48};
inline constexpr Element Element::In{49};
inline constexpr Element Element::Sn{50};
inline constexpr Element Element::Sb{51};
inline constexpr Element Element::Te{52};
inline constexpr Element Element::I{53};
inline constexpr Element Element::Xe{54};
inline constexpr Element Element::Cs{55};
inline constexpr Element Element::Ba{56};
inline constexpr Element Element::La{57};
inline constexpr Element Element::Ce{58};
inline constexpr Element Element::Pr{59};
inline constexpr Element Element::Nd{60};
inline constexpr Element Element::Pm{61};
inline constexpr Element Element::Sm{62};
inline constexpr Element Element::Eu{63};
inline constexpr Element Element::Gd{64};
inline constexpr Element Element::Tb{65};
inline constexpr Element Element::Dy{66};
inline constexpr Element Element::Ho{67};
inline constexpr Element Element::Er{68};
inline constexpr Element Element::Tm{69};
inline constexpr Element Element::Yb{70};
inline constexpr Element Element::Lu{71};
inline constexpr Element Element::Hf{72};
inline constexpr Element Element::Ta{73};
inline constexpr Element Element::W{74};
inline constexpr Element Element::Re{75};
inline constexpr Element Element::Os{76};
inline constexpr Element Element::Ir{77};
inline constexpr Element Element::Pt{78};
inline constexpr Element Element::Au{79};
inline constexpr Element Element::Hg{80};
inline constexpr Element Element::Tl{81};
inline constexpr Element Element::Pb{82};
inline constexpr Element Element::Bi{83};
inline constexpr Element Element::Po{84};
inline constexpr Element Element::At{85};
inline constexpr Element Element::Rn{86};
inline constexpr Element Element::Fr{87};
inline constexpr Element Element::Ra{88};
inline constexpr Element Element::Ac{89};
inline constexpr Element Element::Th{90};
inline constexpr Element Element::Pa{91};
inline constexpr Element Element::U{92};
inline constexpr Element Element::Np{93};
inline constexpr Element Element::Pu{94};
inline constexpr Element Element::Am{95};
inline constexpr Element Element::Cm{96};
inline constexpr Element Element::Bk{97};
inline constexpr Element Element::Cf{98};
inline constexpr Element Element::Es{99};
inline constexpr Element Element::Fm{100};
inline constexpr Element Element::Md{101};
inline constexpr Element Element::No{102};
inline constexpr Element Element::Lr{103};
inline constexpr Element Element::Rf{104};
inline constexpr Element Element::Db{105};
inline constexpr Element Element::Sg{106};
inline constexpr Element Element::Bh{107};
inline constexpr Element Element::Hs{108};
inline constexpr Element Element::Mt{109};
inline constexpr Element Element::Ds{110};
inline constexpr Element Element::Rg{111};
inline constexpr Element Element::Cn{112};
inline constexpr Element Element::Nh{113};
inline constexpr Element Element::Fl{114};
inline constexpr Element Element::Mc{115};
inline constexpr Element Element::Lv{116};
inline constexpr Element Element::Ts{117};
inline constexpr Element Element::Og{118};

// The symbol, as every display of an element writes it.
inline std::string to_string(Element element) { return std::string(element.symbol()); }

}  // namespace redivi
