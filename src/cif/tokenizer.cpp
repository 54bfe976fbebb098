// CIF text to data blocks: block headers, loops whose rows may run over several lines, single items.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cif/document.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"

namespace redivi::mmcif {
namespace {

// The next line stays in view until it is consumed, so a loop can leave the line that ends it.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : lines_{text} { has_next_ = lines_.next(next_); }

  bool peek(std::string_view& line) const {
    line = next_;
    return has_next_;
  }
  void advance() { has_next_ = lines_.next(next_); }

  // The text from the next line on.
  std::string_view remaining() const {
    if (!has_next_) return {};
    const std::string_view rest = lines_.rest();
    if (rest.empty()) return next_;
    return {next_.data(), static_cast<std::size_t>(rest.data() + rest.size() - next_.data())};
  }

 private:
  text::Lines lines_;
  std::string_view next_;
  bool has_next_ = false;
};

enum class ByteClass : unsigned char { ordinary, space, quote, semicolon, maybe_space };

// Inside a token a ";" is an ordinary character; only at a token's start does it stand for an empty cell.
constexpr std::array<ByteClass, 256> make_byte_classes(bool token_start) {
  std::array<ByteClass, 256> classes{};
  for (std::size_t c = 0; c < 256; ++c) {
    switch (unicode::detail::space_starts[c]) {
      case unicode::detail::SpaceStart::ascii: classes[c] = ByteClass::space; break;
      case unicode::detail::SpaceStart::multi_byte: classes[c] = ByteClass::maybe_space; break;
      case unicode::detail::SpaceStart::no: break;
    }
  }
  classes['\''] = ByteClass::quote;
  classes['"'] = ByteClass::quote;
  if (token_start) classes[';'] = ByteClass::semicolon;
  return classes;
}

constexpr std::array<ByteClass, 256> start_classes = make_byte_classes(true);
constexpr std::array<ByteClass, 256> token_classes = make_byte_classes(false);

ByteClass start_class(char c) { return start_classes[static_cast<unsigned char>(c)]; }
ByteClass token_class(char c) { return token_classes[static_cast<unsigned char>(c)]; }

// The byte length of a white-space character that starts with a byte of class maybe_space, or 0.
std::size_t multi_byte_space(const char* p, const char* end) {
  return unicode::detail::multi_byte_space_length({p, static_cast<std::size_t>(end - p)});
}

// Appends the tokens of one value line to cells; the nulls "?" and "." become empty cells.
class Tokenizer {
 public:
  Tokenizer(std::vector<std::string_view>& cells, std::deque<std::string>& glued_cells)
      : cells_{cells}, glued_cells_{glued_cells} {}

  void tokenize(std::string_view line) {
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p != end) {
      switch (start_class(*p)) {
        case ByteClass::space:
          ++p;
          break;
        case ByteClass::ordinary:
          p = token(p, end);
          break;
        case ByteClass::quote:
          p = quoted_run(p, end, nullptr);
          break;
        case ByteClass::semicolon:
          // A ";" opening a token stands for an empty cell and hides the rest of the line.
          emit({});
          return;
        case ByteClass::maybe_space:
          if (const std::size_t width = multi_byte_space(p, end)) {
            p += width;
          } else {
            p = token(p, end);
          }
          break;
      }
    }
  }

 private:
  // The token that starts at start, up to white space or a quoted run. Returns where it ended.
  const char* token(const char* start, const char* end) {
    const char* p = start + 1;
    while (true) {
      while (p != end && token_class(*p) == ByteClass::ordinary) ++p;
      if (p == end) {
        emit(start, end);
        return end;
      }
      switch (token_class(*p)) {
        case ByteClass::space:
          emit(start, p);
          return p + 1;
        case ByteClass::quote:
          return quoted_run(p, end, start);
        default:
          if (const std::size_t width = multi_byte_space(p, end)) {
            emit(start, p);
            return p + width;
          }
          ++p;  // a multi-byte character that is no white space
      }
    }
  }

  // The run after the quote at quote, up to the same quote or the end of the line, ends the current
  // token; the text from start (when there is one) to the quote is glued to it. Returns where the run ended.
  const char* quoted_run(const char* quote, const char* end, const char* start) {
    const char* const run = quote + 1;
    const auto* close = static_cast<const char*>(std::memchr(run, *quote, static_cast<std::size_t>(end - run)));
    const char* const run_end = close == nullptr ? end : close;
    if (start == nullptr) {
      if (run_end != run) emit(run, run_end);
    } else if (run_end == run) {
      emit(start, quote);
    } else {
      emit(glued_cells_.emplace_back(text::concat(view(start, quote), view(run, run_end))));
    }
    return close == nullptr ? end : close + 1;
  }

  static std::string_view view(const char* first, const char* last) {
    return {first, static_cast<std::size_t>(last - first)};
  }

  void emit(const char* first, const char* last) { emit(view(first, last)); }

  void emit(std::string_view token) {
    const bool null = token.size() == 1 && (token[0] == '?' || token[0] == '.');
    cells_.push_back(null ? std::string_view{} : token);
  }

  std::vector<std::string_view>& cells_;
  std::deque<std::string>& glued_cells_;
};

// Tested on every value line, so the first byte decides before any keyword is compared.
bool ends_loop(std::string_view trimmed) {
  if (trimmed.empty()) return false;
  switch (trimmed.front()) {
    case '_': return true;
    case 'l': return trimmed.starts_with("loop_");
    case 'd': return trimmed.starts_with("data_");
    default: return false;
  }
}

bool is_skipped(std::string_view trimmed) { return trimmed.empty() || trimmed.starts_with('#'); }

// An upper estimate of a loop's rows from its value lines, up to the line that ends the loop: one row
// per line, but no more cells than half the bytes, as each cell takes a character and a separator.
std::size_t estimated_rows(std::string_view values, std::size_t width) {
  text::Lines lines{values};
  std::size_t line_count = 0;
  std::size_t bytes = 0;
  std::string_view line;
  while (lines.next(line)) {
    const std::string_view trimmed = unicode::trim(line);
    if (!is_skipped(trimmed) && ends_loop(trimmed)) break;
    ++line_count;
    bytes += line.size() + 1;
  }
  return std::min(line_count, (bytes / 2) / width + 1);
}

// One row from line and, while cells are still missing, the lines after it. A row whose token count
// differs from the tag count is dropped.
void read_row(LineCursor& cursor, std::string_view line, Loop& loop, Tokenizer& tokenizer) {
  const std::size_t width = loop.tags.size();
  const std::size_t start = loop.cells.size();
  while (true) {
    tokenizer.tokenize(line);
    if (loop.cells.size() - start >= width) break;
    if (!cursor.peek(line) || ends_loop(unicode::trim(line))) break;
    cursor.advance();
  }
  if (loop.cells.size() - start != width) loop.cells.resize(start);
}

// The value lines of a loop that is dropped. They end where the rows of a kept loop would end.
void skip_values(LineCursor& cursor) {
  std::string_view line;
  while (cursor.peek(line)) {
    const std::string_view trimmed = unicode::trim(line);
    if (!is_skipped(trimmed) && ends_loop(trimmed)) return;
    cursor.advance();
  }
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
  Tokenizer tokenizer{loop.cells, glued_cells};
  std::string_view line;
  while (cursor.peek(line)) {
    const std::string_view trimmed = unicode::trim(line);
    if (!is_skipped(trimmed) && ends_loop(trimmed)) break;
    cursor.advance();
    if (is_skipped(trimmed)) continue;
    read_row(cursor, line, loop, tokenizer);
    if (sink != nullptr && !loop.cells.empty()) {
      sink->row(loop.row(0));
      loop.cells.clear();
    }
  }
}

// A loop is kept under its category: the first tag up to its first ".".
std::string_view category_of(std::string_view tag) { return tag.substr(0, tag.find('.')); }

// "_tag value" on one line; a tag whose value would follow on later lines is ignored.
void read_single_item(std::string_view trimmed, DataBlock& block) {
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    if (const std::size_t width = unicode::space_length(trimmed.substr(i))) {
      block.items.insert_or_assign(trimmed.substr(0, i), DataItem{unicode::trim(trimmed.substr(i + width))});
      return;
    }
  }
}

// The blocks read so far, and the category whose rows go to the sink.
struct Parse {
  std::vector<DataBlock> blocks;
  bool block_open = false;
  std::string_view streamed_category;
  RowSink* sink = nullptr;
};

// The loop after a "loop_" line, kept under its category in the open block; dropped without tags or block.
void read_loop(LineCursor& cursor, Parse& parse) {
  Loop loop;
  loop.tags = read_tags(cursor);
  if (loop.tags.empty() || !parse.block_open) {
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
      read_single_item(trimmed, parse.blocks.back());
    }
  }
  return std::move(parse.blocks);
}

}  // namespace

std::expected<std::vector<DataBlock>, MmCifError> parse_mmcif(std::string_view text) {
  Parse parse;
  return parse_blocks(text, parse);
}

std::expected<std::vector<DataBlock>, MmCifError> parse_mmcif(std::string_view text, std::string_view category,
                                                              RowSink& sink) {
  Parse parse;
  parse.streamed_category = category;
  parse.sink = &sink;
  return parse_blocks(text, parse);
}

}  // namespace redivi::mmcif
