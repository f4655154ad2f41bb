#include "model/model_text.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "extract/record_types.h"
#include "extract/text_sink.h"
#include "model/utf8_text.h"

namespace txtppt2 {

static_assert(std::endian::native == std::endian::little,
              "UTF-16LE text is copied as the machine's units");

namespace {

// The platform converts in int-sized pieces.
constexpr size_t kMaxSlice = size_t{1} << 29;

}  // namespace

std::u16string AtomUnits(std::string_view image, const RecordHeader& atom) {
  std::u16string units;
  ReadAtomUnits(image, atom, units);
  return units;
}

void ReadAtomUnits(std::string_view image, const RecordHeader& atom,
                   std::u16string& units) {
  std::string_view body = BodyOf(image, atom);
  if (atom.type == kRtTextBytesAtom) {
    units.resize(body.size());
    size_t total = 0;
    for (size_t done = 0; done < body.size();) {
      size_t slice = std::min(body.size() - done, kMaxSlice);
      int converted =
          AnsiToUtf16(body.data() + done, static_cast<int>(slice),
                      reinterpret_cast<WCHAR*>(units.data() + total),
                      static_cast<int>(slice));
      total += static_cast<size_t>(converted);
      done += slice;
    }
    units.resize(total);
    return;
  }
  // Little-endian units as the machine holds them (the walk's text sink
  // takes them in place the same way).
  units.resize(body.size() / 2);
  std::memcpy(units.data(), body.data(), units.size() * 2);
}

void AppendLineText(std::string& out, std::u16string_view units) {
  AppendUtf16Lines(out, units.data(), units.size());
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
