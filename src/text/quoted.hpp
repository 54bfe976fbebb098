// Texts in double quotes with escapes, and lists of them, as error messages show them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace redivi::detail::quoted {

// Appends text between double quotes. A double quote or backslash gets a backslash before it;
// line feed, tab, carriage return and the zero byte are written \n, \t, \r and \0; any other
// control or invisible character as \u{code} in lower-case hexadecimal; a byte that is not
// part of valid UTF-8 as \x and two hexadecimal digits. Everything else is copied.
void append(std::string& out, std::string_view text);

// Appends the texts, each quoted, separated by ", " between square brackets: ["H1", "H2"].
void append_list(std::string& out, const std::vector<std::string>& texts);

}  // namespace redivi::detail::quoted

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace quoted = detail::quoted;
}  // namespace redivi
