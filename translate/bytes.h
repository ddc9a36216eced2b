// Searching the stretches of an input line sixteen bytes at a time and
// without a call: indentation, tag names, the text up to a delimiter, line
// ends. A tag name or a delimited text mostly ends within the first sixteen
// bytes, so its search takes one step, with no loop end to mispredict. On
// x86 the sixteen bytes are compared at once (SSE2, which every x86-64
// processor has); elsewhere eight at a time in a 64-bit word (one by one on
// big-endian processors), with the same results.
#ifndef TENAPI_TRANSLATE_BYTES_H_
#define TENAPI_TRANSLATE_BYTES_H_

#include <cstdint>
#include <cstring>
#include <string_view>

// TENAPI_PLAIN_SEARCH (the CMake option) leaves SSE2 out on x86 too, so
// that the code for other processors is built and tested there.
#if !defined(TENAPI_PLAIN_SEARCH) && (defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64))
#define TENAPI_SSE2 1
#include <emmintrin.h>
#endif
#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace tenapi {

// Bytes compared by one call to byte_mask.
constexpr std::string_view::size_type kMaskBytes = 16;

// Bit i set where bytes[i] equals `byte`, for the 16 bytes from `bytes`.
inline unsigned byte_mask(const char* bytes, char byte) {
#ifdef TENAPI_SSE2
  __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(byte))));
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  // Eight bytes to a 64-bit word, byte i in bits 8i to 8i + 7: the high bit
  // of each byte equal to `byte` (exactly: no carry crosses a byte), then
  // those eight bits gathered into bits 0 to 7 by one multiplication.
  constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fu;
  unsigned mask = 0;
  for (unsigned half = 0; half < 2; ++half) {
    std::uint64_t word;
    std::memcpy(&word, bytes + 8 * half, 8);
    word ^= 0x0101010101010101u * static_cast<unsigned char>(byte);
    std::uint64_t equal = ~(((word & kLow7) + kLow7) | word | kLow7);
    mask |= static_cast<unsigned>(((equal >> 7) * 0x0102040810204080u) >> 56) << (8 * half);
  }
  return mask;
#else
  unsigned mask = 0;
  for (unsigned i = 0; i < kMaskBytes; ++i) mask |= unsigned{bytes[i] == byte} << i;
  return mask;
#endif
}

// The index of the lowest set bit of `bits`, which is not zero.
inline unsigned lowest_bit(std::uint64_t bits) {
#if defined(_MSC_VER)
  unsigned long index;
  _BitScanForward64(&index, bits);
  return static_cast<unsigned>(index);
#else
  return static_cast<unsigned>(__builtin_ctzll(bits));
#endif
}

// The position of the first byte at or after `from` that equals `byte`
// (when `equal`) or differs from it, or npos.
inline std::string_view::size_type scan_bytes(std::string_view text, char byte, bool equal,
                                              std::string_view::size_type from) {
  constexpr unsigned kAll = (1u << kMaskBytes) - 1;
  const unsigned flip = equal ? 0 : kAll;
  std::string_view::size_type i = from;
  for (; i + kMaskBytes <= text.size(); i += kMaskBytes) {
    unsigned hits = byte_mask(text.data() + i, byte) ^ flip;
    if (hits != 0) return i + lowest_bit(hits);
  }
  if (i >= text.size()) return std::string_view::npos;
  if (text.size() >= kMaskBytes) {
    // The last sixteen bytes, without those before `i` already looked at.
    std::string_view::size_type last = text.size() - kMaskBytes;
    unsigned hits = (byte_mask(text.data() + last, byte) ^ flip) >> (i - last) << (i - last);
    return hits != 0 ? last + lowest_bit(hits) : std::string_view::npos;
  }
  for (; i < text.size(); ++i) {
    if ((text[i] == byte) == equal) return i;
  }
  return std::string_view::npos;
}

// The position of the first `byte` in `text` at or after `from`, or npos.
inline std::string_view::size_type find_byte(std::string_view text, char byte,
                                             std::string_view::size_type from) {
  return scan_bytes(text, byte, true, from);
}

// The position of the first byte of `text` that is not `byte`, or its size.
inline std::string_view::size_type skip_bytes(std::string_view text, char byte) {
  std::string_view::size_type i = scan_bytes(text, byte, false, 0);
  return i == std::string_view::npos ? text.size() : i;
}

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_BYTES_H_
