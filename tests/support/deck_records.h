// Records of a "PowerPoint Document" stream as strings to concatenate: the
// pieces of the decks that the text extractor, slide model and file
// inspection tests write.
#ifndef TXTPPT2_TESTS_SUPPORT_DECK_RECORDS_H_
#define TXTPPT2_TESTS_SUPPORT_DECK_RECORDS_H_

#include <map>
#include <string>

#include "extract/record_types.h"
#include "fixtures/record_stream_builder.h"

namespace txtppt2::testing::deck_records {

inline std::string U16(uint16_t v) { return {char(v), char(v >> 8)}; }
inline std::string U32(uint32_t v) { return U16(uint16_t(v)) + U16(uint16_t(v >> 16)); }
// An atom: recVer 0, the instance given, then body.
inline std::string Atom(uint16_t type, const std::string& body,
                        uint16_t inst = 0) {
  return U16(uint16_t(inst << 4)) + U16(type) +
         U32(static_cast<uint32_t>(body.size())) + body;
}
inline std::string Chars(std::u16string_view text) {
  return Atom(kRtTextCharsAtom, Utf16Le(text));
}
// A container whose length covers exactly its children.
inline std::string Box(uint16_t type, const std::string& children,
                       uint16_t inst = 0) {
  return RecordStreamBuilder()
      .Container(type, static_cast<uint32_t>(children.size()), inst)
      .Raw(children)
      .Bytes();
}
inline std::string PersistEntry(uint32_t persistRef, uint32_t pageId) {
  return Atom(kRtSlidePersistAtom,
              U32(persistRef) + U32(0) + U32(0) + U32(pageId) + U32(0));
}
// A shape: its client data records, then its text box's, each left out
// when empty.
inline std::string Shape(const std::string& data, const std::string& textbox) {
  std::string parts = data.empty() ? "" : Box(kOfficeArtClientData, data);
  if (!textbox.empty()) parts += Box(kOfficeArtClientTextbox, textbox);
  return Box(kOfficeArtSpContainer, parts);
}
inline std::string Placeholder(char type) {
  return Atom(kRtPlaceholderAtom, U32(0) + type + std::string(3, '\0'));
}
// A table's own shape: one property in its tertiary options, 0x039F
// (tableProperties) unless another is given; then a cell, anchored at its
// top and left, with its text.
inline std::string TableShape(uint16_t property = 0x039F) {
  return Box(kOfficeArtSpContainer,
             RecordStreamBuilder().Atom(0xF122, U16(property) + U32(1), 0x13).Bytes());
}
inline std::string TableCell(uint32_t top, uint32_t left,
                             std::u16string_view text) {
  return Box(kOfficeArtSpContainer,
             Atom(0xF00F, U32(left) + U32(top) + U32(9) + U32(9)) +
                 (text.empty() ? "" : Box(kOfficeArtClientTextbox, Chars(text))));
}
// A slide, notes page or master: its SlideAtom, the records given as
// extras, then a drawing of shapes.
inline std::string Page(uint16_t type, uint32_t masterId, uint32_t notesId,
                        const std::string& shapes,
                        const std::string& extras = "") {
  std::string atom = Atom(kRtSlideAtom, U32(0) + std::string(8, '\0') +
                                            U32(masterId) + U32(notesId) +
                                            U32(0));
  return Box(type, atom + extras +
                       Box(kRtDrawing,
                           Box(kOfficeArtDgContainer,
                               Box(kOfficeArtSpgrContainer, shapes))));
}

// A stream saved in steps: records are appended with their persist ids,
// and each Save writes the directory of the ids added since the last one
// and a UserEditAtom pointing back to the previous edit.
struct Deck {
  std::string stream;
  std::map<uint32_t, uint32_t> added;
  uint32_t lastEdit = 0;

  Deck& Add(uint32_t persistId, const std::string& record) {
    added[persistId] = static_cast<uint32_t>(stream.size());
    stream += record;
    return *this;
  }
  Deck& Save(uint32_t previous) {
    std::string entries;
    for (auto [id, offset] : added) entries += U32(id | 1u << 20) + U32(offset);
    added.clear();
    uint32_t directory = static_cast<uint32_t>(stream.size());
    stream += Atom(0x1772, entries);
    lastEdit = static_cast<uint32_t>(stream.size());
    stream += Atom(0x0FF5, U32(0) + U32(0) + U32(previous) + U32(directory) +
                               U32(1) + U32(9) + U32(0));
    return *this;
  }
  std::string CurrentUser() const {
    return Atom(0x0FF6, U32(20) + U32(0xE391C05F) + U32(lastEdit) +
                            std::string(12, '\0'));
  }
};

}  // namespace txtppt2::testing::deck_records

#endif  // TXTPPT2_TESTS_SUPPORT_DECK_RECORDS_H_
