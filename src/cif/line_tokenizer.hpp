// The tokens of one CIF value line, appended to a loop's cells.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace redivi::mmcif::detail {

// Appends the tokens of one value line to cells; the nulls "?" and "." become empty cells.
class LineTokenizer {
 public:
  // Bytes past a line's end, up to text_end, may be read a chunk at a time.
  LineTokenizer(std::vector<std::string_view>& cells, std::deque<std::string>& glued_cells, const char* text_end)
      : cells_{cells}, glued_cells_{glued_cells}, text_end_{text_end} {}

  void tokenize(std::string_view line);

 private:
  const char* tokenize_block(const char* p, const char* end);
  const char* read_fully(const char* p, const char* end);
  const char* token(const char* start, const char* end);
  const char* next_token_end(const char* p, const char* end) const;
  const char* quoted_run(const char* quote, const char* end, const char* start);
  void emit(const char* first, const char* last) {
    emit(std::string_view(first, static_cast<std::size_t>(last - first)));
  }
  void emit(std::string_view token) {
    const bool null = token.size() == 1 && (token[0] == '?' || token[0] == '.');
    cells_.push_back(null ? std::string_view{} : token);
  }

  std::vector<std::string_view>& cells_;
  std::deque<std::string>& glued_cells_;
  const char* text_end_;
};

}  // namespace redivi::mmcif::detail
