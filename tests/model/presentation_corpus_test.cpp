// The model against the complete text, over every sample file and the
// shared corpus: both come from one walk, so each slide's section of the
// complete text is the slide's text, the text of the masters it brought in,
// then its notes (unless the model mends a broken chain of edits, where
// the complete text walks every record); failures give the same code and
// message; numbers run 1..n; texts and link targets are valid UTF-8;
// titles and link texts are the slide's own text, and tables are cut from
// it (TablesFollowText).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "api/presentation_extraction.h"
#include "model/utf8_text.h"
#include "support/corpus.h"
#include "support/sample_files.h"
#include "support/table_check.h"
#include "support/utf8_check.h"

namespace txtppt2 {
namespace {

using testing::IsValidUtf8;

// The complete text as UTF-8 with LF line ends, cut at its separators.
std::vector<std::string> CompleteSections(const SourceConversion& text) {
  std::string lf;
  AppendUtf16Lines(lf, static_cast<const char16_t*>(text.block.get()),
                   text.count / 2);
  const std::string separator = std::string(30, '-') + "\n";
  std::vector<std::string> sections;
  size_t start = 0;
  for (size_t at; (at = lf.find(separator, start)) != std::string::npos;
       start = at + separator.size())
    sections.push_back(lf.substr(start, at - start));
  sections.push_back(lf.substr(start));
  return sections;
}

void CheckAgainstCompleteText(const std::string& name, const Source& source) {
  SCOPED_TRACE(name);
  PresentationExtraction model = ExtractPresentation(source);
  SourceConversion text = ConvertSource(source, kUnicode, kCompleteText);
  ASSERT_EQ(model.ok, text.block != nullptr);
  EXPECT_EQ(model.code, text.code);
  if (!model.ok) {
    EXPECT_EQ(model.message, text.message);
    EXPECT_TRUE(model.presentation.slides.empty());
    return;
  }
  const Presentation& deck = model.presentation;
  std::vector<std::string> sections = CompleteSections(text);
  if (!model.mended) {
    // Sections and slides in step; a section with no text may stand for a
    // slide the list names but the file lacks, which the model leaves out.
    size_t section = 0, master = 0;
    for (const Slide& slide : deck.slides) {
      while (section < sections.size() && sections[section].empty() &&
             !(slide.text.empty() && slide.notes.empty()))
        ++section;
      ASSERT_LT(section, sections.size()) << "slide " << slide.number;
      std::string expected = slide.text;
      std::string rest = sections[section].substr(
          std::min(expected.size(), sections[section].size()));
      while (master < deck.masters.size() &&
             rest.compare(0, deck.masters[master].size(),
                          deck.masters[master]) == 0 &&
             rest.size() > slide.notes.size()) {
        expected += deck.masters[master];
        rest = rest.substr(deck.masters[master].size());
        ++master;
      }
      EXPECT_EQ(sections[section], expected + slide.notes)
          << "slide " << slide.number;
      ++section;
    }
    EXPECT_EQ(master, deck.masters.size()) << "masters no slide brought in";
    for (; section < sections.size(); ++section)
      EXPECT_EQ(sections[section], "") << "a section no slide has";
  }

  for (size_t i = 0; i < deck.slides.size(); ++i) {
    const Slide& slide = deck.slides[i];
    EXPECT_EQ(slide.number, i + 1);
    for (const std::string* s : {&slide.text, &slide.notes})
      EXPECT_TRUE(IsValidUtf8(*s)) << "slide " << slide.number;
    EXPECT_TRUE(testing::TablesFollowText(slide)) << "slide " << slide.number;
    if (slide.title) {
      EXPECT_NE(slide.text.find(*slide.title), std::string::npos)
          << "slide " << slide.number << " title " << *slide.title;
    }
    for (const Link& link : slide.links) {
      EXPECT_NE(slide.text.find(link.text), std::string::npos)
          << "slide " << slide.number << " link " << link.text;
      EXPECT_TRUE(IsValidUtf8(link.url));
    }
  }
}

TEST(PresentationCorpusTest, SampleFilesAgreeWithTheCompleteText) {
  for (const auto& sample : testing::SampleFiles())
    CheckAgainstCompleteText(
        sample.name,
        MemorySource{reinterpret_cast<const BYTE*>(sample.bytes.data()),
                     static_cast<uint32_t>(sample.bytes.size())});
}

TEST(PresentationCorpusTest, CorpusFilesAgreeWithTheCompleteText) {
  auto corpus = testing::LoadCorpus();
  if (corpus.empty()) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string(ci) == "true")
      FAIL() << "the shared corpus is missing (CI=true)";
    GTEST_SKIP() << "the shared corpus is not there";
  }
  for (const auto& file : corpus)
    CheckAgainstCompleteText(file.name, PathSource{file.path.c_str()});
}

}  // namespace
}  // namespace txtppt2
