// Classifying bytes of text a chunk at a time: a chunk of 16 bytes (8 without SSE2) is loaded once, and each
// test gives one bit per byte, the first byte's lowest.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

}  // namespace redivi::detail::text

// Callers across the library name this layer without its detail prefix.
namespace redivi {
namespace text = detail::text;
}  // namespace redivi
