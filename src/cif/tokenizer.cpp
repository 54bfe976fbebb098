// CIF text to data blocks: block headers, loops whose rows may run over several lines, single items.
#include <algorithm>
#include <cstddef>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cif/document.hpp"
#include "cif/line_tokenizer.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"

namespace redivi::mmcif::detail {
namespace {

// The next line stays in view until it is consumed, so a loop can leave the line that ends it.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : lines_{text}, text_end_{text.data() + text.size()} {
    has_next_ = lines_.next(next_);
  }

  bool peek(std::string_view& line) const {
    line = next_;
    return has_next_;
  }
  void advance() { has_next_ = lines_.next(next_); }

  // Where the whole text ends: bytes past a line's end may be read up to here.
  const char* text_end() const { return text_end_; }

  // The text from the next line on.
  std::string_view remaining() const {
    if (!has_next_) return {};
    const std::string_view rest = lines_.rest();
    if (rest.empty()) return next_;
    return {next_.data(), static_cast<std::size_t>(rest.data() + rest.size() - next_.data())};
  }

 private:
  text::Lines lines_;
  const char* text_end_;
  std::string_view next_;
  bool has_next_ = false;
};

// What a line is to a loop, by the start of its trimmed text.
enum class LineKind : unsigned char { value, skipped, ends_loop };

LineKind kind_of_trimmed(std::string_view trimmed) {
  if (trimmed.empty()) return LineKind::skipped;
  switch (trimmed.front()) {
    case '#': return LineKind::skipped;
    case '_': return LineKind::ends_loop;
    case 'l': return trimmed.starts_with("loop_") ? LineKind::ends_loop : LineKind::value;
    case 'd': return trimmed.starts_with("data_") ? LineKind::ends_loop : LineKind::value;
    default: return LineKind::value;
  }
}

// Tested on every line of a loop: a line that starts with a visible ASCII byte starts its trimmed text.
LineKind line_kind(std::string_view line) {
  const auto first = line.empty() ? 0u : static_cast<unsigned char>(line.front());
  return kind_of_trimmed(first > ' ' && first < 0x80 ? line : unicode::trim(line));
}

bool is_skipped(std::string_view trimmed) { return kind_of_trimmed(trimmed) == LineKind::skipped; }

// An upper estimate of a loop's rows from its value lines, up to the line that ends the loop: one row
// per line, but no more cells than half the bytes, as each cell takes a character and a separator.
std::size_t estimated_rows(std::string_view values, std::size_t width) {
  text::Lines lines{values};
  std::size_t line_count = 0;
  std::size_t bytes = 0;
  std::string_view line;
  while (lines.next(line)) {
    if (line_kind(line) == LineKind::ends_loop) break;
    ++line_count;
    bytes += line.size() + 1;
  }
  return std::min(line_count, (bytes / 2) / width + 1);
}

// One row from line and, while cells are still missing, the lines after it. A row whose token count
// differs from the tag count is dropped.
void read_row(LineCursor& cursor, std::string_view line, Loop& loop, LineTokenizer& tokenizer) {
  const std::size_t width = loop.tags.size();
  const std::size_t start = loop.cells.size();
  while (true) {
    tokenizer.tokenize(line);
    if (loop.cells.size() - start >= width) break;
    if (!cursor.peek(line) || line_kind(line) == LineKind::ends_loop) break;
    cursor.advance();
  }
  if (loop.cells.size() - start != width) loop.cells.resize(start);
}

// The value lines of a loop that is dropped. They end where the rows of a kept loop would end.
void skip_values(LineCursor& cursor) {
  std::string_view line;
  while (cursor.peek(line) && line_kind(line) != LineKind::ends_loop) cursor.advance();
}

// The tag lines after a "loop_" line.
std::vector<std::string_view> read_tags(LineCursor& cursor) {
  std::vector<std::string_view> tags;
  std::string_view line;
  while (cursor.peek(line)) {
    const std::string_view trimmed = unicode::trim(line);
    if (!trimmed.starts_with('_')) break;
    tags.push_back(trimmed);
    cursor.advance();
  }
  return tags;
}

// The rows of a loop up to the next tag, loop or block. With a sink each row is handed over, then dropped.
void read_rows(LineCursor& cursor, Loop& loop, std::deque<std::string>& glued_cells, RowSink* sink) {
  LineTokenizer tokenizer{loop.cells, glued_cells, cursor.text_end()};
  std::string_view line;
  while (cursor.peek(line)) {
    const LineKind kind = line_kind(line);
    if (kind == LineKind::ends_loop) break;
    cursor.advance();
    if (kind == LineKind::skipped) continue;
    read_row(cursor, line, loop, tokenizer);
    if (sink != nullptr && !loop.cells.empty()) {
      sink->row(loop.row(0));
      loop.cells.clear();
    }
  }
}

// A loop is kept under its category: the first tag up to its first ".". A single item's category is found
// the same way from its tag.
std::string_view category_of(std::string_view tag) { return tag.substr(0, tag.find('.')); }

// The blocks read so far, the categories kept, and the category whose rows go to the sink.
struct Parse {
  std::vector<DataBlock> blocks;
  bool block_open = false;
  std::span<const std::string_view> categories;  // every category when empty
  std::string_view streamed_category;
  RowSink* sink = nullptr;

  bool keeps(std::string_view category) const {
    return categories.empty() || std::find(categories.begin(), categories.end(), category) != categories.end();
  }
};

// "_tag value" on one line; a tag whose value would follow on later lines is ignored.
void read_single_item(std::string_view trimmed, Parse& parse) {
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    if (const std::size_t width = unicode::space_length(trimmed.substr(i))) {
      const std::string_view tag = trimmed.substr(0, i);
      if (parse.keeps(category_of(tag))) {
        parse.blocks.back().items.insert_or_assign(tag, DataItem{unicode::trim(trimmed.substr(i + width))});
      }
      return;
    }
  }
}

// The loop after a "loop_" line, kept under its category in the open block; dropped without tags or
// block, or when its category is not kept.
void read_loop(LineCursor& cursor, Parse& parse) {
  Loop loop;
  loop.tags = read_tags(cursor);
  if (loop.tags.empty() || !parse.block_open || !parse.keeps(category_of(loop.tags.front()))) {
    skip_values(cursor);
    return;
  }
  const std::string_view category = category_of(loop.tags.front());
  const std::size_t expected_rows = estimated_rows(cursor.remaining(), loop.tags.size());
  RowSink* sink = category == parse.streamed_category ? parse.sink : nullptr;
  if (sink != nullptr) {
    sink->begin_loop(parse.blocks.size() - 1, loop.tags, expected_rows);
    loop.cells.reserve(loop.tags.size());
  } else {
    loop.cells.reserve(expected_rows * loop.tags.size());
  }
  DataBlock& block = parse.blocks.back();
  read_rows(cursor, loop, block.glued_cells, sink);
  block.items.insert_or_assign(category, DataItem{std::move(loop)});
}

std::vector<DataBlock> parse_blocks(std::string_view text, Parse& parse) {
  LineCursor cursor{text};
  std::string_view line;
  while (cursor.peek(line)) {
    cursor.advance();
    const std::string_view trimmed = unicode::trim(line);
    if (is_skipped(trimmed)) continue;
    if (trimmed.starts_with("data_")) {
      parse.blocks.emplace_back().name = trimmed.substr(5);
      parse.block_open = true;
    } else if (trimmed.starts_with("loop_")) {
      read_loop(cursor, parse);
    } else if (trimmed.starts_with('_') && parse.block_open) {
      read_single_item(trimmed, parse);
    }
  }
  return std::move(parse.blocks);
}

}  // namespace

std::expected<std::vector<DataBlock>, MmCifError> parse_mmcif(std::string_view text) {
  Parse parse;
  return parse_blocks(text, parse);
}

std::expected<std::vector<DataBlock>, MmCifError> parse_mmcif(std::string_view text,
                                                              std::span<const std::string_view> categories,
                                                              std::string_view streamed_category, RowSink& sink) {
  Parse parse;
  parse.categories = categories;
  parse.streamed_category = streamed_category;
  parse.sink = &sink;
  return parse_blocks(text, parse);
}

}  // namespace redivi::mmcif::detail
