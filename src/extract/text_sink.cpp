#include "extract/text_sink.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

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

// Finds the first character at or after i that the writer interprets (NUL,
// CR, VT); count when there is none. LF matters only right after a CR.
template <typename CharT>
size_t NextInterpreted(const CharT* text, size_t i, size_t count) {
  for (; i < count; ++i) {
    CharT c = text[i];
    if (c == CharT(kNul) || c == CharT(kCr) || c == CharT(kVt)) return i;
  }
  return count;
}

template <typename CharT>
void AppendSeparatorTo(OutputTextStream<CharT>& out) {
  const auto& separator = Constants<CharT>::kSeparator;
  out.Write(separator.text, kSeparatorLength + 2);
}

}  // namespace

template <typename CharT>
void TextSink::WriteText(OutputTextStream<CharT>& out, const CharT* text,
                         size_t count) {
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

template void TextSink::WriteText(NarrowOutputStream&, const char*, size_t);
template void TextSink::WriteText(WideOutputStream&, const WCHAR*, size_t);

void TextSink::AppendSeparator(NarrowOutputStream& out) {
  AppendSeparatorTo(out);
}

void TextSink::AppendSeparator(WideOutputStream& out) {
  AppendSeparatorTo(out);
}

char* TextSink::Utf16ToAnsi(const WCHAR* source, int units, char* dest,
                            int destBytes, int* converted) {
  BOOL usedDefault = FALSE;  // asked for, as the platform reports it; unused
  *converted = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK | WC_DEFAULTCHAR,
                                   source, units, dest, destBytes, " ",
                                   &usedDefault);
  return *converted == 0 ? nullptr : dest;
}

WCHAR* TextSink::AnsiToUtf16(const char* source, int bytes, WCHAR* dest,
                             int destUnits, int* converted) {
  *converted = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, source, bytes, dest,
                                   destUnits);
  return *converted == 0 ? nullptr : dest;
}

void TextSink::AppendUtf16Text(NarrowOutputStream& out, const void* buffer,
                               uint32_t byteLength) {
  // Room for two bytes per unit, as a double-byte code page could need;
  // compositions only make the result shorter.
  const auto* source = static_cast<const WCHAR*>(buffer);
  size_t units = byteLength / 2;
  std::unique_ptr<char[]> dest(new char[units * 2 + 1]);
  size_t total = 0;
  // The platform counts in int: atoms past half a gigabyte go in slices. An
  // empty source converts to nothing (the platform reports it as failure).
  for (size_t done = 0; done < units;) {
    size_t slice = std::min(units - done, kMaxSlice);
    int converted = 0;
    Utf16ToAnsi(source + done, static_cast<int>(slice), dest.get() + total,
                static_cast<int>(slice * 2), &converted);
    total += static_cast<size_t>(converted);
    done += slice;
  }
  WriteText(out, dest.get(), total);
}

void TextSink::AppendUtf16Text(WideOutputStream& out, const void* buffer,
                               uint32_t byteLength) {
  WriteText(out, static_cast<const WCHAR*>(buffer), byteLength / 2);
}

void TextSink::AppendAnsiText(NarrowOutputStream& out, const void* buffer,
                              uint32_t length) {
  WriteText(out, static_cast<const char*>(buffer), length);
}

void TextSink::AppendAnsiText(WideOutputStream& out, const void* buffer,
                              uint32_t length) {
  // One unit per byte is room enough for any ANSI code page: a character
  // never takes more UTF-16 units than it takes bytes.
  const auto* source = static_cast<const char*>(buffer);
  std::unique_ptr<WCHAR[]> dest(new WCHAR[static_cast<size_t>(length) + 1]);
  size_t total = 0;
  for (size_t done = 0; done < length;) {
    size_t slice = std::min(length - done, kMaxSlice);
    int converted = 0;
    AnsiToUtf16(source + done, static_cast<int>(slice), dest.get() + total,
                static_cast<int>(slice), &converted);
    total += static_cast<size_t>(converted);
    done += slice;
  }
  WriteText(out, dest.get(), total);
}

}  // namespace txtppt2
