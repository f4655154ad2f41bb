// The records the slide model reads beyond the complete text's: hyperlinks,
// comments, headers and footers, and the slide-show flags. Compared on all
// 16 bits.
#ifndef TXTPPT2_MODEL_MODEL_RECORD_TYPES_H_
#define TXTPPT2_MODEL_MODEL_RECORD_TYPES_H_

#include <cstdint>

namespace txtppt2::model_records {

constexpr uint16_t RT_SlideShowSlideInfoAtom = 0x03F9;
constexpr uint16_t RT_ExObjList = 0x0409;
constexpr uint16_t RT_ExternalHyperlinkAtom = 0x0FD3;
constexpr uint16_t RT_ExternalHyperlink = 0x0FD7;
constexpr uint16_t RT_HeadersFooters = 0x0FD9;
constexpr uint16_t RT_HeadersFootersAtom = 0x0FDA;
constexpr uint16_t RT_TextInteractiveInfoAtom = 0x0FDF;
constexpr uint16_t RT_InteractiveInfo = 0x0FF2;
constexpr uint16_t RT_InteractiveInfoAtom = 0x0FF3;
constexpr uint16_t RT_ProgTags = 0x1388;
constexpr uint16_t RT_ProgBinaryTag = 0x138A;
constexpr uint16_t RT_BinaryTagDataBlob = 0x138B;
constexpr uint16_t RT_Comment10 = 0x2EE0;
constexpr uint16_t RT_Comment10Atom = 0x2EE1;

// RT_CString instances inside an ExternalHyperlink container.
constexpr uint16_t kHyperlinkFriendlyNameInstance = 0;
constexpr uint16_t kHyperlinkTargetInstance = 1;
constexpr uint16_t kHyperlinkLocationInstance = 3;
// Inside a Comment10 container.
constexpr uint16_t kCommentAuthorInstance = 0;
constexpr uint16_t kCommentTextInstance = 1;
constexpr uint16_t kCommentInitialsInstance = 2;
// Inside a HeadersFooters container.
constexpr uint16_t kUserDateInstance = 0;
constexpr uint16_t kHeaderInstance = 1;
constexpr uint16_t kFooterInstance = 2;
// The document's own HeadersFooters containers: slides' and notes pages'.
constexpr uint16_t kSlideHeadersFootersInstance = 3;
constexpr uint16_t kNotesHeadersFootersInstance = 4;

// HeadersFootersAtom body: formatId (16 bits), then the flags.
constexpr uint32_t kHeadersFootersFlagsField = 2;
constexpr uint16_t kHasDate = 0x0001;
constexpr uint16_t kHasUserDate = 0x0004;
constexpr uint16_t kHasHeader = 0x0010;
constexpr uint16_t kHasFooter = 0x0020;

// SlideShowSlideInfoAtom body: slideTime, soundIdRef, effectDirection,
// effectType, then the flags; fHidden is their third bit.
constexpr uint32_t kSlideShowFlagsField = 10;
constexpr uint16_t kSlideHidden = 0x0004;

// SlideAtom body: geometry, placeholder types, then masterIdRef.
constexpr uint32_t kMasterIdField = 12;

// InteractiveInfoAtom body: soundIdRef, then exHyperlinkIdRef.
constexpr uint32_t kHyperlinkIdField = 4;
// TextInteractiveInfoAtom body: the range's first and end character.
constexpr uint32_t kRangeBeginField = 0;
constexpr uint32_t kRangeEndField = 4;

// Comment10Atom body: index, then the creation time as a SYSTEMTIME (year,
// month, day of week, day, hour, minute, second, milliseconds).
constexpr uint32_t kCommentTimeField = 4;
constexpr uint32_t kSystemTimeSize = 16;

// OEPlaceholderAtom body: position, then the placeholder type, one byte.
constexpr uint32_t kPlaceholderTypeField = 4;
constexpr uint8_t kTitlePlaceholder = 0x0D;
constexpr uint8_t kCenteredTitlePlaceholder = 0x0F;
constexpr uint8_t kVerticalTitlePlaceholder = 0x11;
// TextHeaderAtom body: the text type; title and centred title.
constexpr uint32_t kTitleTextType = 0;
constexpr uint32_t kCenteredTitleTextType = 6;

}  // namespace txtppt2::model_records

#endif  // TXTPPT2_MODEL_MODEL_RECORD_TYPES_H_
