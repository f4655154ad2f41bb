// make_sample: writes examples/sample.ppt, the presentation shipped with
// txtppt2, from nothing but the project's own test writers.
//
//   txtppt2_make_sample OUTPUT.ppt
//
// The file is laid out like one saved by PowerPoint 97-2003, small as it
// is: a "Current User" stream pointing at the last edit, and a "PowerPoint
// Document" stream holding the document container (document atom, the
// slide list with the placeholders' text, the empty notes list), a master,
// three slides whose drawings hold placeholder shapes and text boxes, a
// notes page, then the persist directory and the user edit. Container
// lengths and persist offsets are the real ones, so other readers of the
// format can open it too.
//
// What it shows of the converter: placeholder text comes from the slide
// list, in list order; a text box's own text comes from its drawing; a
// placeholder shape's client data keeps the text box record after it from
// repeating that text (and keeps the master's prompt text out); each slide
// after the first starts with a separator line; notes text follows the
// slides. The text has accented Latin in UTF-16 and in 8-bit atoms, Greek,
// Japanese, paragraph breaks (CR) and a soft line break (VT).
//
// The output is the same on every run: a test compares it with the
// committed sample.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "fixtures/compound_file_writer.h"
#include "fixtures/record_stream_builder.h"

namespace {

using namespace txtppt2;
using txtppt2::testing::CompoundFileWriter;
using txtppt2::testing::RecordStreamBuilder;

// Text types of the text header atom.
enum TextType : uint32_t { kTitle = 0, kBody = 1, kNotesText = 2, kOther = 4 };

constexpr uint32_t kFirstSlideId = 256;
constexpr uint32_t kMasterId = 0x80000000;
constexpr uint32_t kCurrentUserToken = 0xE391C05F;

// Persist ids, in the order of the persist directory.
enum PersistId : uint32_t {
  kDocumentPersist = 1,
  kMasterPersist,
  kSlide1Persist,
  kSlide2Persist,
  kSlide3Persist,
  kNotes1Persist,
  kPersistCount = kNotes1Persist,
};

class Bytes {
 public:
  Bytes& U8(uint8_t v) {
    data.push_back(static_cast<char>(v));
    return *this;
  }
  Bytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Text(std::string_view text) {
    data.append(text);
    return *this;
  }
  operator std::string() const { return data; }

 private:
  std::string data;
};

std::string Atom(uint16_t type, std::string payload, uint16_t version = 0,
                 uint16_t instance = 0) {
  return RecordStreamBuilder()
      .Atom(type, payload, static_cast<uint16_t>((instance << 4) | version))
      .Bytes();
}

std::string Container(uint16_t type, const std::vector<std::string>& children,
                      uint16_t instance = 0) {
  std::string body;
  for (const std::string& child : children) body += child;
  return RecordStreamBuilder()
      .Container(type, static_cast<uint32_t>(body.size()), instance)
      .Raw(body)
      .Bytes();
}

std::string TextHeader(TextType type) {
  return Atom(kRtTextHeaderAtom, Bytes().U32(type));
}

// Plain formatting for `length` characters: one paragraph run and one
// character run, neither setting a property.
std::string StyleTextProp(size_t length) {
  uint32_t runLength = static_cast<uint32_t>(length + 1);
  return Atom(kRtStyleTextPropAtom,
              Bytes().U32(runLength).U16(0).U32(0).U32(runLength).U32(0));
}

std::string UnicodeText(TextType type, std::u16string_view text) {
  return TextHeader(type) + RecordStreamBuilder().TextChars(text).Bytes() +
         StyleTextProp(text.size());
}

// 8-bit text, Windows-1252.
std::string ByteText(TextType type, std::string_view text) {
  return TextHeader(type) + RecordStreamBuilder().TextBytes(text).Bytes() +
         StyleTextProp(text.size());
}

std::string SlidePersist(uint32_t persistId, uint32_t texts, uint32_t slideId) {
  return Atom(kRtSlidePersistAtom,
              Bytes().U32(persistId).U32(0).U32(texts).U32(slideId).U32(0));
}

// A shape: its FSP, an empty property table and an anchor (top, left,
// right, bottom in master units).
std::vector<std::string> ShapeHeader(uint32_t shapeId, uint16_t shapeType,
                                     int16_t top) {
  return {Atom(kOfficeArtFSP, Bytes().U32(shapeId).U32(0x0A00), 2, shapeType),
          Atom(kOfficeArtFOPT, "", 3, 0),
          Atom(kOfficeArtClientAnchor,
               Bytes()
                   .U16(static_cast<uint16_t>(top))
                   .U16(288)
                   .U16(5472)
                   .U16(static_cast<uint16_t>(top + 1000)))};
}

constexpr uint16_t kRectangle = 1;
constexpr uint16_t kTextBoxShape = 202;

// A placeholder whose text lives in the slide list: the text box record
// only refers to paragraph `outlineIndex` there.
std::string PlaceholderShape(uint32_t shapeId, uint8_t placeholderType,
                             int16_t top, uint32_t outlineIndex) {
  std::vector<std::string> records = ShapeHeader(shapeId, kRectangle, top);
  records.push_back(Container(
      kOfficeArtClientData,
      {Atom(kRtPlaceholderAtom,
            Bytes().U32(outlineIndex).U8(placeholderType).U8(0).U16(0))}));
  records.push_back(
      Container(kOfficeArtClientTextbox,
                {Atom(kRtOutlineTextRefAtom, Bytes().U32(outlineIndex))}));
  return Container(kOfficeArtSpContainer, records);
}

// A shape that holds its own text: a text box, or the body of a notes page.
std::string TextShape(uint32_t shapeId, int16_t top, TextType type,
                      std::u16string_view text) {
  std::vector<std::string> records = ShapeHeader(shapeId, kTextBoxShape, top);
  records.push_back(
      Container(kOfficeArtClientTextbox, {UnicodeText(type, text)}));
  return Container(kOfficeArtSpContainer, records);
}

// The drawing of a slide, master or notes page: a group holding shapes.
std::string Drawing(uint32_t drawingId,
                    const std::vector<std::string>& shapes) {
  uint32_t firstShapeId = drawingId << 10;
  std::vector<std::string> group = {Container(
      kOfficeArtSpContainer,
      {Atom(kOfficeArtFSPGR, Bytes().U32(0).U32(0).U32(0).U32(0), 1),
       Atom(kOfficeArtFSP, Bytes().U32(firstShapeId).U32(0x0005), 2, 0)})};
  group.insert(group.end(), shapes.begin(), shapes.end());
  uint32_t shapeCount = static_cast<uint32_t>(shapes.size() + 1);
  return Container(
      kRtDrawing,
      {Container(kOfficeArtDgContainer,
                 {Atom(kOfficeArtFDG,
                       Bytes().U32(shapeCount).U32(firstShapeId + shapeCount),
                       0, static_cast<uint16_t>(drawingId)),
                  Container(kOfficeArtSpgrContainer, group)})});
}

std::string SlideAtom(uint32_t masterId, uint32_t notesId) {
  // Layout "title and body"; placeholder types: title (13), body (14).
  return Atom(kRtSlideAtom,
              Bytes()
                  .U32(1)
                  .U8(13)
                  .U8(14)
                  .U16(0)
                  .U32(0)
                  .U32(masterId)
                  .U32(notesId)
                  .U16(0x0007)
                  .U16(0),
              2);
}

constexpr uint8_t kMasterTitlePlaceholder = 1;
constexpr uint8_t kTitlePlaceholder = 13;
constexpr uint8_t kBodyPlaceholder = 14;

std::string DocumentContainer() {
  std::string documentAtom = Atom(kRtDocumentAtom,
                                  Bytes()
                                      .U32(5760)  // slide size
                                      .U32(4320)
                                      .U32(4320)  // notes size
                                      .U32(5760)
                                      .U32(1)  // zoom 1:2
                                      .U32(2)
                                      .U32(0)  // notes master
                                      .U32(0)  // handout master
                                      .U16(1)  // first number
                                      .U16(0)  // on-screen show
                                      .U8(0)
                                      .U8(0)
                                      .U8(0)
                                      .U8(1),
                                  1);
  // The placeholders' text of every slide, in slide order.
  std::string slideList = Container(
      kRtSlideListWithText,
      {SlidePersist(kSlide1Persist, 2, kFirstSlideId),
       UnicodeText(kTitle, u"Café crème & croissants"),
       ByteText(kBody, "Why we bake at dawn\rFresh butter\rLocal flour"),
       SlidePersist(kSlide2Persist, 2, kFirstSlideId + 1),
       UnicodeText(kTitle, u"Ελληνικά: καλημέρα!"),
       UnicodeText(kBody, u"First line\vsecond line after a soft break"),
       SlidePersist(kSlide3Persist, 2, kFirstSlideId + 2),
       UnicodeText(kTitle, u"日本語のスライド"),
       ByteText(kBody, "Merci \x97 \xE0 bient\xF4t")},
      kSlideListInstanceSlides);
  std::string notesList =
      Container(kRtSlideListWithText,
                {SlidePersist(kNotes1Persist, 0, kFirstSlideId + 3)},
                kSlideListInstanceNotes);
  return Container(kRtDocument, {documentAtom, slideList, notesList});
}

std::string MainMaster() {
  // The prompt text of the master's title sits in its own text box record;
  // the placeholder's client data before it keeps it out of the output.
  std::vector<std::string> title = ShapeHeader(1025, kRectangle, 0);
  title.push_back(Container(
      kOfficeArtClientData,
      {Atom(kRtPlaceholderAtom,
            Bytes().U32(0).U8(kMasterTitlePlaceholder).U8(0).U16(0))}));
  title.push_back(
      Container(kOfficeArtClientTextbox,
                {UnicodeText(kTitle, u"Click to edit Master title style")}));
  return Container(
      kRtMainMaster,
      {SlideAtom(0, 0), Drawing(1, {Container(kOfficeArtSpContainer, title)})});
}

std::string Slide(uint32_t drawingId, uint32_t notesId,
                  std::u16string_view textBox) {
  uint32_t base = drawingId << 10;
  std::vector<std::string> shapes = {
      PlaceholderShape(base + 1, kTitlePlaceholder, 0, 0),
      PlaceholderShape(base + 2, kBodyPlaceholder, 1200, 1)};
  if (!textBox.empty())
    shapes.push_back(TextShape(base + 3, 3000, kOther, textBox));
  return Container(kRtSlide,
                   {SlideAtom(kMasterId, notesId), Drawing(drawingId, shapes)});
}

std::string NotesPage() {
  uint32_t base = 5 << 10;
  std::vector<std::string> slideImage = ShapeHeader(base + 1, kRectangle, 0);
  slideImage.push_back(
      Container(kOfficeArtClientData,
                {Atom(kRtPlaceholderAtom, Bytes().U32(0).U8(9).U8(0).U16(0))}));
  return Container(
      kRtNotes,
      {Atom(kRtNotesAtom, Bytes().U32(kFirstSlideId).U16(0).U16(0), 1),
       Drawing(5, {Container(kOfficeArtSpContainer, slideImage),
                   TextShape(base + 2, 2000, kNotesText,
                             u"Speaker notes: mention the opening hours.")})});
}

struct PowerPointStreams {
  std::string document;
  std::string currentUser;
};

PowerPointStreams MakeStreams() {
  // The top-level records in persist id order, each at its offset.
  std::vector<std::string> persisted = {
      DocumentContainer(),
      MainMaster(),
      Slide(2, kFirstSlideId + 3, u"Serves 4 \u2014 prep 20 min"),
      Slide(3, 0, u"Ingrédients : beurre, farine, œufs"),
      Slide(4, 0, u""),
      NotesPage(),
  };
  PowerPointStreams streams;
  Bytes directory;
  directory.U32(kDocumentPersist | (kPersistCount << 20));
  for (const std::string& record : persisted) {
    directory.U32(static_cast<uint32_t>(streams.document.size()));
    streams.document += record;
  }
  uint32_t directoryOffset = static_cast<uint32_t>(streams.document.size());
  streams.document += Atom(kRtPersistDirectoryAtom, directory);
  uint32_t userEditOffset = static_cast<uint32_t>(streams.document.size());
  streams.document += Atom(kRtUserEditAtom, Bytes()
                                                .U32(kFirstSlideId)
                                                .U16(0)
                                                .U8(0)
                                                .U8(3)
                                                .U32(0)
                                                .U32(directoryOffset)
                                                .U32(kDocumentPersist)
                                                .U32(kPersistCount + 1)
                                                .U16(1)  // slide view
                                                .U16(0));

  std::string_view user = "txtppt2";
  streams.currentUser =
      Atom(kRtCurrentUserAtom, Bytes()
                                   .U32(0x14)
                                   .U32(kCurrentUserToken)
                                   .U32(userEditOffset)
                                   .U16(static_cast<uint16_t>(user.size()))
                                   .U16(0x03F4)
                                   .U8(3)
                                   .U8(0)
                                   .U16(0)
                                   .Text(user)
                                   .U32(8));
  return streams;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.ppt\n", argv[0]);
    return 2;
  }
  PowerPointStreams streams = MakeStreams();
  CompoundFileWriter writer;
  writer.AddStream(u"Current User", streams.currentUser);
  writer.AddStream(u"PowerPoint Document", streams.document);
  std::string file = writer.Build();

  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
