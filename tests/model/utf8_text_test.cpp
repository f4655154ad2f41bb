// UTF-16 to UTF-8 for the model: each case between runs of ASCII of every
// length up to past two vectors, so that the vector loop meets it at every
// place, with and without the line breaks interpreted.
#include "model/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace txtppt2 {
namespace {

TEST(Utf8TextTest, CasesAtEveryPlaceOfTheRuns) {
  struct Case {
    std::u16string units;
    std::string lines;  // AppendUtf16Lines: stops at NUL, breaks become LF
    std::string plain;  // AppendUtf16: every unit as it is
  };
  const Case cases[] = {
      {u"a\r\nb", "a\nb", "a\r\nb"},
      {u"a\rb\vc\r", "a\nb\nc\n", "a\rb\vc\r"},
      {u"\r\r\n\n", "\n\n\n", "\r\r\n\n"},
      {u"a\tb\x01~\x7F", "a\tb\x01~\x7F", "a\tb\x01~\x7F"},
      {std::u16string(u"a\0b", 3), "a", std::string("a\0b", 3)},
      {u"\u00E9\u20AC\u0800\u07FF", "\xC3\xA9\xE2\x82\xAC\xE0\xA0\x80\xDF\xBF",
       "\xC3\xA9\xE2\x82\xAC\xE0\xA0\x80\xDF\xBF"},
      {u"\xD83D\xDE00", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {u"\xD83Dx\xDE00\xDBFF", "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD",
       "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    for (size_t before = 0; before <= 17; ++before) {
      for (size_t after : {size_t{0}, size_t{9}, size_t{17}}) {
        SCOPED_TRACE(::testing::Message()
                     << c.plain << " after " << before << " before " << after);
        std::u16string units = std::u16string(before, u'p') + c.units +
                               std::u16string(after, u's');
        bool cut = c.units.find(u'\0') != std::u16string::npos;
        std::string lines = "=" + std::string(before, 'p') + c.lines +
                            (cut ? "" : std::string(after, 's'));
        std::string plain =
            "=" + std::string(before, 'p') + c.plain + std::string(after, 's');
        std::string out = "=";
        AppendUtf16Lines(out, units.data(), units.size());
        EXPECT_EQ(out, lines);
        out = "=";
        AppendUtf16(out, units.data(), units.size());
        EXPECT_EQ(out, plain);
      }
    }
  }
}

}  // namespace
}  // namespace txtppt2
