#include "properties/code_page_text.h"

#include <climits>
#include <cstdio>

#include "model/utf8_text.h"
#include "platform/windows.h"

#ifndef _WIN32
#include <iconv.h>

#include <mutex>
#include <unordered_map>

#include <cerrno>
#endif

namespace txtppt2 {

namespace {

constexpr uint16_t kCodePageWindows1252 = 1252;
constexpr uint16_t kCodePageUtf8 = 65001;

// Through the platform's conversion; false where it does not know the
// code page. A character never takes more UTF-16 units than bytes.
bool ConvertWithPlatform(std::string_view bytes, UINT codePage,
                         std::string& out) {
  std::u16string wide(bytes.size(), u'\0');
  int count = MultiByteToWideChar(codePage, 0, bytes.data(),
                                  static_cast<int>(bytes.size()),
                                  reinterpret_cast<LPWSTR>(wide.data()),
                                  static_cast<int>(wide.size()));
  if (count <= 0) return false;
  AppendUtf16(out, wide.data(), static_cast<size_t>(count));
  return true;
}

#ifndef _WIN32
// The iconv name of a Windows code page.
std::string IconvName(uint16_t codePage) {
  char name[32];
  if (codePage == 10000) return "MACINTOSH";
  if (codePage == 20127) return "ASCII";
  if (codePage >= 28591 && codePage <= 28599)
    std::snprintf(name, sizeof name, "ISO-8859-%u", codePage - 28590u);
  else
    std::snprintf(name, sizeof name, "CP%u", codePage);
  return name;
}

// glibc loads a code page's conversion module on the first iconv_open and
// unloads it on the last iconv_close. Converters are opened and closed
// under one lock, and the first converter of each code page is kept open
// for the life of the process, so that its module stays loaded: sections
// then never pay for loading it again, and no thread unloads a module
// while another loads one. At most one is kept per code page iconv knows.
std::mutex& ConverterLock() {
  static std::mutex lock;
  return lock;
}

bool IsConverter(iconv_t converter) {
  return converter != reinterpret_cast<iconv_t>(-1);
}

// A converter from codePage to UTF-16LE; null where iconv does not know
// the code page.
void* OpenConverter(uint16_t codePage) {
  // Never destroyed: the kept converters outlive every decoder.
  static auto* kept = new std::unordered_map<uint16_t, iconv_t>();
  const std::string name = IconvName(codePage);
  std::lock_guard<std::mutex> guard(ConverterLock());
  if (kept->count(codePage) == 0) {
    iconv_t first = iconv_open("UTF-16LE", name.c_str());
    if (!IsConverter(first)) return nullptr;
    kept->emplace(codePage, first);
  }
  iconv_t converter = iconv_open("UTF-16LE", name.c_str());
  return IsConverter(converter) ? converter : nullptr;
}

void CloseConverter(void* converter) {
  std::lock_guard<std::mutex> guard(ConverterLock());
  iconv_close(static_cast<iconv_t>(converter));
}

// Through iconv to UTF-16LE; a sequence it cannot convert, or one cut
// short, becomes U+FFFD for one byte.
void ConvertWithIconv(iconv_t converter, std::string_view bytes,
                      std::string& out) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);  // initial state
  std::string wide(2 * bytes.size() + 2, '\0');  // at most a unit a byte
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* dest = wide.data();
  size_t destLeft = wide.size();
  while (inLeft > 0) {
    if (iconv(converter, &in, &inLeft, &dest, &destLeft) !=
        static_cast<size_t>(-1))
      break;
    if (errno == E2BIG || destLeft < 2) break;
    *dest++ = static_cast<char>(0xFD);
    *dest++ = static_cast<char>(0xFF);
    destLeft -= 2;
    ++in;
    --inLeft;
  }
  AppendUtf16Le(out, std::string_view(wide.data(), wide.size() - destLeft));
}
#endif

}  // namespace

CodePageDecoder::CodePageDecoder(uint16_t codePage_) : codePage(codePage_) {
#ifndef _WIN32
  if (codePage != kCodePageWindows1252 && codePage != 0 &&
      codePage != kCodePageUtf8)
    iconvHandle = OpenConverter(codePage);
#endif
}

CodePageDecoder::~CodePageDecoder() {
#ifndef _WIN32
  if (iconvHandle != nullptr) CloseConverter(iconvHandle);
#endif
}

std::string CodePageDecoder::Decode(std::string_view bytes) {
  std::string out;
  if (bytes.empty() || bytes.size() > INT_MAX / 2) return out;
#ifdef _WIN32
  if (ConvertWithPlatform(bytes, codePage, out)) return out;
#else
  if (codePage == kCodePageUtf8 && ConvertWithPlatform(bytes, CP_UTF8, out))
    return out;
  if (iconvHandle != nullptr) {
    ConvertWithIconv(static_cast<iconv_t>(iconvHandle), bytes, out);
    return out;
  }
#endif
  ConvertWithPlatform(bytes, CP_ACP, out);
  return out;
}

}  // namespace txtppt2
