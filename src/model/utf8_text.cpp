#include "model/utf8_text.h"

namespace txtppt2 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Decodes UTF-16 units handed out one by one by unitAt(i), i < count.
template <typename UnitAt>
void AppendUnits(std::string& out, size_t count, UnitAt unitAt) {
  for (size_t i = 0; i < count; ++i) {
    char32_t unit = unitAt(i);
    if (IsHighSurrogate(unit) && i + 1 < count &&
        IsLowSurrogate(unitAt(i + 1))) {
      char32_t low = unitAt(++i);
      AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendCodePoint(out, kReplacement);
    } else {
      AppendCodePoint(out, unit);
    }
  }
}

}  // namespace

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::string& out, const char16_t* units, size_t count) {
  AppendUnits(out, count, [units](size_t i) { return char32_t{units[i]}; });
}

void AppendUtf16Le(std::string& out, std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  AppendUnits(out, bytes.size() / 2, [data](size_t i) {
    return static_cast<char32_t>(data[2 * i] | (data[2 * i + 1] << 8));
  });
}

}  // namespace txtppt2
