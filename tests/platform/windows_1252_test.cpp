// Windows-1252, the ANSI code page, from UTF-16 through the Windows API as
// the text sink calls it: with best fit, composition and a default
// character (the bytes to UTF-16 are tested through the sink). On POSIX this
// tests our tables; on Windows (and under Wine) the same expectations hold for
// the system's own conversions, so that both builds give the same pure text.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows.h"

namespace {

using WideString = std::basic_string<WCHAR>;

TEST(Windows1252Test, MatchesWindows) {
  const struct {
    const char* name;
    WideString units;
    std::string bytes;
  } toBytes[] = {
      {"NulToo", WideString(TXTPPT2_WTEXT("Text\r\n"), 7), {"Text\r\n", 7}},
      {"Euro", TXTPPT2_WTEXT("\u20AC\u0081"), "\x80\x81"},
      {"BestFit", TXTPPT2_WTEXT("\u0100\u2026"), "A\x85"},
      {"NoByte", TXTPPT2_WTEXT("\u3042"), " "},
      // '?' keeps its byte; the fullwidth one maps to '?' only as the code
      // page's own default, so it takes the caller's default instead.
      {"QuestionMarks", TXTPPT2_WTEXT("?\uFF1F"), "? "},
      {"Composes", TXTPPT2_WTEXT("e\u0301"), "\xE9"},
      {"ComposesToBestFit", TXTPPT2_WTEXT("e\u0304"), "e"},
      {"ComposedHasNoByte", TXTPPT2_WTEXT("k\u0301x"), " x"},
      {"ComposedDefaultLast", TXTPPT2_WTEXT("xk\u0301"), "x "},
      {"SecondMarkAlone", TXTPPT2_WTEXT("e\u0301\u0301"), "\xE9\xB4"},
      {"MarkFirst", TXTPPT2_WTEXT("\u0301e"), "\xB4\x65"},
      // U+0958 is excluded from composition: two units, two defaults.
      {"CompositionExclusion", TXTPPT2_WTEXT("\u0915\u093C"), "  "},
      {"SurrogatePair", TXTPPT2_WTEXT("a\U0001F600b"), "a  b"},
      {"LoneSurrogate", WideString{0xD800, 'b'}, " b"},
  };
  for (const auto& c : toBytes) {
    // With room to spare, with just the room the bytes need (less than one
    // byte per unit where units compose), and with a byte too few: nothing.
    for (size_t room : {c.units.size() * 2, c.bytes.size(), c.bytes.size() - 1}) {
      if (room == 0) continue;  // a size of 0 asks for the size alone
      std::string got(room, '\0');
      BOOL used;  // asked for as the sink asks
      int size = WideCharToMultiByte(
          CP_ACP, WC_COMPOSITECHECK | WC_DEFAULTCHAR, c.units.data(),
          static_cast<int>(c.units.size()), got.data(),
          static_cast<int>(got.size()), " ", &used);
      EXPECT_EQ(got.substr(0, size), room < c.bytes.size() ? "" : c.bytes)
          << c.name << ", room " << room;
    }
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK | WC_DEFAULTCHAR,
                                  c.units.data(), int(c.units.size()), nullptr,
                                  0, " ", nullptr),
              int(c.bytes.size()))
        << c.name << ", the size alone";
  }
}

}  // namespace
