// Cutting SDF text into entries at their "$$$$" lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string_view>
#include <vector>

#include "redivi/convert/sdf.hpp"

namespace redivi::sdf::detail {

// The end of the entry that starts at cursor (just past its "$$$$" line and that line's feed), or
// nothing when no correctly formatted terminator follows.
std::optional<std::size_t> entry_end(std::string_view contents, std::size_t cursor);

SDFParseError terminator_error(std::uint64_t line_number);

// The 1-based number of the line that starts at offset.
std::uint64_t line_number_at(std::string_view contents, std::size_t offset);

// The texts of the entries in order, without their line numbers (see line_number_at), or the error of
// a text that does not end in a terminator.
std::expected<std::vector<std::string_view>, SDFParseError> entry_texts(std::string_view contents);

}  // namespace redivi::sdf::detail
