// The SDF entry reader: cutting the text into entries and reading an entry into a molecule kept from the
// previous one, whole or as its structure and its data items apart.
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

// Reads one entry into the molecule, replacing its contents but keeping the memory of its lists.
std::expected<void, SDFParseError> read_entry(std::string_view entry, Molecule& molecule);

// Reads one entry up to its data items into the molecule, as read_entry does, and leaves its data items
// empty. Returns the text after "M  END", which read_data_items reads (empty without that line).
std::expected<std::string_view, SDFParseError> read_structure(std::string_view entry, Molecule& molecule);

// Reads the data items of the text read_structure left into items, replacing them; error line numbers
// count from 1 at the text's first line.
std::expected<void, SDFParseError> read_data_items(std::string_view text, std::vector<DataItem>& items);

}  // namespace redivi::sdf::detail
