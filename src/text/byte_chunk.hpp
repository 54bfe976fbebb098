// Classifying bytes of text a chunk at a time: a chunk of 16 bytes (8 without SSE2) is loaded once, and each
// test gives one bit per byte, the first byte's lowest. Copying text while looking for two bytes in it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace redivi::detail::text {

#if defined(__SSE2__)

class ByteChunk {
 public:
  static constexpr std::size_t size = 16;

  // Reads size bytes from p.
  explicit ByteChunk(const char* p) : bytes_{_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))} {}

  // Writes the size bytes to p.
  void store(char* p) const { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), bytes_); }

  std::uint32_t equal_to(char c) const { return mask(_mm_cmpeq_epi8(bytes_, _mm_set1_epi8(c))); }
  // The bytes below c, which is ASCII, and every non-ASCII byte (negative as signed bytes).
  std::uint32_t below_or_non_ascii(char c) const { return mask(_mm_cmplt_epi8(bytes_, _mm_set1_epi8(c))); }

 private:
  static std::uint32_t mask(__m128i flags) { return static_cast<std::uint32_t>(_mm_movemask_epi8(flags)); }
  __m128i bytes_;
};

#else

// The same tests on a 64-bit word, each byte's result first in its high bit. The sums stay within their
// bytes, so every flag is exact.
class ByteChunk {
 public:
  static constexpr std::size_t size = 8;

  explicit ByteChunk(const char* p) {
    std::memcpy(&word_, p, sizeof word_);
    if constexpr (std::endian::native == std::endian::big) word_ = std::byteswap(word_);
  }

  void store(char* p) const {
    const std::uint64_t word = std::endian::native == std::endian::big ? std::byteswap(word_) : word_;
    std::memcpy(p, &word, sizeof word);
  }

  std::uint32_t equal_to(char c) const {
    const std::uint64_t diff = word_ ^ (ones * static_cast<unsigned char>(c));
    return gather(~(((diff & ~high_bits) + ~high_bits) | diff) & high_bits);
  }
  std::uint32_t below_or_non_ascii(char c) const {
    const std::uint64_t below = ~(((word_ & ~high_bits) + ones * (0x80u - static_cast<unsigned char>(c))) | word_);
    return gather((below | word_) & high_bits);
  }

 private:
  static constexpr std::uint64_t ones = 0x0101010101010101u;
  static constexpr std::uint64_t high_bits = 0x8080808080808080u;

  // The high bits as the eight low bits: each lands on its own bit of the product, so no sum carries.
  static std::uint32_t gather(std::uint64_t flags) {
    return static_cast<std::uint32_t>(((flags >> 7) * 0x0102040810204080u) >> 56);
  }
  std::uint64_t word_ = 0;
};

#endif

namespace copying {

// Copies one chunk; true when it holds a or b.
inline bool chunk(const char* from, char* to, char a, char b) {
  const ByteChunk bytes{from};
  bytes.store(to);
  return (bytes.equal_to(a) | bytes.equal_to(b)) != 0;
}

// Copies one word of 4 or 8 bytes; true when it holds a or b, found without a branch: a byte of
// word ^ c is zero exactly where c is, and subtracting one from every byte sets the high bit of some
// byte exactly when one is zero.
template <class Word>
bool word(const char* from, char* to, char a, char b) {
  constexpr Word ones = static_cast<Word>(~Word{0}) / 0xFF;
  constexpr Word high_bits = ones << 7;
  Word bytes;
  std::memcpy(&bytes, from, sizeof bytes);
  std::memcpy(to, &bytes, sizeof bytes);
  const Word x = bytes ^ (ones * static_cast<unsigned char>(a));
  const Word y = bytes ^ (ones * static_cast<unsigned char>(b));
  return ((((x - ones) & ~x) | ((y - ones) & ~y)) & high_bits) != 0;
}

}  // namespace copying

// Copies the text to `to`, as memcpy does, and tells whether it holds the byte a or the byte b: one pass
// where a copy and a search would take two. The last chunk or word overlaps the one before it, so no byte
// is read or written past either end.
inline bool copy_holding_either(char* to, std::string_view text, char a, char b) {
  const char* from = text.data();
  const std::size_t n = text.size();
  if (n >= ByteChunk::size) {
    bool found = false;
    for (std::size_t at = 0; at + ByteChunk::size < n; at += ByteChunk::size) {
      found |= copying::chunk(from + at, to + at, a, b);
    }
    const std::size_t last = n - ByteChunk::size;
    return copying::chunk(from + last, to + last, a, b) || found;
  }
  // Two words that overlap in the middle: both are copied whatever the first holds.
  if (n >= 8) {
    const bool first = copying::word<std::uint64_t>(from, to, a, b);
    return copying::word<std::uint64_t>(from + n - 8, to + n - 8, a, b) || first;
  }
  if (n >= 4) {
    const bool first = copying::word<std::uint32_t>(from, to, a, b);
    return copying::word<std::uint32_t>(from + n - 4, to + n - 4, a, b) || first;
  }
  bool found = false;
  for (std::size_t i = 0; i < n; ++i) {
    to[i] = from[i];
    found |= from[i] == a || from[i] == b;
  }
  return found;
}

}  // namespace redivi::detail::text

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace text = detail::text;
}  // namespace redivi
