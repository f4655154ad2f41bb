// Windows-1252, the ANSI code page, through the Windows API as the
// converter calls it: one UTF-16 unit per byte (0x80 is the euro sign), and
// back with best fit, composition and a default character. On POSIX this
// tests our tables; on Windows (and under Wine) the same expectations hold
// for the system's own MultiByteToWideChar and WideCharToMultiByte with
// CP_ACP, so that both builds give the same pure text.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows.h"

namespace {

using WideString = std::basic_string<WCHAR>;

constexpr DWORD kNarrowSinkFlags = WC_COMPOSITECHECK | WC_DEFAULTCHAR;

int ToWide(UINT codePage, const std::string& bytes, WCHAR* dst, int capacity) {
  return MultiByteToWideChar(codePage, 0, bytes.data(),
                             static_cast<int>(bytes.size()), dst, capacity);
}

TEST(Windows1252Test, MatchesWindows) {
  struct ToUnicode {
    std::string bytes;
    WideString units;
  };
  const ToUnicode toUnicode[] = {
      {"A\x80", TXTPPT2_WTEXT("A\u20AC")},  // the euro sign sits at 0x80
      {"\x81\x8D\x8F\x90\x9D", TXTPPT2_WTEXT("\u0081\u008D\u008F\u0090\u009D")},
      {"\x85\x9F\xE9\xFF", TXTPPT2_WTEXT("\u2026\u0178\u00E9\u00FF")},
  };
  for (const ToUnicode& c : toUnicode) {
    SCOPED_TRACE(c.bytes);
    int n = static_cast<int>(c.units.size());
    EXPECT_EQ(ToWide(CP_ACP, c.bytes, nullptr, 0), n);
    WideString got(n, 0);
    ASSERT_EQ(ToWide(CP_ACP, c.bytes, got.data(), n), n);
    EXPECT_EQ(got, c.units);
    EXPECT_EQ(ToWide(CP_ACP, c.bytes, got.data(), n - 1), 0);
  }

  struct ToBytes {
    const char* name;
    WideString units;
    DWORD flags;
    std::string bytes;
    bool usedDefault;
  };
  const ToBytes toBytes[] = {
      {"Plain", WideString(TXTPPT2_WTEXT("Text\r\n"), 7), kNarrowSinkFlags,
       std::string("Text\r\n", 7), false},
      {"Euro", TXTPPT2_WTEXT("\u20AC\u0081"), kNarrowSinkFlags, "\x80\x81",
       false},
      {"BestFit", TXTPPT2_WTEXT("\u0100\u2026"), kNarrowSinkFlags, "A\x85",
       false},
      {"NoByte", TXTPPT2_WTEXT("\u3042"), kNarrowSinkFlags, " ", true},
      // '?' keeps its byte; the fullwidth one maps to '?' only as the code
      // page's own default, so it takes the caller's default instead.
      {"QuestionMarks", TXTPPT2_WTEXT("?\uFF1F"), kNarrowSinkFlags, "? ", true},
      {"Composes", TXTPPT2_WTEXT("e\u0301"), kNarrowSinkFlags, "\xE9", false},
      {"NoCompositeCheck", TXTPPT2_WTEXT("e\u0301"), WC_DEFAULTCHAR, "e\xB4",
       false},
      {"ComposesToBestFit", TXTPPT2_WTEXT("e\u0304"), kNarrowSinkFlags, "e",
       false},
      {"ComposedHasNoByte", TXTPPT2_WTEXT("k\u0301x"), kNarrowSinkFlags, " x",
       true},
      {"ComposedHasNoByteSeparate", TXTPPT2_WTEXT("k\u0301"), WC_COMPOSITECHECK,
       "k\xB4", false},
      {"SecondMarkAlone", TXTPPT2_WTEXT("e\u0301\u0301"), kNarrowSinkFlags,
       "\xE9\xB4", false},
      {"MarkFirst", TXTPPT2_WTEXT("\u0301e"), kNarrowSinkFlags, "\xB4\x65",
       false},
      // U+0958 is excluded from composition: two units, two defaults.
      {"CompositionExclusion", TXTPPT2_WTEXT("\u0915\u093C"), kNarrowSinkFlags,
       "  ", true},
      {"SurrogatePair", TXTPPT2_WTEXT("a\U0001F600b"), kNarrowSinkFlags, "a  b",
       true},
      {"LoneSurrogate", WideString{0xD800, 'b'}, kNarrowSinkFlags, " b", true},
      {"Empty", TXTPPT2_WTEXT(""), kNarrowSinkFlags, "", false},
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

}  // namespace
