#include "model/utf8_text.h"

#include "platform/ascii_runs.h"
#include "platform/utf8.h"

namespace txtppt2 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char16_t kNul = 0, kLf = 10, kVt = 11, kCr = 13;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Decodes units[0, count); with lines, stops at a NUL and writes LF for
// CR LF, a lone CR and VT. Runs of ASCII that need no interpreting are
// copied a vector at a time; the units between them are decoded one by
// one. The output is sized for the worst case first (three bytes a unit; a
// pair takes four for two) and trimmed after, so that the loop writes
// without checks.
template <bool kLines>
void AppendUnits(std::string& out, const char16_t* units, size_t count) {
  // The runs stop below CR + 1 only where line breaks are interpreted.
  constexpr char16_t kLowestPlain = kLines ? kCr + 1 : 0;
  size_t start = out.size();
  out.resize(start + 3 * count);
  char* p = out.data() + start;
  size_t i = 0;
  while (i < count) {
    size_t run = Utf8AsciiRun(units + i, count - i, kLowestPlain, p);
    i += run;
    p += run;
    if (i == count) break;
    char32_t unit = units[i++];
    if (unit < 0x80) {  // a control character, only where kLines
      if (unit == kNul) break;
      if (unit == kCr && i < count && units[i] == kLf) continue;
      if (unit == kCr || unit == kVt) unit = kLf;
      *p++ = static_cast<char>(unit);
    } else if (IsHighSurrogate(unit) && i < count && IsLowSurrogate(units[i])) {
      char32_t low = units[i++];
      p = EncodeUtf8(p, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      p = EncodeUtf8(p, kReplacement);
    } else {
      p = EncodeUtf8(p, unit);
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
}

}  // namespace

void AppendUtf16(std::string& out, const char16_t* units, size_t count) {
  AppendUnits<false>(out, units, count);
}

void AppendUtf16Lines(std::string& out, const char16_t* units, size_t count) {
  AppendUnits<true>(out, units, count);
}

void AppendUtf16Le(std::string& out, std::string_view bytes) {
  // Made units first: the bytes may lie at any address.
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  AppendUnits<false>(out, units.data(), units.size());
}

}  // namespace txtppt2
