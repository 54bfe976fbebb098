// SDF text cut into its entries, each closed by a line of "$$$$".
#include "sdf/entries.hpp"

#include <algorithm>
#include <cstring>

namespace redivi::sdf {
namespace {

// The position of the line feed in the first "\n$$$$" at or after from, or npos.
std::size_t find_terminator(std::string_view text, std::size_t from) {
  std::size_t at = from + 1;
  while (at < text.size()) {
    const void* found = std::memchr(text.data() + at, '$', text.size() - at);
    if (found == nullptr) return std::string_view::npos;
    at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    if (text[at - 1] == '\n' && text.substr(at, 4) == "$$$$") return at - 1;
    ++at;
  }
  return std::string_view::npos;
}

}  // namespace

namespace detail {

SDFParseError terminator_error(std::uint64_t line_number) {
  return SDFParseError{line_number, {SDFParseState::HeaderBlock{}}, SDFParseErrorType::ParseTerminator};
}

std::optional<std::size_t> entry_end(std::string_view contents, std::size_t cursor) {
  const std::size_t feed = find_terminator(contents, cursor);
  if (feed == std::string_view::npos) return std::nullopt;
  const std::size_t after = feed + 5;
  if (after == contents.size()) return after;
  if (contents[after] != '\n') return std::nullopt;
  return after + 1;
}

std::uint64_t line_number_at(std::string_view contents, std::size_t offset) {
  const std::string_view before = contents.substr(0, offset);
  return 1 + static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n'));
}

std::expected<std::vector<std::string_view>, SDFParseError> entry_texts(std::string_view contents) {
  std::vector<std::string_view> entries;
  std::size_t cursor = 0;
  do {
    const auto end = entry_end(contents, cursor);
    if (!end) return std::unexpected(terminator_error(line_number_at(contents, cursor)));
    entries.push_back(contents.substr(cursor, *end - cursor));
    cursor = *end;
  } while (cursor < contents.size());
  return entries;
}

}  // namespace detail

std::vector<std::variant<SDFEntry, SDFParseError>> sdf_entries(std::string_view contents) {
  std::vector<std::variant<SDFEntry, SDFParseError>> items;
  std::uint64_t line_number = 1;
  std::size_t cursor = 0;
  do {
    const auto end = detail::entry_end(contents, cursor);
    if (!end) {
      items.emplace_back(detail::terminator_error(line_number));
      break;
    }
    const std::string_view entry = contents.substr(cursor, *end - cursor);
    items.emplace_back(SDFEntry{line_number, entry});
    line_number += static_cast<std::uint64_t>(std::count(entry.begin(), entry.end(), '\n'));
    cursor = *end;
  } while (cursor < contents.size());
  return items;
}

}  // namespace redivi::sdf
