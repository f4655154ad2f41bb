// The record types and header fields that decide which text is extracted.
// Types are compared after masking to their low 12 bits.
#ifndef TXTPPT2_EXTRACT_RECORD_TYPES_H_
#define TXTPPT2_EXTRACT_RECORD_TYPES_H_

#include <cstdint>

namespace txtppt2 {

constexpr uint16_t kRecordVersionMask = 0x000F;
constexpr uint16_t kContainerVersion = 0x000F;  // recVer of every container
constexpr uint16_t kRecordTypeMask = 0x0FFF;

// Containers.
constexpr uint16_t RT_Slide = 1006;               // 0x03EE
constexpr uint16_t RT_SlideListWithText = 4080;   // 0x0FF0
constexpr uint16_t kClientTextboxMasked = 0x00D;  // 0xF00D, a shape's text
constexpr uint16_t kClientDataMasked = 0x011;     // 0xF011, a shape's data

// Text atoms.
constexpr uint16_t RT_TextCharsAtom = 4000;  // 0x0FA0, UTF-16LE
constexpr uint16_t RT_TextBytesAtom = 4008;  // 0x0FA8, 8-bit ANSI
constexpr uint16_t RT_CString = 4026;        // 0x0FBA, UTF-16LE

// Records the exact walk passes over unread: the complete text's way to the
// live document, and what the writers of sample files (fixtures/,
// tools/make_sample.cpp) need. Compared on all 16 bits.
constexpr uint16_t RT_Document = 0x03E8;
constexpr uint16_t RT_DocumentAtom = 0x03E9;
constexpr uint16_t RT_SlideAtom = 0x03EF;
constexpr uint16_t RT_Notes = 0x03F0;
constexpr uint16_t RT_NotesAtom = 0x03F1;
constexpr uint16_t RT_SlidePersistAtom = 0x03F3;
constexpr uint16_t RT_MainMaster = 0x03F8;
constexpr uint16_t RT_Drawing = 0x040C;
constexpr uint16_t RT_ColorSchemeAtom = 0x07F0;
constexpr uint16_t RT_PlaceholderAtom = 0x0BC3;
constexpr uint16_t RT_OutlineTextRefAtom = 0x0F9E;
constexpr uint16_t RT_TextHeaderAtom = 0x0F9F;
constexpr uint16_t RT_StyleTextPropAtom = 0x0FA1;
constexpr uint16_t RT_TextSpecialInfoAtom = 0x0FAA;
constexpr uint16_t RT_UserEditAtom = 0x0FF5;
constexpr uint16_t RT_CurrentUserAtom = 0x0FF6;
constexpr uint16_t RT_PersistDirectoryAtom = 0x1772;

// The office drawing records of a slide's shapes, unmasked.
constexpr uint16_t kOfficeArtDgContainer = 0xF002;
constexpr uint16_t kOfficeArtSpgrContainer = 0xF003;
constexpr uint16_t kOfficeArtSpContainer = 0xF004;
constexpr uint16_t kOfficeArtFDG = 0xF008;
constexpr uint16_t kOfficeArtFSPGR = 0xF009;
constexpr uint16_t kOfficeArtFSP = 0xF00A;
constexpr uint16_t kOfficeArtFOPT = 0xF00B;
constexpr uint16_t kOfficeArtClientTextbox = 0xF00D;
constexpr uint16_t kOfficeArtChildAnchor =
    0xF00F;  // a grouped shape's rectangle
constexpr uint16_t kOfficeArtClientAnchor = 0xF010;
constexpr uint16_t kOfficeArtClientData = 0xF011;
constexpr uint16_t kOfficeArtTertiaryFOPT = 0xF122;

// Instances of RT_SlideListWithText: which list it is.
constexpr uint16_t kSlideListInstanceSlides = 0;
constexpr uint16_t kSlideListInstanceMasters = 1;
constexpr uint16_t kSlideListInstanceNotes = 2;

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_RECORD_TYPES_H_
