// The slide model of a deck written record by record: titles from
// placeholders and from the slide list, notes, hidden slides, hyperlinked
// ranges and shapes, a table, comments, headers and footers of the document, the slide and the
// notes page, masters once, and the property sets beside the document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/presentation_extraction.h"
#include "fixtures/compound_file_writer.h"
#include "fixtures/property_set_writer.h"
#include "fixtures/record_stream_builder.h"
#include "properties/property_set.h"
#include "support/deck_records.h"

namespace txtppt2 {
namespace {

using namespace testing::deck_records;
using testing::Utf16Le;

std::string CString(std::u16string_view text, uint16_t inst) {
  return Atom(kRtCString, Utf16Le(text), inst);
}
std::string TextHeader(uint32_t type) { return Atom(kRtTextHeaderAtom, U32(type)); }
// Headers and footers: the flags, then the user date, header and footer.
std::string HeadersFooters(uint16_t flags, std::u16string_view date,
                           std::u16string_view header,
                           std::u16string_view footer, uint16_t inst) {
  return Box(0x0FD9,
             Atom(0x0FDA, U16(0) + U16(flags)) + CString(date, 0) +
                 CString(header, 1) + CString(footer, 2),
             inst);
}
constexpr uint16_t kHasDate = 0x01, kHasUserDate = 0x04, kHasHeader = 0x10,
                   kHasFooter = 0x20;

std::string SlideOne() {
  std::string hidden = Atom(0x03F9, std::string(10, '\0') + U16(0x0004) +
                                        std::string(4, '\0'));
  std::string systemTime = U16(2008) + U16(8) + U16(1) + U16(4) + U16(22) +
                           U16(27) + U16(16) + U16(0);
  std::string comment = Box(0x2EE0, CString(u"Ann", 0) +
                                        CString(u"Looks good", 1) +
                                        CString(u"A", 2) +
                                        Atom(0x2EE1, U32(1) + systemTime +
                                                         U32(0) + U32(0)));
  std::string tags = Box(0x1388, Box(0x1389, CString(u"x", 0)) +  // a string tag
                                     Box(0x138A, CString(u"___PPT10", 0) +
                                                 Atom(0x138B, comment)));
  // "site" (characters 6 to 10) links to hyperlink 7: the box's second
  // text's range, none of the first's.
  std::string link = Box(0x0FF2, Atom(0x0FF3, U32(0) + U32(7) + U32(4) +
                                                  U32(0))) +
                     Atom(0x0FDF, U32(6) + U32(10));
  std::string shapes =
      Shape("", TextHeader(4) + Chars(u"Plain text") + Chars(u"Visit site") +
                    link) +
      Shape(Placeholder(0x0D), TextHeader(0) + Chars(u"Agenda"));
  return Page(kRtSlide, 0x80000000, 300, shapes, hidden + tags);
}

// What a mouse click (instance 0) or a mouse over (1) on a shape does,
// with hyperlink 7: 4 follows it, 3 jumps to a slide.
std::string Action(char action, uint16_t inst = 0) {
  return Box(0x0FF2, Atom(0x0FF3, U32(0) + U32(7) + action + std::string(7, '\0')),
             inst);
}

// A table whose cells are stored out of row order: an empty cell and one
// of two paragraphs in the first row, one cell in the second.
std::string Table() {
  return Box(kOfficeArtSpgrContainer, TableShape() + TableCell(9, 0, u"B") +
                                          TableCell(0, 5, u"A2\rmore") +
                                          TableCell(0, 0, u""));
}

std::string SlideTwo() {
  std::string own = HeadersFooters(kHasFooter, u"", u"", u"Own foot", 0);
  std::string shapes =
      Shape(Action(4), TextHeader(4) + Chars(u"Go\rnow")) +
      Shape("", TextHeader(4) + Chars(u"Second")) + Table() +
      Box(kOfficeArtSpgrContainer, TableShape()) +  // no cells: no table
      Box(kOfficeArtSpgrContainer,  // a group, not a table: in stored order
          TableShape(0x0380) + TableCell(9, 0, u"Y") + TableCell(0, 0, u"X")) +
      Shape(Action(4) + Action(3, 1), "") +  // a picture
      Shape(Action(4, 1), TextHeader(4) + Chars(u"Hover")) +
      Shape(Action(3), TextHeader(4) + Chars(u"Jump"));
  return Page(kRtSlide, 0x80000000, 0, shapes, own);
}

std::string Document() {
  std::string hyperlinks =
      Box(0x0409, Box(0x0FD7, Atom(0x0FD3, U32(7)) + CString(u"site", 0) +
                                  CString(u"http://example.com/", 1) +
                                  CString(u"intro", 3)));
  // Slide 2's first list text has a header too short to hold its type: a
  // text no shape showed, never a title.
  std::string slideList = PersistEntry(2, 256) + PersistEntry(3, 257) +
                          Atom(kRtTextHeaderAtom, std::string(3, '\0')) +
                          Chars(u"Untyped") + TextHeader(0) +
                          Chars(u"Listed title");
  return Box(kRtDocument,
             hyperlinks +
                 HeadersFooters(kHasFooter | kHasDate | kHasUserDate,
                                u"1 May", u"", u"Doc foot", 3) +
                 HeadersFooters(kHasHeader, u"", u"Notes head", u"", 4) +
                 Box(kRtSlideListWithText, PersistEntry(5, 0x80000000), 1) +
                 Box(kRtSlideListWithText, slideList) +
                 Box(kRtSlideListWithText, PersistEntry(4, 300), 2));
}

// The records at their persist ids, saved once, and the "Current User"
// atom that points at the edit.
std::string WriteDeck(std::string& currentUser) {
  Deck deck;
  deck.Add(1, Document()).Add(2, SlideOne()).Add(3, SlideTwo());
  deck.Add(4, Page(kRtNotes, 0, 0,
                   Shape("", TextHeader(2) + Chars(u"Speaker note"))));
  deck.Add(5, Page(kRtMainMaster, 0, 0,
                   Shape(Placeholder(1), TextHeader(0) + Chars(u"Click")) +
                       Shape("", TextHeader(4) + Chars(u"Logo"))));
  currentUser = deck.Save(0).CurrentUser();
  return deck.stream;
}

PresentationExtraction ExtractFile(const std::string& bytes) {
  return ExtractPresentation(
      MemorySource{reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<uint32_t>(bytes.size())});
}

// A file of the document stream and its "Current User" alone.
PresentationExtraction ExtractDeck(const std::string& stream,
                                   const std::string& currentUser) {
  testing::CompoundFileWriter file;
  file.AddStream(u"PowerPoint Document", stream);
  file.AddStream(u"Current User", currentUser);
  return ExtractFile(file.Build());
}

TEST(PresentationBuilderTest, SlidesWithTheirTitlesNotesLinksAndComments) {
  std::string currentUser;
  std::string document = WriteDeck(currentUser);
  testing::CompoundFileWriter file;
  file.AddStream(u"PowerPoint Document", document);
  file.AddStream(u"Current User", currentUser);
  file.AddStream(u"\u0005SummaryInformation",
                 testing::WritePropertySet(
                     {{kSummaryInformationId,
                       {{1, testing::I2Value(1252)},
                        {2, testing::LpstrValue("Deck")},
                        {3, testing::LpstrValue(std::string(5000, 's'))}}}}));
  auto extraction = ExtractFile(file.Build());
  ASSERT_TRUE(extraction.ok) << extraction.message;
  const Presentation& deck = extraction.presentation;
  EXPECT_EQ(deck.properties.title.value_or(""), "Deck");
  // Read past the first 4 KiB of the stream, where the properties go on.
  EXPECT_EQ(deck.properties.subject.value_or("").size(), 5000u);
  ASSERT_EQ(deck.slides.size(), 2u);

  const Slide& first = deck.slides[0];
  EXPECT_EQ(first.number, 1u);
  EXPECT_EQ(first.title.value_or("(none)"), "Agenda");
  EXPECT_EQ(first.text, "Plain text\nVisit site\nAgenda\n");
  EXPECT_EQ(first.notes, "Speaker note\n");
  EXPECT_TRUE(first.hidden);
  ASSERT_EQ(first.links.size(), 1u);
  EXPECT_EQ(first.links[0].text + " " + first.links[0].url,
            "site http://example.com/#intro");
  ASSERT_EQ(first.comments.size(), 1u);
  const Comment& c = first.comments[0];
  EXPECT_EQ(c.author + "/" + c.initials + "/" + c.text + "/" +
                c.date.value_or("(none)"),
            "Ann/A/Looks good/2008-08-04T22:27:16Z");
  // The document's footer and date for the slide, its notes header for
  // the notes page.
  std::vector<std::string> headers;
  for (const HeaderText& h : first.headers)
    headers.push_back(h.place + "/" + h.kind + "/" + h.text);
  EXPECT_EQ(headers, (std::vector<std::string>{"slide/footer/Doc foot",
                                               "slide/date/1 May",
                                               "notes/header/Notes head"}));

  // No shape shows a title: the list's title, which the text ends with as
  // no shape showed it either; its own footer replaces the document's. The
  // table's cells row by row; links for the shapes that a click takes to
  // a hyperlink, with their whole text.
  const Slide& second = deck.slides[1];
  EXPECT_EQ(second.number, 2u);
  EXPECT_EQ(second.title.value_or("(none)"), "Listed title");
  const std::string before = "Go\nnow\nSecond\n";
  EXPECT_EQ(second.text,
            before + "A2\nmore\nB\nY\nX\nHover\nJump\nUntyped\nListed title\n");
  ASSERT_EQ(second.tables.size(), 1u);
  EXPECT_EQ(second.tables[0].textOffset, before.size());
  EXPECT_EQ(second.tables[0].rows,
            (std::vector<std::vector<std::string>>{{"", "A2\nmore\n"},
                                                   {"B\n"}}));
  EXPECT_EQ(second.notes, "");
  EXPECT_FALSE(second.hidden);
  std::vector<std::string> links;
  for (const Link& link : second.links) links.push_back(link.text + "|" + link.url);
  EXPECT_EQ(links, (std::vector<std::string>{"Go\nnow|http://example.com/#intro",
                                             "|http://example.com/#intro"}));
  ASSERT_EQ(second.headers.size(), 1u);
  EXPECT_EQ(second.headers[0].kind + second.headers[0].text, "footerOwn foot");

  // The master's text once, without its title prompt.
  ASSERT_EQ(deck.masters.size(), 1u);
  EXPECT_EQ(deck.masters[0], "Logo\n");
}

// A deck saved three times, each row damaging it. Where the chain of edits
// breaks, the model mends it from the edits the stream holds (the complete
// text walks every record: CompleteTextExtractorTest). Hidden: "*".
TEST(PresentationBuilderTest, BrokenEditChainsAreMended) {
  auto slide = [](std::u16string_view text, bool hidden) {
    return Page(
        kRtSlide, 0, 0, Shape("", TextHeader(1) + Chars(text)),
        Atom(0x03F9, std::string(10, '\0') + U16(hidden ? 4 : 0) + U32(0)));
  };
  auto document = [](int slides, std::string listText = "") {
    std::string list;
    for (int id = 2; id < 2 + slides; ++id)
      list += PersistEntry(id, 254 + id) + (id == 2 ? listText : "");
    return Box(kRtDocument, Box(kRtSlideListWithText, list));
  };
  Deck deck;
  uint32_t edits[3];
  deck.Add(1, document(2, TextHeader(0) + Chars(u"Listed")));
  deck.Add(2, slide(u"Alpha", true)).Add(3, slide(u"Beta old", false));
  edits[0] = deck.Save(0).lastEdit;
  deck.Add(1, document(3)).Add(3, slide(u"Beta", false));
  edits[1] = deck.Add(4, slide(u"Gamma old", false)).Save(edits[0]).lastEdit;
  deck.Add(1, document(3)).Add(4, slide(u"Gamma", false));
  edits[2] = deck.Save(edits[1]).lastEdit;
  // UserEditAtom fields, from the edit's header.
  constexpr uint32_t kPrevious = 16, kDirectory = 20, kDocumentRef = 24;
  const std::string kLive = "Alpha*|Beta|Gamma";
  struct Damage {
    const char* name;
    int edit;  // of edits, or -1 for the "Current User" atom's pointer
    uint32_t field, value;
    std::string slides;
  } const damages[] = {
      {"intact", 2, kPrevious, edits[1], kLive},
      {"newest edit links to itself", 2, kPrevious, edits[2], kLive},
      {"newest edit links to no edit", 2, kPrevious, edits[0] + 36, kLive},
      {"an edit links forward", 1, kPrevious, edits[2], kLive},
      {"current user misses the edit", -1, 16, 3, kLive},
      {"newest directory missing", 2, kDirectory, 3, "Alpha*|Beta|Gamma old"},
      // Nothing to mend: every slide container, the lists' text first.
      {"newest document missing", 2, kDocumentRef, 9,
       "Listed\nAlpha*|Beta old|Beta|Gamma old|Gamma"},
      {"newest document is a slide", 2, kDocumentRef, 2,
       "Listed\nAlpha*|Beta old|Beta|Gamma old|Gamma"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    std::string stream = deck.stream, user = deck.CurrentUser();
    (damage.edit < 0 ? user : stream)
        .replace((damage.edit < 0 ? 0 : edits[damage.edit]) + damage.field, 4,
                 U32(damage.value));
    auto extraction = ExtractDeck(stream, user);
    ASSERT_TRUE(extraction.ok) << extraction.message;
    std::string slides;
    for (const Slide& s : extraction.presentation.slides)
      slides += (slides.empty() ? "" : "|") +
                s.text.substr(0, s.text.size() - 1) + (s.hidden ? "*" : "");
    EXPECT_EQ(slides, damage.slides);
  }
}

// What the model gives for every sample file that fails, the exports' code
// and message, is presentation_corpus_test's; a path that does not open:
TEST(PresentationBuilderTest, MissingFileFails) {
  auto missing = ExtractPresentation(PathSource{"/nonexistent/deck.ppt"});
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.code, 0u);
}

// A placeholder's placement alone makes its text the title: a title, a
// centred title or a vertical title; not a body or a subtitle.
TEST(PresentationBuilderTest, TitlePlacementsMakeTitles) {
  for (auto [placement, title] : {std::pair{0x0D, true}, {0x0F, true},
                                  {0x11, true}, {0x0E, false}, {0x10, false}}) {
    Deck deck;
    deck.Add(1, Box(kRtDocument, Box(kRtSlideListWithText, PersistEntry(2, 256))));
    deck.Add(2, Page(kRtSlide, 0, 0,
                     Shape(Placeholder(char(placement)), Chars(u"Words"))));
    deck.Save(0);
    auto extraction = ExtractDeck(deck.stream, deck.CurrentUser());
    ASSERT_EQ(extraction.presentation.slides.size(), 1u);
    EXPECT_EQ(extraction.presentation.slides[0].title.value_or("-"),
              title ? "Words" : "-")
        << placement;
  }
}

}  // namespace
}  // namespace txtppt2
