#include "model/utf8_text.h"

namespace txtppt2 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char16_t kNul = 0, kLf = 10, kVt = 11, kCr = 13;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes cp (no surrogate) at p as UTF-8; returns the end.
char* Encode(char* p, char32_t cp) {
  if (cp < 0x80) {
    *p++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *p++ = static_cast<char>(0xC0 | (cp >> 6));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *p++ = static_cast<char>(0xE0 | (cp >> 12));
    *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *p++ = static_cast<char>(0xF0 | (cp >> 18));
    *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return p;
}

// Decodes count UTF-16 units handed out by unitAt(i); with lines, stops at
// a NUL and writes LF for CR LF, a lone CR and VT. The output is sized for
// the worst case first (three bytes a unit; a pair takes four for two) and
// trimmed after, so that the loop writes without checks.
template <bool kLines, typename UnitAt>
void AppendUnits(std::string& out, size_t count, UnitAt unitAt) {
  size_t start = out.size();
  out.resize(start + 3 * count);
  char* p = out.data() + start;
  for (size_t i = 0; i < count; ++i) {
    char32_t unit = unitAt(i);
    if (unit < 0x80) {
      if (kLines && unit <= kCr) {
        if (unit == kNul) break;
        if (unit == kCr && i + 1 < count && unitAt(i + 1) == kLf) continue;
        if (unit == kCr || unit == kVt) unit = kLf;
      }
      *p++ = static_cast<char>(unit);
    } else if (IsHighSurrogate(unit) && i + 1 < count &&
               IsLowSurrogate(unitAt(i + 1))) {
      char32_t low = unitAt(++i);
      p = Encode(p, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      p = Encode(p, kReplacement);
    } else {
      p = Encode(p, unit);
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
}

}  // namespace

void AppendUtf16(std::string& out, const char16_t* units, size_t count) {
  AppendUnits<false>(out, count,
                     [units](size_t i) { return char32_t{units[i]}; });
}

void AppendUtf16Lines(std::string& out, const char16_t* units, size_t count) {
  AppendUnits<true>(out, count,
                    [units](size_t i) { return char32_t{units[i]}; });
}

void AppendUtf16Le(std::string& out, std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  AppendUnits<false>(out, bytes.size() / 2, [data](size_t i) {
    return static_cast<char32_t>(data[2 * i] | (data[2 * i + 1] << 8));
  });
}

}  // namespace txtppt2
