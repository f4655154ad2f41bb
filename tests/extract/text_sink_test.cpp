#include "extract/text_sink.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fixtures/record_stream_builder.h"

namespace txtppt2 {
namespace {

// The output's own wide strings: WCHAR is char16_t on POSIX, wchar_t on
// Windows.
using WideString = std::basic_string<WCHAR>;

WideString Widen(const std::string& ascii) {
  return WideString(ascii.begin(), ascii.end());
}

template <typename CharT>
std::basic_string<CharT> Written(const OutputTextStream<CharT>& out) {
  return std::basic_string<CharT>(out.Data(), out.Length());
}

struct LineBreakCase {
  std::string input;
  std::string output;
};

// The same rules hold in both widths; every case runs through both writers,
// also after lead-ins that put it across the scan's vector and word bounds.
TEST(TextSinkTest, WriteTextNormalisesLineBreaks) {
  const LineBreakCase cases[] = {
      {"", "\r\n"},
      {"A", "A\r\n"},
      {"A\rB", "A\r\nB\r\n"},
      {"A\r\nB", "A\r\nB\r\n"},
      {"A\vB", "A\r\nB\r\n"},
      {"A\r", "A\r\n\r\n"},
      {"A\r\n", "A\r\n\r\n"},
      {"A\nB", "A\nB\r\n"},
      {"\r\r\n", "\r\n\r\n\r\n"},
      {"A\r\vB", "A\r\n\r\nB\r\n"},
      {std::string("A\0B", 3), "A\r\n"},
      {std::string("\0", 1), "\r\n"},
      {"\v\v", "\r\n\r\n\r\n"},
      {"\n\r", "\n\r\n\r\n"},
      {"A\tB\x01", "A\tB\x01\r\n"},
  };
  for (size_t leadIn : {0, 5, 7, 14, 15, 16, 30}) {
    for (const auto& base : cases) {
      const std::string pad(leadIn, 'x');
      const LineBreakCase c{pad + base.input, pad + base.output};
      NarrowOutputStream narrow;
      WriteText(narrow, c.input.data(), c.input.size());
      EXPECT_EQ(Written(narrow), c.output)
          << "narrow, input " << ::testing::PrintToString(c.input);
      WideString wideInput = Widen(c.input);
      WideOutputStream wide;
      WriteText(wide, wideInput.data(), wideInput.size());
      EXPECT_EQ(Written(wide), Widen(c.output))
          << "wide, input " << ::testing::PrintToString(c.input);
    }
  }
}

// UTF-16 payloads reach the narrow output through the ANSI code page, with
// composition and a space for what has no byte (the code page's own cases
// are in windows_1252_test.cpp); an odd last byte is dropped.
TEST(TextSinkTest, Utf16TextIntoNarrowOutput) {
  const struct {
    const char* name;
    std::string payload;
    std::string ansi;  // what the narrow output holds before the CR LF
  } cases[] = {
      {"unrepresentable is a space", testing::Utf16Le(u"a\u3042b"), "a b"},
      {"composed", testing::Utf16Le(u"e\u0301"), "\xe9"},
      {"line breaks after conversion", testing::Utf16Le(u"\u20ac\r\u00e9\v"),
       "\x80\r\n\xe9\r\n"},
      {"NUL ends the text", testing::Utf16Le(std::u16string(u"ab\0cd", 5)),
       "ab"},
      {"empty", "", ""},
      {"odd last byte", testing::Utf16Le(u"AB") + "C", "AB"},
  };
  for (const auto& c : cases) {
    NarrowOutputStream out;
    AppendUtf16Text(out, c.payload.data(),
                    static_cast<uint32_t>(c.payload.size()));
    EXPECT_EQ(Written(out), c.ansi + "\r\n") << c.name;
  }
  WideOutputStream wide;
  AppendUtf16Text(wide, cases[5].payload.data(), 5);
  EXPECT_EQ(Written(wide), TXTPPT2_WTEXT("AB\r\n"));
}

// Pure text from UTF-16 takes a one-pass way where the text is ASCII and
// the code page's way from the first unit outside it; both give what the
// code page and the line-break rules give on the whole text. Each piece
// runs alone and after lead-ins that put it across the vector bounds.
TEST(TextSinkTest, Utf16IntoNarrowOutputMatchesTheCodePageAndRules) {
  const std::u16string pieces[] = {
      u"plain text",
      u"a\rb\r\nc\vd\ne\tf\x01g",
      u"ends with CR\r",
      u"\r\r\n\v\v",
      std::u16string(u"stops\0here\r", 12),
      u"caf\u00e9 \u201cquoted\u201d",
      u"e\u0301 composed, then ASCII again",
      u"\u3042 first, then ASCII",
      u"CR before a mark\r\u0301x",
      u"x\u00e9\r",
  };
  for (size_t leadIn : {0, 1, 5, 14, 15, 16, 17, 31, 40}) {
    for (const std::u16string& piece : pieces) {
      for (const std::u16string& source :
           {std::u16string(leadIn, u'x') + piece,
            std::u16string(leadIn, u'x') + piece + std::u16string(20, u'y')}) {
        std::string converted(source.size() * 2, '\0');
        int length =
            Utf16ToAnsi(reinterpret_cast<const WCHAR*>(source.data()),
                        static_cast<int>(source.size()), converted.data(),
                        static_cast<int>(converted.size()));
        NarrowOutputStream expected, actual;
        WriteText(expected, converted.data(), static_cast<size_t>(length));
        AppendUtf16Text(
            actual, source.data(),
            static_cast<uint32_t>(source.size() * sizeof(char16_t)));
        EXPECT_EQ(Written(actual), Written(expected))
            << "lead-in " << leadIn << ", "
            << ::testing::PrintToString(std::string(converted, 0, length));
      }
    }
  }
}

// 8-bit payloads reach the wide output as Windows-1252 characters (the
// euro sign at 0x80, the five unassigned bytes as C1 controls), not as
// Latin-1 code points; the narrow output takes them unchanged.
TEST(TextSinkTest, AnsiTextInBothWidths) {
  const std::string bytes = "\x80\x81\x8d\x8f\x90\x9d\x85\x9f\x93x\xe9\xff\r";
  NarrowOutputStream narrow;
  WideOutputStream wide, empty;
  AppendAnsiText(narrow, bytes.data(), 13);
  AppendAnsiText(wide, bytes.data(), 13);
  AppendAnsiText(empty, bytes.data(), 0);
  EXPECT_EQ(Written(narrow), bytes + "\n\r\n");
  EXPECT_EQ(Written(wide),
            TXTPPT2_WTEXT("\u20ac\u0081\u008d\u008f\u0090\u009d\u2026"
                          "\u0178\u201cx\u00e9\u00ff\r\n\r\n"));
  EXPECT_EQ(Written(empty), TXTPPT2_WTEXT("\r\n"));
}

}  // namespace
}  // namespace txtppt2
