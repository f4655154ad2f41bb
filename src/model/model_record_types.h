// The records the slide model reads beyond the complete walk's, named as
// extract/record_types.h names its own (every constant the full 16-bit
// recType), and where it finds their fields (as extract/record_layouts.h).
#ifndef TXTPPT2_MODEL_MODEL_RECORD_TYPES_H_
#define TXTPPT2_MODEL_MODEL_RECORD_TYPES_H_

#include <cstdint>

namespace txtppt2 {

constexpr uint16_t kRtSlideShowSlideInfoAtom = 0x03F9;
constexpr uint16_t kRtExObjList = 0x0409;
constexpr uint16_t kRtExternalHyperlinkAtom = 0x0FD3;
constexpr uint16_t kRtExternalHyperlink = 0x0FD7;
constexpr uint16_t kRtHeadersFooters = 0x0FD9;
constexpr uint16_t kRtHeadersFootersAtom = 0x0FDA;
constexpr uint16_t kRtTextInteractiveInfoAtom = 0x0FDF;
constexpr uint16_t kRtInteractiveInfo = 0x0FF2;
constexpr uint16_t kRtInteractiveInfoAtom = 0x0FF3;
constexpr uint16_t kRtProgTags = 0x1388;
constexpr uint16_t kRtProgBinaryTag = 0x138A;
constexpr uint16_t kRtBinaryTagDataBlob = 0x138B;
constexpr uint16_t kRtComment10 = 0x2EE0;
constexpr uint16_t kRtComment10Atom = 0x2EE1;

// ExternalHyperlink: its kRtCString children by instance.
struct ExternalHyperlinkLayout {
  static constexpr uint16_t kFriendlyName = 0;
  static constexpr uint16_t kTarget = 1;
  static constexpr uint16_t kLocation = 3;
};

// ExternalHyperlinkAtom: the hyperlink's id.
struct ExternalHyperlinkAtomLayout {
  static constexpr uint32_t kId = 0;  // u32
};

// Comment10: its kRtCString children by instance.
struct Comment10Layout {
  static constexpr uint16_t kAuthor = 0;
  static constexpr uint16_t kText = 1;
  static constexpr uint16_t kInitials = 2;
};

// Comment10Atom: index, then the creation time as a SYSTEMTIME (year,
// month, day of week, day, hour, minute, second, milliseconds; u16 each).
struct Comment10AtomLayout {
  static constexpr uint32_t kTime = 4;
  static constexpr uint32_t kTimeSize = 16;
};

// HeadersFooters: the document holds one for slides and one for notes
// pages (by instance); a page may hold its own. Its kRtCString children by
// instance.
struct HeadersFootersLayout {
  static constexpr uint16_t kSlidesInstance = 3;
  static constexpr uint16_t kNotesInstance = 4;
  static constexpr uint16_t kUserDate = 0;
  static constexpr uint16_t kHeader = 1;
  static constexpr uint16_t kFooter = 2;
};

// HeadersFootersAtom: formatId (u16), then the flags (u16).
struct HeadersFootersAtomLayout {
  static constexpr uint32_t kFlags = 2;
  static constexpr uint16_t kHasDate = 0x0001;
  static constexpr uint16_t kHasUserDate = 0x0004;
  static constexpr uint16_t kHasHeader = 0x0010;
  static constexpr uint16_t kHasFooter = 0x0020;
};

// SlideShowSlideInfoAtom: slideTime, soundIdRef, effectDirection,
// effectType, then the flags (u16); fHidden is their third bit.
struct SlideShowSlideInfoAtomLayout {
  static constexpr uint32_t kFlags = 10;
  static constexpr uint16_t kHidden = 0x0004;
};

// InteractiveInfoAtom: soundIdRef, then exHyperlinkIdRef (u32), then the
// action (u8); the action that follows a hyperlink.
struct InteractiveInfoAtomLayout {
  static constexpr uint32_t kHyperlinkId = 4;
  static constexpr uint32_t kAction = 8;
  static constexpr uint8_t kHyperlinkAction = 4;
};

// InteractiveInfo in a shape's client data, by instance: what a mouse
// click does (a mouse over is instance 1).
constexpr uint16_t kMouseClickInstance = 0;

// TextInteractiveInfoAtom: the range's first and end character (u32 each).
struct TextInteractiveInfoAtomLayout {
  static constexpr uint32_t kBegin = 0;
  static constexpr uint32_t kEnd = 4;
};

// TextHeaderAtom: the text's type (u32); title and centred title.
struct TextHeaderAtomLayout {
  static constexpr uint32_t kTextType = 0;
  static constexpr uint32_t kTitle = 0;
  static constexpr uint32_t kCenteredTitle = 6;
};

// Placement ids of OEPlaceholderAtom (extract/record_layouts.h) that hold
// a slide's title.
struct TitlePlacement {
  static constexpr uint8_t kTitle = 0x0D;
  static constexpr uint8_t kCenteredTitle = 0x0F;
  static constexpr uint8_t kVerticalTitle = 0x11;
};

}  // namespace txtppt2

#endif  // TXTPPT2_MODEL_MODEL_RECORD_TYPES_H_
