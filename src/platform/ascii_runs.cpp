#include "platform/ascii_runs.h"

#include <cstdint>
#include <cstring>

#include "platform/windows_1252_tables.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace txtppt2 {
namespace {

// Unit by unit: the definition of a narrowing run, and the end of every
// run that the faster loops leave.
size_t NarrowUnitByUnit(const WCHAR* src, size_t n, char* dst) {
  size_t i = 0;
  for (; i < n && src[i] < 0x80; ++i) {
    if (i + 1 < n && src[i + 1] >= kFirstComposingMark) break;
    dst[i] = static_cast<char>(src[i]);
  }
  return i;
}

size_t WidenByteByByte(const char* src, size_t n, WCHAR* dst) {
  size_t i = 0;
  for (; i < n && static_cast<unsigned char>(src[i]) < 0x80; ++i)
    dst[i] = static_cast<WCHAR>(src[i]);
  return i;
}

size_t Utf8UnitByUnit(const WCHAR* src, size_t n, WCHAR lowest, char* dst) {
  size_t i = 0;
  for (; i < n && src[i] >= lowest && src[i] < 0x80; ++i)
    dst[i] = static_cast<char>(src[i]);
  return i;
}

}  // namespace

size_t NarrowAsciiRunPortable(const WCHAR* src, size_t n, char* dst) {
  // Four units at a time, while a fifth follows to vouch for the fourth.
  constexpr uint64_t kHighBits = 0xFF80FF80FF80FF80u;
  size_t i = 0;
  while (n - i > 4) {
    uint64_t word;
    std::memcpy(&word, src + i, sizeof word);
    if ((word & kHighBits) != 0 || src[i + 4] >= kFirstComposingMark) break;
    for (size_t k = 0; k < 4; ++k) dst[i + k] = static_cast<char>(src[i + k]);
    i += 4;
  }
  return i + NarrowUnitByUnit(src + i, n - i, dst + i);
}

size_t WidenAsciiRunPortable(const char* src, size_t n, WCHAR* dst) {
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  size_t i = 0;
  while (n - i >= 8) {
    uint64_t word;
    std::memcpy(&word, src + i, sizeof word);
    if ((word & kHighBits) != 0) break;
    for (size_t k = 0; k < 8; ++k) dst[i + k] = static_cast<WCHAR>(src[i + k]);
    i += 8;
  }
  return i + WidenByteByByte(src + i, n - i, dst + i);
}

size_t Utf8AsciiRunPortable(const WCHAR* src, size_t n, WCHAR lowest,
                            char* dst) {
  // Four units at a time while none has a bit from 0x80 up; the few below
  // lowest are looked for only then.
  constexpr uint64_t kHighBits = 0xFF80FF80FF80FF80u;
  size_t i = 0;
  while (n - i >= 4) {
    uint64_t word;
    std::memcpy(&word, src + i, sizeof word);
    if ((word & kHighBits) != 0) break;
    size_t k = 0;
    while (k < 4 && src[i + k] >= lowest) ++k;
    if (k < 4) break;
    for (k = 0; k < 4; ++k) dst[i + k] = static_cast<char>(src[i + k]);
    i += 4;
  }
  return i + Utf8UnitByUnit(src + i, n - i, lowest, dst + i);
}

#ifdef __SSE2__
namespace {

size_t NarrowAsciiRunSse2(const WCHAR* src, size_t n, char* dst) {
  // Sixteen units at a time, while a seventeenth follows to vouch for the
  // sixteenth. The units are checked before they are packed: the packing
  // saturates as signed numbers, which would hide units from 0x8000 up.
  const __m128i highBits = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  while (n - i > 16) {
    __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    __m128i high =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 8));
    __m128i set = _mm_and_si128(_mm_or_si128(low, high), highBits);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(set, zero)) != 0xFFFF ||
        src[i + 16] >= kFirstComposingMark)
      break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                     _mm_packus_epi16(low, high));
    i += 16;
  }
  // The last sixteen units, which no unit follows, in one step when they
  // are all ASCII and the rest lies among them: those before i are already
  // part of the run, and are written again with the same bytes.
  if (i < n && n - i <= 16 && n >= 16) {
    __m128i low =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + n - 16));
    __m128i high =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + n - 8));
    __m128i set = _mm_and_si128(_mm_or_si128(low, high), highBits);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(set, zero)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + n - 16),
                       _mm_packus_epi16(low, high));
      return n;
    }
  }
  return i + NarrowUnitByUnit(src + i, n - i, dst + i);
}

size_t WidenAsciiRunSse2(const char* src, size_t n, WCHAR* dst) {
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  while (n - i >= 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    if (_mm_movemask_epi8(bytes) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                     _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 8),
                     _mm_unpackhi_epi8(bytes, zero));
    i += 16;
  }
  return i + WidenByteByByte(src + i, n - i, dst + i);
}

size_t Utf8AsciiRunSse2(const WCHAR* src, size_t n, WCHAR lowest, char* dst) {
  if (n < 8) return Utf8UnitByUnit(src, n, lowest, dst);
  // Eight units at a time, each vector's bytes written whole: those past
  // the run are written over later, or lie beyond it. A unit is in range
  // where both saturating differences, lowest - unit and unit - 0x7F, are
  // zero; the mask has two bits per unit.
  const __m128i floor = _mm_set1_epi16(static_cast<short>(lowest));
  const __m128i top = _mm_set1_epi16(0x7F);
  auto copy = [&](size_t at) {
    __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + at));
    __m128i outside =
        _mm_or_si128(_mm_subs_epu16(floor, units), _mm_subs_epu16(units, top));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + at),
                     _mm_packus_epi16(units, units));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi16(outside, _mm_setzero_si128())));
  };
  size_t i = 0;
  for (; n - i >= 8; i += 8) {
    unsigned inRange = copy(i);
    if (inRange != 0xFFFF)
      return i + static_cast<size_t>(__builtin_ctz(~inRange)) / 2;
  }
  if (i == n) return n;
  // The last eight units, those before i again: they are in range.
  unsigned inRange = copy(n - 8);
  if (inRange == 0xFFFF) return n;
  return n - 8 + static_cast<size_t>(__builtin_ctz(~inRange)) / 2;
}

}  // namespace
#endif

size_t NarrowAsciiRun(const WCHAR* src, size_t n, char* dst) {
#ifdef __SSE2__
  return NarrowAsciiRunSse2(src, n, dst);
#else
  return NarrowAsciiRunPortable(src, n, dst);
#endif
}

size_t WidenAsciiRun(const char* src, size_t n, WCHAR* dst) {
#ifdef __SSE2__
  return WidenAsciiRunSse2(src, n, dst);
#else
  return WidenAsciiRunPortable(src, n, dst);
#endif
}

size_t Utf8AsciiRun(const WCHAR* src, size_t n, WCHAR lowest, char* dst) {
#ifdef __SSE2__
  return Utf8AsciiRunSse2(src, n, lowest, dst);
#else
  return Utf8AsciiRunPortable(src, n, lowest, dst);
#endif
}

}  // namespace txtppt2
