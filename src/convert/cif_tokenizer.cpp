// CIF text to data blocks: block headers, loops whose rows may run over several lines, single items.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "convert/cif.hpp"
#include "text.hpp"
#include "unicode.hpp"

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

 private:
  text::Lines lines_;
  std::string_view next_;
  bool has_next_ = false;
};

enum class ByteClass : unsigned char { ordinary, space, quote, semicolon, maybe_space };

constexpr std::array<ByteClass, 256> make_byte_classes() {
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
  classes[';'] = ByteClass::semicolon;
  return classes;
}

constexpr std::array<ByteClass, 256> byte_classes = make_byte_classes();

ByteClass byte_class(char c) { return byte_classes[static_cast<unsigned char>(c)]; }

// Appends the tokens of one value line to cells; the nulls "?" and "." become empty cells.
class Tokenizer {
 public:
  Tokenizer(std::vector<std::string_view>& cells, std::deque<std::string>& glued_cells)
      : cells_{cells}, glued_cells_{glued_cells} {}

  void tokenize(std::string_view line) {
    std::size_t i = 0;
    std::size_t start = std::string_view::npos;  // where the current unquoted token began
    while (i < line.size()) {
      switch (byte_class(line[i])) {
        case ByteClass::ordinary:
          if (start == std::string_view::npos) start = i;
          ++i;
          break;
        case ByteClass::quote:
          i = quoted_run(line, i, start);
          start = std::string_view::npos;
          break;
        case ByteClass::semicolon:
          if (start != std::string_view::npos) {
            ++i;
            break;
          }
          // A ";" opening a token stands for an empty cell and hides the rest of the line.
          emit({});
          return;
        case ByteClass::space:
        case ByteClass::maybe_space: {
          const std::size_t width = unicode::space_length(line.substr(i));
          if (width == 0) {
            if (start == std::string_view::npos) start = i;
            ++i;
            break;
          }
          if (start != std::string_view::npos) emit(line.substr(start, i - start));
          start = std::string_view::npos;
          i += width;
          break;
        }
      }
    }
    if (start != std::string_view::npos) emit(line.substr(start));
  }

 private:
  // The run after the quote at position quote, up to the same quote or the end of the line, ends the
  // current token; text before the quote is glued to it. Returns the position after the run.
  std::size_t quoted_run(std::string_view line, std::size_t quote, std::size_t start) {
    const std::size_t close = line.find(line[quote], quote + 1);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    const std::string_view run = line.substr(quote + 1, end - quote - 1);
    if (start == std::string_view::npos) {
      if (!run.empty()) emit(run);
    } else if (run.empty()) {
      emit(line.substr(start, quote - start));
    } else {
      emit(glued_cells_.emplace_back(text::concat(line.substr(start, quote - start), run)));
    }
    return close == std::string_view::npos ? line.size() : close + 1;
  }

  void emit(std::string_view token) {
    cells_.push_back(token == "?" || token == "." ? std::string_view{} : token);
  }

  std::vector<std::string_view>& cells_;
  std::deque<std::string>& glued_cells_;
};

bool ends_loop(std::string_view trimmed) {
  return trimmed.starts_with('_') || trimmed.starts_with("loop_") || trimmed.starts_with("data_");
}

bool is_skipped(std::string_view trimmed) { return trimmed.empty() || trimmed.starts_with('#'); }

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

// The loop after a "loop_" line: its tag lines, then its rows up to the next tag, loop or block.
Loop read_loop(LineCursor& cursor, std::deque<std::string>& glued_cells) {
  Loop loop;
  std::string_view line;
  while (cursor.peek(line)) {
    const std::string_view trimmed = unicode::trim(line);
    if (!trimmed.starts_with('_')) break;
    loop.tags.push_back(trimmed);
    cursor.advance();
  }
  Tokenizer tokenizer{loop.cells, glued_cells};
  while (cursor.peek(line)) {
    const std::string_view trimmed = unicode::trim(line);
    if (!is_skipped(trimmed) && ends_loop(trimmed)) break;
    cursor.advance();
    if (is_skipped(trimmed) || loop.tags.empty()) continue;
    read_row(cursor, line, loop, tokenizer);
  }
  return loop;
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

}  // namespace

std::expected<std::vector<DataBlock>, MmCifError> parse_mmcif(std::string_view text) {
  std::vector<DataBlock> blocks;
  bool block_open = false;
  std::deque<std::string> orphan_cells;  // for loops before the first block, which are dropped
  LineCursor cursor{text};
  std::string_view line;
  while (cursor.peek(line)) {
    cursor.advance();
    const std::string_view trimmed = unicode::trim(line);
    if (is_skipped(trimmed)) continue;
    if (trimmed.starts_with("data_")) {
      blocks.emplace_back().name = trimmed.substr(5);
      block_open = true;
    } else if (trimmed.starts_with("loop_")) {
      Loop loop = read_loop(cursor, block_open ? blocks.back().glued_cells : orphan_cells);
      if (block_open && !loop.tags.empty()) {
        const std::string_view category = category_of(loop.tags.front());
        blocks.back().items.insert_or_assign(category, DataItem{std::move(loop)});
      }
    } else if (trimmed.starts_with('_') && block_open) {
      read_single_item(trimmed, blocks.back());
    }
  }
  return blocks;
}

}  // namespace redivi::mmcif
