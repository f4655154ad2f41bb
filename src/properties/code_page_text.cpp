#include "properties/code_page_text.h"

#include <climits>
#include <cstdio>

#include "model/utf8_text.h"
#include "platform/windows.h"

#ifndef _WIN32
#include <iconv.h>

#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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

// Converters idle between sections, by code page, and the code pages iconv
// does not know. A decoder takes an idle converter where there is one and
// opens one otherwise, and hands it back when it is done with it, so that
// a converter is opened once per code page and thread that uses it at the
// same time, not once per section. Converters are never closed: glibc
// unloads a code page's module with its last converter, and loading it
// again costs more than converting many texts. Both tables are read and
// changed under the lock; iconv_open runs under it too, so that no two
// threads load a module at once. Never destroyed, so that no decoder
// outlives them.
struct ConverterPool {
  std::mutex lock;
  std::unordered_map<uint16_t, std::vector<iconv_t>> idle;
  std::unordered_set<uint16_t> unknown;
};

ConverterPool& Pool() {
  static auto* pool = new ConverterPool();
  return *pool;
}

// A converter from codePage to UTF-16LE; null where iconv does not know
// the code page.
void* TakeConverter(uint16_t codePage) {
  ConverterPool& pool = Pool();
  std::lock_guard<std::mutex> guard(pool.lock);
  if (pool.unknown.count(codePage) != 0) return nullptr;
  std::vector<iconv_t>& idle = pool.idle[codePage];
  if (!idle.empty()) {
    iconv_t converter = idle.back();
    idle.pop_back();
    return converter;
  }
  iconv_t converter = iconv_open("UTF-16LE", IconvName(codePage).c_str());
  if (converter != reinterpret_cast<iconv_t>(-1)) return converter;
  pool.unknown.insert(codePage);
  return nullptr;
}

void GiveBackConverter(uint16_t codePage, void* converter) {
  ConverterPool& pool = Pool();
  std::lock_guard<std::mutex> guard(pool.lock);
  pool.idle[codePage].push_back(static_cast<iconv_t>(converter));
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

CodePageDecoder::CodePageDecoder(uint16_t codePage_) : codePage(codePage_) {}

CodePageDecoder::~CodePageDecoder() {
#ifndef _WIN32
  if (iconvHandle != nullptr) GiveBackConverter(codePage, iconvHandle);
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
  if (codePage != kCodePageWindows1252 && codePage != 0 &&
      codePage != kCodePageUtf8) {
    // Taken at the first text that needs it, and only once.
    if (iconvHandle == nullptr && !iconvUnknown) {
      iconvHandle = TakeConverter(codePage);
      iconvUnknown = iconvHandle == nullptr;
    }
    if (iconvHandle != nullptr) {
      ConvertWithIconv(static_cast<iconv_t>(iconvHandle), bytes, out);
      return out;
    }
  }
#endif
  ConvertWithPlatform(bytes, CP_ACP, out);
  return out;
}

}  // namespace txtppt2
