// The fixed-column fields of SDF lines and the numbers in them, read as the entry reader needs them.
#pragma once

#include <cstddef>
#include <expected>
#include <string_view>

#include "redivi/convert/sdf.hpp"
#include "text/text.hpp"
#include "text/utf8.hpp"

namespace redivi::sdf::detail {

using Type = SDFParseErrorType;

// Bytes [start, end) of the line. A cut inside a multi-byte character would split it, so the reader treats
// that line as too short. Inlined into every field read, where the fixed bounds fold away: a call
// per field costs a tenth of the reading time.
[[gnu::always_inline]] inline std::expected<std::string_view, Type> field(std::string_view line, std::size_t start,
                                                                          std::size_t end) {
  if (line.size() < end || !utf8::is_char_boundary(line, start) || !utf8::is_char_boundary(line, end)) {
    return std::unexpected(Type::LineTooShort);
  }
  return line.substr(start, end - start);
}

// The trimmed number in bytes [start, end) of the line; fails with on_failure when unreadable. Inlined
// like field.
template <class T>
[[gnu::always_inline]] inline std::expected<T, Type> number(std::string_view line, std::size_t start, std::size_t end,
                                                            Type on_failure) {
  const auto text = field(line, start, end);
  if (!text) return std::unexpected(text.error());
  T value{};
  if (!text::parse_number(text::trim(*text), value)) return std::unexpected(on_failure);
  return value;
}

}  // namespace redivi::sdf::detail
