// Where the complete walk finds the fields it reads, one block per record:
// byte offsets into the record's body (after its 8-byte header), and the
// values of those fields that the walk tells apart.
#ifndef TXTPPT2_EXTRACT_RECORD_LAYOUTS_H_
#define TXTPPT2_EXTRACT_RECORD_LAYOUTS_H_

#include <cstdint>

namespace txtppt2 {

// Record header: recVer and recInstance, recType, recLen.
struct RecordHeaderLayout {
  static constexpr uint32_t kVersionInstance = 0;  // u16
  static constexpr uint32_t kType = 2;             // u16
  static constexpr uint32_t kLength = 4;           // u32
  // The record types of the presentation's own records (RT_Document up to
  // RT_PersistDirectoryAtom) and of the office drawing records.
  static constexpr uint16_t kFirstPresentationType = 0x03E8;
  static constexpr uint16_t kLastPresentationType = 0x1772;
  static constexpr uint16_t kFirstOfficeArtType = 0xF000;
  static constexpr uint16_t kLastOfficeArtType = 0xF200;
};

// SlidePersistAtom: one page of a slide list.
struct SlidePersistAtomLayout {
  static constexpr uint32_t kPersistIdRef = 0;  // u32, the page's container
  static constexpr uint32_t kSlideId = 12;      // u32, the page's id
};

// SlideAtom: geom, rgPlaceholderTypes[8], then two slide ids.
struct SlideAtomLayout {
  static constexpr uint32_t kMasterIdRef = 12;  // u32, the page's master
  static constexpr uint32_t kNotesIdRef = 16;   // u32, the slide's notes
};

// OutlineTextRefAtom: which text of the page's slide-list entry a shape
// shows, counted by TextHeaderAtom.
struct OutlineTextRefAtomLayout {
  static constexpr uint32_t kIndex = 0;  // u32
};

// OEPlaceholderAtom: position, then placementId; master placeholders 1 to
// 6 (title to notes body) hold prompts.
struct PlaceholderAtomLayout {
  static constexpr uint32_t kPlacementId = 4;  // u8
  static constexpr uint8_t kFirstPromptPlacement = 0x01;
  static constexpr uint8_t kLastPromptPlacement = 0x06;
};

// OfficeArtFOPT and OfficeArtTertiaryFOPT: recInstance property entries of
// 6 bytes each (opid, then op); the property id is opid's low 14 bits.
struct OfficeArtFoptLayout {
  static constexpr uint32_t kEntrySize = 6;
  static constexpr uint32_t kOpid = 0;  // u16
  static constexpr uint16_t kPropertyIdMask = 0x3FFF;
  static constexpr uint16_t kTablePropertiesId = 0x039F;
};

// OfficeArtChildAnchor: a grouped shape's rectangle in the group's
// coordinates, four signed 32-bit values (left, top, right, bottom); only
// the top left corner orders cells.
struct ChildAnchorLayout {
  static constexpr uint32_t kLeft = 0;
  static constexpr uint32_t kTop = 4;
  static constexpr uint32_t kSize = 16;
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_RECORD_LAYOUTS_H_
