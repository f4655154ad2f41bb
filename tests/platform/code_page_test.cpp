// Conversions through the Windows-shaped API: Windows-1252 as Windows does
// it (best fit, composition, default character) and UTF-8 paths with escaped
// invalid bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows.h"

namespace {

constexpr DWORD kNarrowSinkFlags = WC_COMPOSITECHECK | WC_DEFAULTCHAR;

int ToWide(UINT codePage, const std::string& bytes, WCHAR* dst, int capacity) {
  return MultiByteToWideChar(codePage, 0, bytes.data(),
                             static_cast<int>(bytes.size()), dst, capacity);
}

TEST(CodePageTest, Windows1252MatchesWindows) {
  struct ToUnicode {
    std::string bytes;
    std::u16string units;
  };
  const ToUnicode toUnicode[] = {
      {"A\x80", u"A\u20AC"},  // the euro sign sits at 0x80
      {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},
      {"\x85\x9F\xE9\xFF", u"\u2026\u0178\u00E9\u00FF"},
  };
  for (const ToUnicode& c : toUnicode) {
    SCOPED_TRACE(c.bytes);
    int n = static_cast<int>(c.units.size());
    EXPECT_EQ(ToWide(CP_ACP, c.bytes, nullptr, 0), n);
    std::u16string got(n, u'\0');
    ASSERT_EQ(ToWide(CP_ACP, c.bytes, got.data(), n), n);
    EXPECT_EQ(got, c.units);
    EXPECT_EQ(ToWide(CP_ACP, c.bytes, got.data(), n - 1), 0);
  }

  struct ToBytes {
    const char* name;
    std::u16string units;
    DWORD flags;
    std::string bytes;
    bool usedDefault;
  };
  const ToBytes toBytes[] = {
      {"Plain", std::u16string(u"Text\r\n", 7), kNarrowSinkFlags,
       std::string("Text\r\n", 7), false},
      {"Euro", u"\u20AC\u0081", kNarrowSinkFlags, "\x80\x81", false},
      {"BestFit", u"\u0100\u2026", kNarrowSinkFlags, "A\x85", false},
      {"NoByte", u"\u3042", kNarrowSinkFlags, " ", true},
      // '?' keeps its byte; the fullwidth one maps to '?' only as the code
      // page's own default, so it takes the caller's default instead.
      {"QuestionMarks", u"?\uFF1F", kNarrowSinkFlags, "? ", true},
      {"Composes", u"e\u0301", kNarrowSinkFlags, "\xE9", false},
      {"NoCompositeCheck", u"e\u0301", WC_DEFAULTCHAR, "e\xB4", false},
      {"ComposesToBestFit", u"e\u0304", kNarrowSinkFlags, "e", false},
      {"ComposedHasNoByte", u"k\u0301x", kNarrowSinkFlags, " x", true},
      {"ComposedHasNoByteSeparate", u"k\u0301", WC_COMPOSITECHECK, "k\xB4",
       false},
      {"SecondMarkAlone", u"e\u0301\u0301", kNarrowSinkFlags, "\xE9\xB4",
       false},
      {"MarkFirst", u"\u0301e", kNarrowSinkFlags, "\xB4\x65", false},
      // U+0958 is excluded from composition: two units, two defaults.
      {"CompositionExclusion", u"\u0915\u093C", kNarrowSinkFlags, "  ", true},
      {"SurrogatePair", u"a\U0001F600b", kNarrowSinkFlags, "a  b", true},
      {"LoneSurrogate", std::u16string{0xD800, u'b'}, kNarrowSinkFlags, " b",
       true},
      {"Empty", u"", kNarrowSinkFlags, "", false},
  };
  for (const ToBytes& c : toBytes) {
    SCOPED_TRACE(c.name);
    int n = static_cast<int>(c.units.size());
    int size = static_cast<int>(c.bytes.size());
    BOOL used = -1;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, c.flags, c.units.data(), n, nullptr,
                                  0, " ", &used),
              size);
    if (size == 0) continue;  // a failure, which leaves `used` alone
    EXPECT_EQ(used, c.usedDefault ? TRUE : FALSE);
    std::string got(size, '\0');
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, c.flags, c.units.data(), n,
                                  got.data(), size, " ", nullptr),
              size);
    EXPECT_EQ(got, c.bytes);
    if (size == 1) continue;  // a capacity of 0 would only count
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, c.flags, c.units.data(), n,
                                  got.data(), size - 1, " ", nullptr),
              0);
  }
  EXPECT_EQ(ToWide(CP_ACP, "", nullptr, 0), 0);
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
      {"\xE6\x97", u"\xDCE6\xDC97"},            // truncated at the end
      {"\xE6\x97x", u"\xDCE6\xDC97x"},          // truncated inside
      {"\xC0\xAF", u"\xDCC0\xDCAF"},            // overlong '/'
      {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},  // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},  // past U+10FFFF
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
}

// A narrow path may need at most 1024 UTF-16 units, its NUL included; the
// limit counts units, not bytes.
TEST(CodePageTest, Utf8PathLimitCountsUnits) {
  std::string path;
  for (int i = 0; i < 511; ++i) path += "\xF0\x9F\x98\x80";  // two units each
  path += "a";                                               // 1023 with it
  std::vector<WCHAR> units(1024);
  EXPECT_EQ(
      MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, units.data(), 1024),
      1024);
  EXPECT_EQ(units[1023], 0);
  path += "b";
  EXPECT_EQ(
      MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, units.data(), 1024), 0);
}

}  // namespace
