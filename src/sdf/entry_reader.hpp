// The SDF entry reader: one entry into a molecule kept from the previous one, whole or as its structure
// and its data items apart.
#pragma once

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "redivi/convert/sdf.hpp"

namespace redivi::sdf::detail {

// Reads one entry into the molecule, replacing its contents but keeping the memory of its lists.
std::expected<void, SDFParseError> read_entry(std::string_view entry, Molecule& molecule);

// Reads one entry up to its data items into the molecule, as read_entry does, and leaves its data items
// empty. Returns the text after "M  END", which read_data_items reads (empty without that line).
std::expected<std::string_view, SDFParseError> read_structure(std::string_view entry, Molecule& molecule);

// Receives the data items of an entry in file order.
class ItemSink {
 public:
  // At least as many items as follow.
  virtual void reserve(std::size_t items) = 0;
  virtual void add(std::string_view key, std::string value) = 0;

 protected:
  ~ItemSink() = default;
};

// Reads the data items of the text read_structure left; error line numbers count from 1 at the text's
// first line.
std::expected<void, SDFParseError> read_data_items(std::string_view text, ItemSink& items);

}  // namespace redivi::sdf::detail
