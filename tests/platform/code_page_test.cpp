// UTF-8 paths through the Windows-shaped API of the POSIX platform layer,
// with escaped invalid bytes. Windows-1252 is tested in
// windows_1252_test.cpp, on Windows too.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows.h"

namespace {

int ToWide(UINT codePage, const std::string& bytes, WCHAR* dst, int capacity) {
  return MultiByteToWideChar(codePage, 0, bytes.data(),
                             static_cast<int>(bytes.size()), dst, capacity);
}

// Any byte string survives bytes -> UTF-16 -> bytes: bytes that are not
// valid UTF-8 travel as U+DC80 + byte.
TEST(CodePageTest, Utf8PathsRoundTripEveryByte) {
  struct Case {
    std::string bytes;
    std::u16string units;
  };
  const Case cases[] = {
      {"caf\xC3\xA9", u"caf\u00E9"},
      {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"a\xFF", u"a\xDCFF"},
      {"\xE6\x97", u"\xDCE6\xDC97"},                  // truncated at the end
      {"\xE6\x97x", u"\xDCE6\xDC97x"},                // truncated inside
      {"\xC0\xAF", u"\xDCC0\xDCAF"},                  // overlong '/'
      {"\xC2\x80\xDF\xBF", u"\u0080\u07FF"},          // two bytes: first, last
      {"\xE0\x9F\xBF", u"\xDCE0\xDC9F\xDCBF"},        // overlong U+07FF
      {"\xE0\x80\x80", u"\xDCE0\xDC80\xDC80"},        // overlong NUL
      {"\xE0\xA0\x80", u"\u0800"},                    // three bytes: first
      {"\xED\x9F\xBF\xEE\x80\x80", u"\uD7FF\uE000"},  // around surrogates
      {"\xF0\x8F\xBF\xBF", u"\xDCF0\xDC8F\xDCBF\xDCBF"},  // overlong
      {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\U00010000\U0010FFFF"},
      {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},  // an encoded surrogate
      {"\xED\xBF\xBF", u"\xDCED\xDCBF\xDCBF"},  // the last surrogate
      {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},  // past U+10FFFF
      {"\xF0\x90\x82\x80", u"\U00010080"},  // a pair, not an escape
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    WCHAR units[16];
    int n = ToWide(CP_UTF8, c.bytes, units, 16);
    EXPECT_EQ(std::u16string(units, n), c.units);
    char bytes[16];
    int size =
        WideCharToMultiByte(CP_UTF8, 0, units, n, bytes, 16, nullptr, nullptr);
    EXPECT_EQ(std::string(bytes, size), c.bytes);
  }
  // Lone surrogates that stand for no byte have no UTF-8 form.
  for (std::u16string units :
       {u"\xDC7F", u"\xDD00", u"\xD800", u"\xDBFFx", u"x\xDFFF\xD800"}) {
    char bytes[16];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, units.data(), int(units.size()),
                                  bytes, 16, nullptr, nullptr),
              0);
  }
  // UTF-8 takes no flags and no default character, as Windows says.
  char bytes[4];
  BOOL used;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, bytes, 4, " ", nullptr) +
                WideCharToMultiByte(CP_UTF8, 0, u"a", 1, bytes, 4, nullptr, &used) +
                WideCharToMultiByte(CP_UTF8, WC_COMPOSITECHECK, u"a", 1, bytes,
                                    4, nullptr, nullptr),
            0);
}

}  // namespace
