#include "extract/presentation_text_extractor.h"

#include <gtest/gtest.h>

#include <string>

#include "fixtures/record_stream_builder.h"
#include "support/fake_storage.h"

namespace txtppt2 {
namespace {

using testing::RecordStreamBuilder;

const std::string kSeparator = std::string(30, '-') + "\r\n";

template <typename Out>
auto Extract(const std::string& stream) {
  auto reader = testing::StreamOver({stream});
  PresentationTextExtractor extractor(*reader);
  Out out;
  extractor.Extract(out);
  return std::basic_string(out.Data(), out.Length());
}

// For ASCII text both widths must hold the same characters.
void ExpectBothWidths(const std::string& stream, const std::string& expected,
                      const char* what) {
  EXPECT_EQ(Extract<NarrowOutputStream>(stream), expected) << what;
  EXPECT_EQ(Extract<WideOutputStream>(stream),
            std::basic_string<WCHAR>(expected.begin(), expected.end()))
      << what;
}

// The rules every real file exercises are proved on the corpus by the host
// test; here are the worked example and the cases the corpus does not reach.
TEST(PresentationTextExtractorTest, TextContextRules) {
  using B = RecordStreamBuilder;
  const struct {
    const char* name;
    RecordStreamBuilder stream;
    std::string expected;
  } cases[] = {
      // clang-format off
      {"worked example",
       B().Container(kRtSlideListWithText).TextChars(u"Title").TextBytes("Body\rLine")
          .Container(kRtSlide).Container(kRtSlide).Container(0xF004).Container(0xF00D).TextChars(u"Box"),
       "Title\r\nBody\r\nLine\r\n" + kSeparator + "Box\r\n"},
      {"empty stream", B(), ""},
      {"text box after an ordinary container", B().Container(0xF004).Container(0xF00D).TextChars(u"x"), "x\r\n"},
      {"a text box after a text box is on", B().Container(0x000D).Container(0x000D).TextChars(u"y"), "y\r\n"},
      {"slide list on whatever its instance", B().Container(kRtSlideListWithText, 0, 2).CString(u"c"), "c\r\n"},
      {"recVer 0xF with an atom type is a container",
       B().Container(kRtSlideListWithText).Container(kRtTextCharsAtom).TextChars(u"no"), ""},
      {"empty text atom writes a bare line break", B().Container(kRtSlideListWithText).TextChars(u""), "\r\n"},
      {"one complete record and stray bytes",
       B().Container(kRtSlideListWithText).TextBytes("t").Raw("12345"), "t\r\n"},
      {"payload cut short contributes nothing",
       B().Container(kRtSlideListWithText).TextBytes("kept").AtomHeader(kRtTextBytesAtom, 10).Raw("short"),
       "kept\r\n"},
      {"a huge length skips forward and ends the walk",
       B().Container(kRtSlideListWithText).AtomHeader(0x0FA1, 0x80000000).TextBytes("never"), ""},
      {"a huge text length ends the walk without output",
       B().Container(kRtSlideListWithText).TextBytes("kept").AtomHeader(kRtTextCharsAtom, 0xFFFFFFF0)
          .Raw(std::string(64, 'x')), "kept\r\n"},
      // clang-format on
  };
  for (const auto& c : cases)
    ExpectBothWidths(c.stream.Bytes(), c.expected, c.name);
}

TEST(PresentationTextExtractorTest, PayloadLongerThanOnePieceIsReadWhole) {
  std::string text(3 * 1024 * 1024 + 7, 'q');
  RecordStreamBuilder b;
  b.Container(kRtSlideListWithText).TextBytes(text).TextBytes("end");
  EXPECT_EQ(Extract<NarrowOutputStream>(b.Bytes()), text + "\r\nend\r\n");
}

}  // namespace
}  // namespace txtppt2
