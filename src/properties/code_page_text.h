// 8-bit text of a property set in its code page, as UTF-8.
//
// Windows converts with the system's own tables. On POSIX, Windows-1252
// and UTF-8 go through the library's platform layer (Microsoft's tables),
// and every other code page through the C library's iconv ("CP932",
// "CP1251", ...), which knows the Windows code pages, single- and
// double-byte; a byte sequence it cannot convert becomes U+FFFD, and a
// code page it does not know is read as Windows-1252.
#ifndef TXTPPT2_PROPERTIES_CODE_PAGE_TEXT_H_
#define TXTPPT2_PROPERTIES_CODE_PAGE_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace txtppt2 {

// The converter of one code page for the texts of a section. An iconv
// converter is taken at the first text that needs one, kept for the
// section, and given back to the process's idle converters with the
// decoder (opening one costs more than converting many short texts).
class CodePageDecoder {
 public:
  explicit CodePageDecoder(uint16_t codePage);
  ~CodePageDecoder();
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;

  // bytes (no NUL among them), as UTF-8.
  std::string Decode(std::string_view bytes);

 private:
  uint16_t codePage;
  void* iconvHandle = nullptr;  // POSIX: the section's converter, or null
  bool iconvUnknown = false;     // POSIX: iconv does not know the code page
};

}  // namespace txtppt2

#endif  // TXTPPT2_PROPERTIES_CODE_PAGE_TEXT_H_
