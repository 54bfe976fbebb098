// CIF text to data blocks: block headers, loops whose rows may run over several lines, single items.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cif/document.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"
#include "text/byte_chunk.hpp"

namespace redivi::mmcif {
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

// Bytes that may end a token: ASCII white space and the quotes lie below "(", the lead bytes of multi-byte
// white space above 0x7F. The ordinary bytes among them ("!", "#" to "&", control and other non-ASCII
// bytes) are told apart by their class.
bool may_end_token(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < '(' || byte >= 0x80;
}

// Appends the tokens of one value line to cells; the nulls "?" and "." become empty cells.
class Tokenizer {
 public:
  // Bytes past a line's end, up to text_end, may be read a chunk at a time.
  Tokenizer(std::vector<std::string_view>& cells, std::deque<std::string>& glued_cells, const char* text_end)
      : cells_{cells}, glued_cells_{glued_cells}, text_end_{text_end} {}

  void tokenize(std::string_view line) {
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p != end) p = tokenize_block(p, end);
  }

 private:
  // The tokens of the up to 64 bytes from p on, which starts a token or white space, split at their blanks
  // by bit masks, up to the first byte that needs the full rules; they read that byte's token. Returns
  // where the next block starts: after the last token ended, or at a token that runs past the block.
  const char* tokenize_block(const char* p, const char* end) {
    const std::size_t size = std::min<std::size_t>(64, static_cast<std::size_t>(end - p));
    const BlockBits bits = classify(p, size);
    const int plain = bits.others == 0 ? 64 : std::countr_zero(bits.others);  // the bytes before are plain
    // A token starts at a byte after a blank (or at p), and ends at a blank after a byte.
    const std::uint64_t after_blank = (bits.blanks << 1) | 1;
    std::uint64_t ends = bits.blanks & ~after_blank;
    for (std::uint64_t starts = ~bits.blanks & after_blank; starts != 0; starts &= starts - 1) {
      const int start = std::countr_zero(starts);
      const int stop = ends == 0 ? 64 : std::countr_zero(ends);
      if (start >= plain || stop > plain) return read_fully(p + start, end);
      if (stop == 64) return start == 0 ? read_fully(p, end) : p + start;
      emit(p + start, p + stop);
      ends &= ends - 1;
    }
    return plain < 64 ? read_fully(p + plain, end) : p + size;
  }

  // Bit i stands for byte i of a block: blanks (" ", and every byte past the block's size), and the bytes
  // for the full rules: any other white space, a quote, a ";" or a non-ASCII byte (and, to keep the test
  // short, "!" and "#" to "&").
  struct BlockBits {
    std::uint64_t blanks = 0;
    std::uint64_t others = 0;
  };

  BlockBits classify(const char* block, std::size_t size) const {
    BlockBits bits;
    for (std::size_t i = 0; i < size; i += text::ByteChunk::size) {
      const text::ByteChunk chunk = chunk_at(block + i);
      const std::uint64_t blanks = chunk.equal_to(' ');
      bits.blanks |= blanks << i;
      bits.others |= static_cast<std::uint64_t>((chunk.below_or_non_ascii('(') & ~blanks) | chunk.equal_to(';')) << i;
    }
    if (size < 64) {
      const std::uint64_t outside = ~std::uint64_t{0} << size;
      bits.blanks |= outside;
      bits.others &= ~outside;
    }
    return bits;
  }

  // The chunk from p on; bytes past the end of the text read as blanks.
  text::ByteChunk chunk_at(const char* p) const {
    if (static_cast<std::size_t>(text_end_ - p) >= text::ByteChunk::size) return text::ByteChunk{p};
    char bytes[text::ByteChunk::size];
    std::memset(bytes, ' ', sizeof bytes);
    std::memcpy(bytes, p, static_cast<std::size_t>(text_end_ - p));
    return text::ByteChunk{bytes};
  }

  // One token or white-space character from p on, by the full rules. Returns where it ended.
  const char* read_fully(const char* p, const char* end) {
    switch (start_class(*p)) {
      case ByteClass::ordinary:
        return token(p, end);
      case ByteClass::space:
        return p + 1;
      case ByteClass::quote:
        return quoted_run(p, end, nullptr);
      case ByteClass::semicolon:
        // A ";" opening a token stands for an empty cell and hides the rest of the line.
        emit({});
        return end;
      case ByteClass::maybe_space:
        if (const std::size_t width = multi_byte_space(p, end)) return p + width;
        return token(p, end);
    }
    return end;
  }

  // The token that starts at start, up to white space or a quoted run. Returns where it ended.
  const char* token(const char* start, const char* end) {
    const char* p = start + 1;
    while (true) {
      p = next_token_end(p, end);
      if (p == end) {
        emit(start, end);
        return end;
      }
      switch (token_class(*p)) {
        case ByteClass::ordinary:
          ++p;
          break;
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

  // The first byte from p on that may end a token, or end.
  const char* next_token_end(const char* p, const char* end) const {
    while (p < end && static_cast<std::size_t>(text_end_ - p) >= text::ByteChunk::size) {
      if (const std::uint32_t flags = text::ByteChunk{p}.below_or_non_ascii('(')) {
        return std::min(p + std::countr_zero(flags), end);
      }
      p += text::ByteChunk::size;
    }
    while (p < end && !may_end_token(*p)) ++p;
    return std::min(p, end);
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
  const char* text_end_;
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
void read_row(LineCursor& cursor, std::string_view line, Loop& loop, Tokenizer& tokenizer) {
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
  Tokenizer tokenizer{loop.cells, glued_cells, cursor.text_end()};
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

}  // namespace redivi::mmcif
