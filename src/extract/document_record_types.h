// The record types that locate the live document and its slides, notes and
// shapes, compared on all 16 bits ([MS-PPT] 2.13.24 RecordType, and the
// office drawing types of [MS-ODRAW]).
#ifndef TXTPPT2_EXTRACT_DOCUMENT_RECORD_TYPES_H_
#define TXTPPT2_EXTRACT_DOCUMENT_RECORD_TYPES_H_

#include <cstdint>

namespace txtppt2::document_records {

// The edit history.
constexpr uint16_t kCurrentUserAtom = 0x0FF6;
constexpr uint16_t kUserEditAtom = 0x0FF5;
constexpr uint16_t kPersistDirectoryAtom = 0x1772;

// The document and its lists.
constexpr uint16_t kDocument = 0x03E8;
constexpr uint16_t kSlideListWithText = 0x0FF0;
constexpr uint16_t kSlidePersistAtom = 0x03F3;
constexpr uint16_t kSlideListInstanceSlides = 0;
constexpr uint16_t kSlideListInstanceMasters = 1;
constexpr uint16_t kSlideListInstanceNotes = 2;

// Slides and notes pages.
constexpr uint16_t kSlide = 0x03EE;
constexpr uint16_t kSlideAtom = 0x03EF;
constexpr uint16_t kNotes = 0x03F0;
constexpr uint16_t kMainMaster = 0x03F8;
constexpr uint16_t kDrawing = 0x040C;

// Text.
constexpr uint16_t kTextHeaderAtom = 0x0F9F;
constexpr uint16_t kOutlineTextRefAtom = 0x0F9E;
constexpr uint16_t kTextCharsAtom = 0x0FA0;
constexpr uint16_t kTextBytesAtom = 0x0FA8;
constexpr uint16_t kCString = 0x0FBA;

// Office drawing containers of a page's shapes.
constexpr uint16_t kDrawingContainer = 0xF002;
constexpr uint16_t kShapeGroupContainer = 0xF003;
constexpr uint16_t kShapeContainer = 0xF004;
constexpr uint16_t kClientTextbox = 0xF00D;
constexpr uint16_t kChildAnchor = 0xF00F;  // a grouped shape's rectangle
constexpr uint16_t kClientData = 0xF011;
constexpr uint16_t kTertiaryOptions = 0xF122;
constexpr uint16_t kPlaceholderAtom = 0x0BC3;  // in a shape's client data

}  // namespace txtppt2::document_records

#endif  // TXTPPT2_EXTRACT_DOCUMENT_RECORD_TYPES_H_
