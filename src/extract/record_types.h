// The record types and header fields that decide which text is extracted.
//
// Names: k plus the format's name of the type, with "RT_" written "Rt"
// (RT_Slide is kRtSlide) and the office drawing records under their own
// names (kOfficeArtSpContainer). Every constant is the full 16-bit recType.
//
// Comparing: the exact walk (PresentationTextExtractor) compares the low 12
// bits of the record's type with the low 12 bits of the constant, as the
// library always has (so 0xF00D, a shape's text box, and 0x000D are one
// type to it); the complete walk compares all 16 bits.
//
// The types only the writers of sample files need are in
// fixtures/fixture_record_types.h.
#ifndef TXTPPT2_EXTRACT_RECORD_TYPES_H_
#define TXTPPT2_EXTRACT_RECORD_TYPES_H_

#include <cstdint>

namespace txtppt2 {

constexpr uint16_t kRecordVersionMask = 0x000F;
constexpr uint16_t kContainerVersion = 0x000F;  // recVer of every container
// What of recType the exact walk compares.
constexpr uint16_t kRecordTypeMask = 0x0FFF;

// The presentation's records.
constexpr uint16_t kRtDocument = 0x03E8;
constexpr uint16_t kRtSlide = 0x03EE;
constexpr uint16_t kRtSlideAtom = 0x03EF;
constexpr uint16_t kRtNotes = 0x03F0;
constexpr uint16_t kRtSlidePersistAtom = 0x03F3;
constexpr uint16_t kRtMainMaster = 0x03F8;
constexpr uint16_t kRtDrawing = 0x040C;
constexpr uint16_t kRtPlaceholderAtom = 0x0BC3;
constexpr uint16_t kRtOutlineTextRefAtom = 0x0F9E;
constexpr uint16_t kRtTextHeaderAtom = 0x0F9F;
constexpr uint16_t kRtTextCharsAtom = 0x0FA0;  // UTF-16LE
constexpr uint16_t kRtTextBytesAtom = 0x0FA8;  // 8-bit ANSI
constexpr uint16_t kRtCString = 0x0FBA;        // UTF-16LE
constexpr uint16_t kRtSlideListWithText = 0x0FF0;
constexpr uint16_t kRtUserEditAtom = 0x0FF5;
constexpr uint16_t kRtCurrentUserAtom = 0x0FF6;
constexpr uint16_t kRtPersistDirectoryAtom = 0x1772;

// The office drawing records of a slide's shapes.
constexpr uint16_t kOfficeArtDgContainer = 0xF002;
constexpr uint16_t kOfficeArtSpgrContainer = 0xF003;
constexpr uint16_t kOfficeArtSpContainer = 0xF004;
constexpr uint16_t kOfficeArtClientTextbox = 0xF00D;  // a shape's text
constexpr uint16_t kOfficeArtFSP = 0xF00A;  // a shape's type (instance), id
constexpr uint16_t kOfficeArtChildAnchor = 0xF00F;    // a grouped shape's box
constexpr uint16_t kOfficeArtClientData = 0xF011;     // a shape's data
constexpr uint16_t kOfficeArtTertiaryFOPT = 0xF122;

// The kOfficeArtFSP instance of a line: a table draws its borders so.
constexpr uint16_t kShapeTypeLine = 20;

// Instances of kRtSlideListWithText: which list it is.
constexpr uint16_t kSlideListInstanceSlides = 0;
constexpr uint16_t kSlideListInstanceMasters = 1;
constexpr uint16_t kSlideListInstanceNotes = 2;

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_RECORD_TYPES_H_
