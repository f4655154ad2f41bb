#include "extract/text_sink.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace txtppt2 {

static_assert(std::endian::native == std::endian::little,
              "UTF-16LE payloads are used in place as UTF-16 units");
static_assert(sizeof(WCHAR) == 2, "WCHAR is a UTF-16 code unit");

namespace {

constexpr char kNul = 0;
constexpr char kCr = 13;
constexpr char kLf = 10;
constexpr char kVt = 11;
constexpr int kSeparatorLength = 30;
// The largest piece handed to one platform conversion, which counts in int.
constexpr size_t kMaxSlice = size_t{1} << 29;

// The constant pieces of the output in a given width.
template <typename CharT>
struct Constants {
  static constexpr CharT kLineBreak[2] = {CharT(kCr), CharT(kLf)};
  static constexpr CharT kLoneCrCompletion[1] = {CharT(kLf)};
  static constexpr auto MakeSeparator() {
    struct Separator {
      CharT text[kSeparatorLength + 2];
    } s{};
    for (int i = 0; i < kSeparatorLength; ++i) s.text[i] = CharT('-');
    s.text[kSeparatorLength] = CharT(kCr);
    s.text[kSeparatorLength + 1] = CharT(kLf);
    return s;
  }
  static constexpr auto kSeparator = MakeSeparator();
};

// Where the conversions of small atoms put their text, so that most atoms
// cost no allocation: a buffer on the stack of the call.
constexpr size_t kLocalBufferBytes = 4096;

// Room for count characters: the caller's scratch buffer when it is large
// enough, else a heap block that heap owns until the caller returns.
template <typename CharT, size_t N>
CharT* ConversionBuffer(CharT (&scratch)[N], size_t count,
                        std::unique_ptr<CharT[]>& heap) {
  if (count <= N) return scratch;
  heap.reset(new CharT[count]);
  return heap.get();
}

// The characters the writer interprets (NUL, VT, CR) as bits; all are below
// 14. LF matters only right after a CR.
constexpr uint32_t kInterpretedBits = (1u << kNul) | (1u << kVt) | (1u << kCr);
constexpr unsigned kFirstUninterpreted = 14;

template <typename CharT>
inline bool IsInterpreted(CharT c) {
  auto unit = static_cast<std::make_unsigned_t<CharT>>(c);
  return unit < kFirstUninterpreted && ((kInterpretedBits >> unit) & 1) != 0;
}

#ifdef __SSE2__
// The characters below 14 among the sixteen bytes at p, one bit per
// character: a superset of the interpreted ones (it has LF and TAB too), as
// one saturating subtraction and one comparison find them.
template <typename CharT>
inline unsigned LowCharacterMask(const CharT* p) {
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i zero = _mm_setzero_si128();
  if constexpr (sizeof(CharT) == 1) {
    __m128i low = _mm_cmpeq_epi8(
        _mm_subs_epu8(v, _mm_set1_epi8(kFirstUninterpreted - 1)), zero);
    return static_cast<unsigned>(_mm_movemask_epi8(low));
  } else {
    __m128i low = _mm_cmpeq_epi16(
        _mm_subs_epu16(v, _mm_set1_epi16(kFirstUninterpreted - 1)), zero);
    // Each 16-bit lane is all ones or all zeros: packing keeps it exact.
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(low, zero)));
  }
}
#endif

// Finds the first character at or after i that the writer interprets;
// count when there is none. Sixteen bytes are looked at at once with SSE2;
// elsewhere eight, where a word in which no character is below 14 holds none
// of them (the "has less than" test of each lane: a lane below n borrows
// into its top bit).
template <typename CharT>
size_t NextInterpreted(const CharT* text, size_t i, size_t count) {
#ifdef __SSE2__
  constexpr size_t kPerVector = 16 / sizeof(CharT);
  while (count - i >= kPerVector) {
    for (unsigned mask = LowCharacterMask(text + i); mask != 0;
         mask &= mask - 1) {
      size_t at = i + static_cast<size_t>(std::countr_zero(mask));
      if (IsInterpreted(text[at])) return at;
    }
    i += kPerVector;
  }
  // The rest, fewer than a vector: the last vector of the text, without
  // the characters before i, where the text is that long.
  if (i < count && count >= kPerVector) {
    size_t base = count - kPerVector;
    for (unsigned mask = LowCharacterMask(text + base) & (~0u << (i - base));
         mask != 0; mask &= mask - 1) {
      size_t at = base + static_cast<size_t>(std::countr_zero(mask));
      if (IsInterpreted(text[at])) return at;
    }
    return count;
  }
  for (; i < count; ++i)
    if (IsInterpreted(text[i])) return i;
  return count;
#else
  constexpr size_t kPerWord = sizeof(uint64_t) / sizeof(CharT);
  constexpr uint64_t kLaneOnes =
      sizeof(CharT) == 1 ? 0x0101010101010101u : 0x0001000100010001u;
  constexpr uint64_t kLaneTops = kLaneOnes << (8 * sizeof(CharT) - 1);
  for (;;) {
    while (count - i >= kPerWord) {
      uint64_t word;
      std::memcpy(&word, text + i, sizeof word);
      if (((word - kLaneOnes * kFirstUninterpreted) & ~word & kLaneTops) != 0)
        break;
      i += kPerWord;
    }
    size_t end = std::min(count, i + kPerWord);
    for (; i < end; ++i)
      if (IsInterpreted(text[i])) return i;
    if (i == count) return count;
  }
#endif
}

// U+0300, the first combining mark: a unit followed by one may compose
// with it in the conversion to the ANSI code page.
constexpr WCHAR kFirstCombiningMark = 0x0300;

// How far NarrowAndWrite got: units of the source taken, bytes written,
// and whether a NUL ended the text there.
struct NarrowedStart {
  size_t units = 0;
  size_t bytes = 0;
  bool ended = false;
};

// Pure text from UTF-16 in one pass, where the source is ASCII: every ANSI
// code page holds ASCII as itself, so the writer's rules (see WriteText)
// apply to the units directly, and the text is narrowed, a vector at a
// time where no unit below 14 is among them. Stops at the first unit
// outside ASCII, or before the unit ahead of it when that is a combining
// mark with which the unit may compose: the rest is the code page's. dst
// has room for two bytes per unit. Without SSE2 it leaves everything to
// the general way.
NarrowedStart NarrowAndWrite(const WCHAR* src, size_t n, char* dst) {
  NarrowedStart done;
#ifdef __SSE2__
  size_t& i = done.units;
  size_t& o = done.bytes;
  // A unit is plain when unit - 14, wrapping, is at most 0x71 (0x7F - 14):
  // no lane of the saturating difference with 0x71 is then set.
  const __m128i first = _mm_set1_epi16(kFirstUninterpreted);
  const __m128i span = _mm_set1_epi16(0x7F - kFirstUninterpreted);
  const __m128i zero = _mm_setzero_si128();
  while (i < n) {
    if (n - i < 16 && n >= 16) {
      // The last sixteen units in one step when all are plain: those
      // before i then took a byte each, and are written again the same.
      __m128i low =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + n - 16));
      __m128i high =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + n - 8));
      __m128i out =
          _mm_or_si128(_mm_subs_epu16(_mm_sub_epi16(low, first), span),
                       _mm_subs_epu16(_mm_sub_epi16(high, first), span));
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(out, zero)) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + o - (i - (n - 16))),
                         _mm_packus_epi16(low, high));
        o += n - i;
        i = n;
        break;
      }
    }
    if (n - i >= 16) {
      __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      __m128i high =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 8));
      __m128i outLow = _mm_subs_epu16(_mm_sub_epi16(low, first), span);
      __m128i outHigh = _mm_subs_epu16(_mm_sub_epi16(high, first), span);
      // Lanes past the first that is not plain are written over later.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + o),
                       _mm_packus_epi16(low, high));
      // The whole vector, the common case, moves on by a constant: the
      // next loads then wait for no result of this one.
      if (_mm_movemask_epi8(
              _mm_cmpeq_epi16(_mm_or_si128(outLow, outHigh), zero)) == 0xFFFF) {
        i += 16;
        o += 16;
        continue;
      }
      auto plain = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(
          _mm_cmpeq_epi16(outLow, zero), _mm_cmpeq_epi16(outHigh, zero))));
      size_t run = static_cast<size_t>(std::countr_one(plain));
      i += run;
      o += run;
    }
    WCHAR unit = src[i];
    if (unit >= kFirstUninterpreted && unit < 0x80) {
      dst[o++] = static_cast<char>(unit);
    } else if (unit >= 0x80) {
      if (unit >= kFirstCombiningMark && i > 0 &&
          src[i - 1] >= kFirstUninterpreted && src[i - 1] < 0x80) {
        --i;  // that unit was written as one byte
        --o;
      }
      return done;
    } else if (unit == kNul) {
      done.ended = true;
      return done;
    } else if (unit == kVt || unit == kCr) {
      dst[o++] = kCr;
      if (unit == kVt || !(i + 1 < n && src[i + 1] == kLf)) dst[o++] = kLf;
    } else {
      dst[o++] = static_cast<char>(unit);  // LF, TAB and the rest pass
    }
    ++i;
  }
#else
  (void)src;
  (void)n;
  (void)dst;
#endif
  return done;
}

template <typename CharT>
void AppendSeparatorTo(OutputTextStream<CharT>& out) {
  const auto& separator = Constants<CharT>::kSeparator;
  out.Write(separator.text, kSeparatorLength + 2);
}

}  // namespace

// The two conversions, over the platform's code page functions with the
// ANSI code page. Each gives the length produced; an empty source gives 0
// (the platform reports it as a failure, which is nothing to write here).
int Utf16ToAnsi(const WCHAR* source, int units, char* dest, int destBytes) {
  BOOL usedDefault = FALSE;  // asked for, as the platform reports it; unused
  return WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK | WC_DEFAULTCHAR, source,
                             units, dest, destBytes, " ", &usedDefault);
}

int AnsiToUtf16(const char* source, int bytes, WCHAR* dest, int destUnits) {
  return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, source, bytes, dest,
                             destUnits);
}

template <typename CharT>
void WriteText(OutputTextStream<CharT>& out, const CharT* text, size_t count) {
  using K = Constants<CharT>;
  size_t start = 0;
  size_t i = NextInterpreted(text, 0, count);
  while (i < count) {
    CharT c = text[i];
    if (c == CharT(kNul)) break;
    if (c == CharT(kCr)) {
      if (!(i + 1 < count && text[i + 1] == CharT(kLf))) {
        out.Write(text + start, i + 1 - start);
        out.Write(K::kLoneCrCompletion, 1);
        start = i + 1;
      }
    } else {  // VT
      out.Write(text + start, i - start);
      out.Write(K::kLineBreak, 2);
      start = i + 1;
    }
    i = NextInterpreted(text, i + 1, count);
  }
  out.Write(text + start, i - start);
  out.Write(K::kLineBreak, 2);
}

template void WriteText(NarrowOutputStream&, const char*, size_t);
template void WriteText(WideOutputStream&, const WCHAR*, size_t);

void AppendSeparator(NarrowOutputStream& out) { AppendSeparatorTo(out); }

void AppendSeparator(WideOutputStream& out) { AppendSeparatorTo(out); }

void AppendUtf16Text(NarrowOutputStream& out, const void* buffer,
                     uint32_t byteLength) {
  // Room for two bytes per unit, as a double-byte code page could need;
  // compositions only make the result shorter.
  const auto* source = static_cast<const WCHAR*>(buffer);
  size_t units = byteLength / 2;
  char narrowScratch[kLocalBufferBytes];
  std::unique_ptr<char[]> heap;
  char* dest = ConversionBuffer(narrowScratch, units * 2 + 1, heap);
  // Text in ASCII needs no code page: it is narrowed and written in one
  // pass, and only the rest from the first unit outside ASCII takes the
  // general way.
  NarrowedStart start = NarrowAndWrite(source, units, dest);
  out.Write(dest, start.bytes);
  if (start.ended || start.units == units) {
    out.Write(Constants<char>::kLineBreak, 2);
    return;
  }
  source += start.units;
  units -= start.units;
  size_t total = 0;
  // The platform counts in int: atoms past half a gigabyte go in slices. An
  // empty source converts to nothing (the platform reports it as failure).
  for (size_t done = 0; done < units;) {
    size_t slice = std::min(units - done, kMaxSlice);
    total += static_cast<size_t>(
        Utf16ToAnsi(source + done, static_cast<int>(slice), dest + total,
                    static_cast<int>(slice * 2)));
    done += slice;
  }
  WriteText(out, dest, total);
}

void AppendUtf16Text(WideOutputStream& out, const void* buffer,
                     uint32_t byteLength) {
  WriteText(out, static_cast<const WCHAR*>(buffer), byteLength / 2);
}

void AppendAnsiText(NarrowOutputStream& out, const void* buffer,
                    uint32_t length) {
  WriteText(out, static_cast<const char*>(buffer), length);
}

void AppendAnsiText(WideOutputStream& out, const void* buffer,
                    uint32_t length) {
  // One unit per byte is room enough for any ANSI code page: a character
  // never takes more UTF-16 units than it takes bytes.
  const auto* source = static_cast<const char*>(buffer);
  WCHAR wideScratch[kLocalBufferBytes / sizeof(WCHAR)];
  wideScratch[0] = 0;  // never read unset; says so to the compiler
  std::unique_ptr<WCHAR[]> heap;
  WCHAR* dest =
      ConversionBuffer(wideScratch, static_cast<size_t>(length) + 1, heap);
  size_t total = 0;
  for (size_t done = 0; done < length;) {
    size_t slice = std::min(length - done, kMaxSlice);
    total +=
        static_cast<size_t>(AnsiToUtf16(source + done, static_cast<int>(slice),
                                        dest + total, static_cast<int>(slice)));
    done += slice;
  }
  WriteText(out, dest, total);
}

}  // namespace txtppt2
