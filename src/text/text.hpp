// Text helpers shared by every format: line splitting, trimming, fixed columns and building texts; with
// the numbers of the text layer, which every format reads too.
#pragma once

#include <compare>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "text/numbers.hpp"

namespace redivi::detail::text {

// Cuts text into lines at each line feed. A carriage return directly before the line feed
// is dropped; text ending in a line feed has no empty line after it.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_{text} {}

  // The next line without its terminator; false when the text is used up.
  bool next(std::string_view& line) {
    if (rest_.empty()) return false;
    const void* found = std::memchr(rest_.data(), '\n', rest_.size());
    if (found == nullptr) {
      line = rest_;
      rest_ = {};
      return true;
    }
    const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - rest_.data());
    line = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

  // The text not yet cut.
  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// Blank, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The text without leading and trailing ASCII white space; unicode::trim also takes the multi-byte
// White_Space characters, for the formats whose texts may hold them.
constexpr std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  return s;
}

// True when line holds only ASCII white space. Most lines end in a visible character, which settles it at once.
constexpr bool is_blank(std::string_view line) { return (line.empty() || is_space(line.back())) && trim(line).empty(); }

// True when a and b hold the same bytes; for texts of a few bytes (names, cells), where a call to
// memcmp costs more than the comparison. Views of one text, as the atoms of one residue keep, compare
// equal at once.
constexpr bool equal_short(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.data() == b.data()) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// The bytewise order of two short texts (a prefix first), also without a call to memcmp.
constexpr std::strong_ordering compare_short(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) <=> static_cast<unsigned char>(b[i]);
  }
  return a.size() <=> b.size();
}

// A field by the 1-based, inclusive columns of fixed-column format documentation.
// Columns beyond the end of a short line read as blank.
constexpr std::string_view columns(std::string_view line, std::size_t first, std::size_t last) {
  if (line.size() < first) return {};
  return line.substr(first - 1, last - first + 1);
}

// Builds a text from pieces: strings, views, characters and integers.
template <class... Pieces>
std::string concat(const Pieces&... pieces) {
  std::string out;
  auto add = [&out](const auto& piece) {
    using Piece = std::decay_t<decltype(piece)>;
    if constexpr (std::is_same_v<Piece, char>) {
      out.push_back(piece);
    } else if constexpr (std::is_integral_v<Piece>) {
      append_number(out, piece);
    } else {
      out.append(piece);
    }
  };
  (add(pieces), ...);
  return out;
}

}  // namespace redivi::detail::text

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace text = detail::text;
}  // namespace redivi
