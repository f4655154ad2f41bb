#include "model/model_text.h"

#include <algorithm>

#include "extract/record_types.h"
#include "extract/text_sink.h"
#include "model/utf8_text.h"

namespace txtppt2 {

namespace {

constexpr char16_t kNul = 0;
constexpr char16_t kLf = 10;
constexpr char16_t kVt = 11;
constexpr char16_t kCr = 13;
// The platform converts in int-sized pieces.
constexpr size_t kMaxSlice = size_t{1} << 29;

}  // namespace

std::u16string AtomUnits(std::string_view image, const RecordHeader& atom) {
  std::string_view body = BodyOf(image, atom);
  std::u16string units;
  if (atom.type == RT_TextBytesAtom) {
    units.resize(body.size());
    size_t total = 0;
    for (size_t done = 0; done < body.size();) {
      size_t slice = std::min(body.size() - done, kMaxSlice);
      int converted = 0;
      TextSink::AnsiToUtf16(body.data() + done, static_cast<int>(slice),
                            reinterpret_cast<WCHAR*>(units.data() + total),
                            static_cast<int>(slice), &converted);
      total += static_cast<size_t>(converted);
      done += slice;
    }
    units.resize(total);
    return units;
  }
  units.resize(body.size() / 2);
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(
        static_cast<unsigned char>(body[2 * i]) |
        (static_cast<unsigned char>(body[2 * i + 1]) << 8));
  return units;
}

void AppendLineText(std::string& out, std::u16string_view units) {
  units = units.substr(0, units.find(kNul));
  size_t start = 0;
  for (size_t i = 0; i < units.size(); ++i) {
    char16_t unit = units[i];
    if (unit != kCr && unit != kVt) continue;
    AppendUtf16(out, units.data() + start, i - start);
    if (unit == kCr && i + 1 < units.size() && units[i + 1] == kLf) ++i;
    out.push_back('\n');
    start = i + 1;
  }
  AppendUtf16(out, units.data() + start, units.size() - start);
}

void AppendParagraphs(std::string& out, std::u16string_view units) {
  AppendLineText(out, units);
  out.push_back('\n');
}

std::string TrimmedText(std::u16string_view units) {
  std::string text;
  AppendLineText(text, units);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace txtppt2
