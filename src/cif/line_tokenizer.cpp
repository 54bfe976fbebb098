// The tokens of one CIF value line: blank-separated tokens split by bit masks, the rest by the full rules.
#include "cif/line_tokenizer.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/byte_chunk.hpp"
#include "text/text.hpp"
#include "text/unicode.hpp"

namespace redivi::mmcif::detail {
namespace {

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

// The chunk from p on; bytes past the end of the text read as blanks.
text::ByteChunk chunk_at(const char* p, const char* text_end) {
  if (static_cast<std::size_t>(text_end - p) >= text::ByteChunk::size) return text::ByteChunk{p};
  char bytes[text::ByteChunk::size];
  std::memset(bytes, ' ', sizeof bytes);
  std::memcpy(bytes, p, static_cast<std::size_t>(text_end - p));
  return text::ByteChunk{bytes};
}

// Bit i stands for byte i of a block of up to 64 bytes: blanks (" ", and every byte past the block's size),
// and the bytes for the full rules: any other white space, a quote, a ";" or a non-ASCII byte (and, to keep
// the test short, "!" and "#" to "&").
struct BlockBits {
  std::uint64_t blanks = 0;
  std::uint64_t others = 0;
};

BlockBits block_bits(const char* block, std::size_t size, const char* text_end) {
  BlockBits bits;
  for (std::size_t i = 0; i < size; i += text::ByteChunk::size) {
    const text::ByteChunk chunk = chunk_at(block + i, text_end);
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

std::string_view view(const char* first, const char* last) { return {first, static_cast<std::size_t>(last - first)}; }

}  // namespace

void LineTokenizer::tokenize(std::string_view line) {
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p != end) p = tokenize_block(p, end);
}

// The tokens of the up to 64 bytes from p on (p starts a token or white space), split at their blanks by bit
// masks. The token that holds the first byte for the full rules, or one as long as the block, is read by the
// full rules. Returns where the next block starts: after the last token read, or at a token that runs past
// the block.
const char* LineTokenizer::tokenize_block(const char* p, const char* end) {
  const std::size_t size = std::min<std::size_t>(64, static_cast<std::size_t>(end - p));
  const BlockBits bits = block_bits(p, size, text_end_);
  const int plain = bits.others == 0 ? 64 : std::countr_zero(bits.others);  // the bytes before are plain
  // A token starts at a byte after a blank (or at p), and ends at a blank after a byte.
  const std::uint64_t after_blank = (bits.blanks << 1) | 1;
  std::uint64_t ends = bits.blanks & ~after_blank;
  for (std::uint64_t starts = ~bits.blanks & after_blank; starts != 0; starts &= starts - 1) {
    const int start = std::countr_zero(starts);
    const int stop = ends == 0 ? 64 : std::countr_zero(ends);
    if (stop > plain) return read_fully(p + start, end);  // the token holds a byte for the full rules
    if (stop == 64) return start == 0 ? read_fully(p, end) : p + start;
    emit(p + start, p + stop);
    ends &= ends - 1;
  }
  return plain < 64 ? read_fully(p + plain, end) : p + size;
}

// One token or white-space character from p on, by the full rules. Returns where it ended.
const char* LineTokenizer::read_fully(const char* p, const char* end) {
  switch (start_class(*p)) {
    case ByteClass::ordinary: return token(p, end);
    case ByteClass::space: return p + 1;
    case ByteClass::quote: return quoted_run(p, end, nullptr);
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
const char* LineTokenizer::token(const char* start, const char* end) {
  const char* p = start + 1;
  while (true) {
    p = next_token_end(p, end);
    if (p == end) {
      emit(start, end);
      return end;
    }
    switch (token_class(*p)) {
      case ByteClass::ordinary: ++p; break;
      case ByteClass::space: emit(start, p); return p + 1;
      case ByteClass::quote: return quoted_run(p, end, start);
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
const char* LineTokenizer::next_token_end(const char* p, const char* end) const {
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
const char* LineTokenizer::quoted_run(const char* quote, const char* end, const char* start) {
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

}  // namespace redivi::mmcif::detail
