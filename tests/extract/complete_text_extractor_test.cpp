#include "extract/complete_text_extractor.h"

#include <gtest/gtest.h>

#include <string>

#include "api/presentation_extraction.h"
#include "driver/conversion_driver.h"
#include "fixtures/compound_file_writer.h"
#include "fixtures/property_set_writer.h"
#include "fixtures/record_stream_builder.h"
#include "interface/conversion_error_state.h"
#include "properties/property_set.h"
#include "support/deck_records.h"
#include "support/fake_storage.h"

namespace txtppt2 {
namespace {

using testing::kUnknownAtom;
using namespace testing::deck_records;
using testing::RecordStreamBuilder;
using testing::Utf16Le;

const std::string kSeparator = std::string(30, '-') + "\r\n";
constexpr uint16_t kInteractiveInfo = 0x0FF2;

// A table of three cells stored out of row order.
std::string Table() {
  return Box(kOfficeArtSpgrContainer, TableShape() + TableCell(9, 0, u"B") +
                                          TableCell(0, 5, u"A2") +
                                          TableCell(0, 0, u"A1"));
}
std::string TextShape(std::u16string_view text) { return Shape("", Chars(text)); }

std::string Extract(const std::string& stream, const std::string* user) {
  auto document = testing::StreamOver({stream});
  auto currentUser = testing::StreamOver({user ? *user : ""});
  CompleteTextExtractor extractor(*document, user ? currentUser.get() : nullptr,
                                  UINT32_MAX);
  NarrowOutputStream narrow;
  extractor.Extract(narrow);
  WideOutputStream wide;
  extractor.Extract(wide);
  std::string text(narrow.Data(), narrow.Length());
  EXPECT_EQ(std::basic_string<WCHAR>(wide.Data(), wide.Length()),
            std::basic_string<WCHAR>(text.begin(), text.end()));
  return text;
}

// The document (persist 1) with a master (persist 5), a title master on it
// (persist 6) and notes (persist 4, id 1, the lowest there is) for slide 1,
// around the given slide list.
std::string Document(const std::string& slideList) {
  return Box(kRtDocument,
             Box(kRtSlideListWithText, PersistEntry(5, 0x80000000) +
                                           PersistEntry(6, 0x80000001),
                 1) +
                 Box(kRtSlideListWithText, slideList) +
                 Box(kRtSlideListWithText, PersistEntry(4, 1), 2));
}

// Slides 1 and 2 (persist 2, 3), saved once: slide 1 on the title master,
// slide 2 on the master.
Deck LiveDeck(const std::string& slideList) {
  Deck deck;
  deck.Add(1, Document(slideList));
  deck.Add(2,
           Page(kRtSlide, 0x80000001, 1,
                TextShape(u"Box") + Shape(Atom(kRtOutlineTextRefAtom, U32(1)), "") +
                    Shape(Atom(kRtOutlineTextRefAtom, U32(1)), "")));
  deck.Add(3, Page(kRtSlide, 0x80000000, 0, TextShape(u"Second") + Table()));
  deck.Add(4, Page(kRtNotes, 0, 0,  // its shape in a group of its own
                   Box(kOfficeArtSpgrContainer, TextShape(u"Note"))));
  deck.Add(5, Page(kRtMainMaster, 0, 0,
                   Shape(Placeholder(1), Chars(u"Click to edit")) +
                       Shape(Placeholder(9), Chars(u"Foot")) +
                       TextShape(u"Logo")));
  deck.Add(6, Page(kRtSlide, 0x80000000, 0, TextShape(u"On title")));
  return deck.Save(0);
}

TEST(CompleteTextExtractorTest, LiveDocumentText) {
  std::string slide1 = PersistEntry(2, 256) + Atom(kRtTextHeaderAtom, U32(0)) +
                       Chars(u"Title") +
                       Box(kInteractiveInfo, Atom(0x0FF3, U32(0))) +
                       Atom(kRtTextHeaderAtom, U32(1)) + Chars(u"Body");
  Deck deck = LiveDeck(slide1 + PersistEntry(3, 257) +
                       Atom(kRtTextBytesAtom, "Second") + Chars(u"Sec"));
  std::string user = deck.CurrentUser();
  // The shape's own text, the list text a shape refers to (once), the list
  // text no shape showed, the title master's text and its own master's
  // text boxes and footer (not its prompt), then the notes. Slide 2's 8-bit list text repeats its shape's
  // UTF-16 text, character for character; "Sec" is no repeat.
  std::string first =
      "Box\r\nBody\r\nTitle\r\nOn title\r\nFoot\r\nLogo\r\nNote\r\n";
  EXPECT_EQ(Extract(deck.stream, &user),
            first + kSeparator + "Second\r\nA1\r\nA2\r\nB\r\nSec\r\n");
  // An edit of just the 20 bytes whose fields are read is one still.
  std::string shortEdit = deck.stream.substr(0, deck.lastEdit + 28);
  EXPECT_EQ(Extract(shortEdit.replace(deck.lastEdit + 4, 4, U32(20)), &user),
            Extract(deck.stream, &user));

  // An incremental save replaces slide 2 and the document; the old copies
  // stay in the stream.
  deck.Add(1, Document(slide1 + PersistEntry(3, 257) + Chars(u"Newer")))
      .Add(3, Page(kRtSlide, 0, 0, TextShape(u"Newer")))
      .Save(deck.lastEdit);
  std::string newer = deck.CurrentUser();
  EXPECT_EQ(Extract(deck.stream, &newer), first + kSeparator + "Newer\r\n");
}

// A persist id that names a record of another type gives no page; a record
// of type 0 is no exception. The slide keeps its list text.
TEST(CompleteTextExtractorTest, PagesOfAnotherTypeAreNotRead) {
  std::string slide1 =
      PersistEntry(2, 256) + Atom(kRtTextHeaderAtom, U32(0)) + Chars(u"Title");
  std::string list = slide1 + PersistEntry(3, 257) + Chars(u"Listed");
  const std::string slide2Listed =
      "Box\r\nTitle\r\nOn title\r\nFoot\r\nLogo\r\nNote\r\n" + kSeparator +
      "Listed\r\n";
  struct Case {
    uint32_t persistId;
    uint16_t type;
    std::string expected;
  } cases[] = {
      {3, 0, slide2Listed},
      {3, kRtNotes, slide2Listed},
      {4, 0,
       "Box\r\nTitle\r\nOn title\r\nFoot\r\nLogo\r\n" + kSeparator +
           "Second\r\nA1\r\nA2\r\nB\r\nListed\r\n"},
  };
  for (const Case& c : cases) {
    Deck deck = LiveDeck(list);
    deck.Add(c.persistId, Page(c.type, 0, 0, TextShape(u"Stray")))
        .Save(deck.lastEdit);
    std::string user = deck.CurrentUser();
    EXPECT_EQ(Extract(deck.stream, &user), c.expected)
        << "persist " << c.persistId << " of type " << c.type;
  }
}

// A record with its length grown by extra bytes, past what holds it.
std::string OverrunBy(uint32_t extra, std::string record) {
  return record.replace(4, 4, U32(uint32_t(record.size()) - 8 + extra));
}

TEST(CompleteTextExtractorTest, FallsBackToANestedWalk) {
  // The whole stream, main masters aside, in stored order.
  Deck deck = LiveDeck(PersistEntry(2, 256));
  std::string whole =
      "Box\r\n" + kSeparator + "Second\r\nB\r\nA2\r\nA1\r\nNote\r\n" +
      kSeparator + "On title\r\n";  // a title master is a slide container
  std::string looped = deck.CurrentUser();
  deck.stream.replace(deck.lastEdit + 16, 4, U32(deck.lastEdit));
  auto userAt = [](uint32_t edit) {
    return Atom(0x0FF6, U32(20) + U32(0) + U32(edit) + U32(0));
  };
  std::string badOffset = userAt(7);
  std::string shortEdit = userAt(static_cast<uint32_t>(deck.stream.size()));
  struct Case {
    const char* name;
    std::string stream;
    const std::string* user;
    std::string expected;
  } cases[] = {
      {"no Current User", deck.stream, nullptr, whole},
      {"an edit chain that loops", deck.stream, &looped, whole},
      {"an edit offset that misses", deck.stream, &badOffset, whole},
      {"a last edit too short for its fields",
       deck.stream + Atom(0x0FF5, U32(0)), &shortEdit, whole},
      {"a child overrunning its parent is cut at the parent's end",
       Box(kRtSlideListWithText,
           Chars(u"A") + Atom(kUnknownAtom, "").replace(4, 4, U32(999))) +
           Box(kRtSlideListWithText, Chars(u"B")),
       nullptr, "A\r\nB\r\n"},
      {"a body whose first child overruns it is skipped whole",
       Box(0x0428, OverrunBy(4, Box(kRtSlideListWithText, Chars(u"no")))) +
           Box(kRtSlideListWithText, Chars(u"yes")),
       nullptr, "yes\r\n"},
      {"a body that is not records is skipped whole",
       Box(0x0428,
           std::string(8, '\0') + Box(kRtSlideListWithText, Chars(u"no"))) +
           Box(kRtSlideListWithText, Chars(u"yes")),
       nullptr, "yes\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Extract(c.stream, c.user), c.expected) << c.name;
}

// A file saved for PowerPoint 95 and 97 at once: the 97 document, with its
// "Current User", is in the storage PP97_DUALSTORAGE. The slide model
// reads it too, and the root's property sets where it has none.
TEST(CompleteTextExtractorTest, ReadsTheDualStorageDocument) {
  Deck deck = LiveDeck(PersistEntry(3, 257));
  testing::CompoundFileWriter file;
  file.AddStream(u"PowerPoint Document",
                 Box(kRtSlideListWithText, Chars(u"95")));
  auto dual = file.AddStorage(u"PP97_DUALSTORAGE");
  file.AddStream(u"PowerPoint Document", deck.stream, dual);
  file.AddStream(u"Current User", deck.CurrentUser(), dual);
  file.AddStream(u"\u0005SummaryInformation",
                 testing::WritePropertySet(
                     {{kSummaryInformationId, {{2, testing::LpstrValue("T")}}}}));
  std::string bytes = file.Build();
  ConversionErrorState errors;
  uint32_t count = static_cast<uint32_t>(bytes.size());
  HGLOBAL text = ConvertMemory(reinterpret_cast<const BYTE*>(bytes.data()),
                               kPureText, &count, errors, kCompleteText);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(text), count),
            "Second\r\nA1\r\nA2\r\nB\r\nFoot\r\nLogo\r\n");
  GlobalFree(text);
  auto model = ExtractPresentation(MemorySource{
      reinterpret_cast<const BYTE*>(bytes.data()), uint32_t(bytes.size())});
  EXPECT_EQ(model.presentation.slides.size(), 1u);
  EXPECT_EQ(model.presentation.properties.title.value_or(""), "T");
}

}  // namespace
}  // namespace txtppt2
