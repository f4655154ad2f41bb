// RecordStreamBuilder: writes PowerPoint record streams for tests: container
// and atom headers, UTF-16 and 8-bit text atoms, and raw bytes, in the
// format's little-endian layout.
#ifndef TXTPPT2_TESTS_SUPPORT_RECORD_STREAM_BUILDER_H_
#define TXTPPT2_TESTS_SUPPORT_RECORD_STREAM_BUILDER_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace txtppt2::testing {

// The record types the test fixtures write: the containers and atoms a
// presentation is made of, with the office drawing records of its shapes.
namespace record_types {
inline constexpr uint16_t kDocument = 0x03E8;
inline constexpr uint16_t kDocumentAtom = 0x03E9;
inline constexpr uint16_t kSlide = 0x03EE;
inline constexpr uint16_t kSlideAtom = 0x03EF;
inline constexpr uint16_t kSlidePersistAtom = 0x03F3;
inline constexpr uint16_t kDrawing = 0x040C;
inline constexpr uint16_t kColorSchemeAtom = 0x07F0;
inline constexpr uint16_t kPlaceholderAtom = 0x0BC3;
inline constexpr uint16_t kTextHeaderAtom = 0x0F9F;
inline constexpr uint16_t kTextCharsAtom = 0x0FA0;
inline constexpr uint16_t kStyleTextPropAtom = 0x0FA1;
inline constexpr uint16_t kTextBytesAtom = 0x0FA8;
inline constexpr uint16_t kTextSpecialInfoAtom = 0x0FAA;
inline constexpr uint16_t kCString = 0x0FBA;
inline constexpr uint16_t kDocumentBlob = 0x0FC8;
inline constexpr uint16_t kSlideListWithText = 0x0FF0;
inline constexpr uint16_t kDrawingContainer = 0xF002;
inline constexpr uint16_t kShapeGroupContainer = 0xF003;
inline constexpr uint16_t kShapeContainer = 0xF004;
inline constexpr uint16_t kDrawingAtom = 0xF008;
inline constexpr uint16_t kShapeGroupAtom = 0xF009;
inline constexpr uint16_t kShapeAtom = 0xF00A;
inline constexpr uint16_t kShapeOptions = 0xF00B;
inline constexpr uint16_t kClientTextbox = 0xF00D;
inline constexpr uint16_t kClientAnchor = 0xF010;
inline constexpr uint16_t kClientData = 0xF011;
// A type no reader knows, for records that must be skipped.
inline constexpr uint16_t kUnknownAtom = 0x0123;
}  // namespace record_types

class RecordStreamBuilder {
 public:
  // A container header (recVer 0xF); its children are whatever follows.
  // recLen is not used by the converter; it is written as given.
  RecordStreamBuilder& Container(uint16_t type, uint32_t recLen = 0,
                                 uint16_t instance = 0);
  // An atom header (recVer 0 unless given) followed by payload.
  RecordStreamBuilder& Atom(uint16_t type, std::string_view payload,
                            uint16_t version = 0);
  // An atom header that declares recLen but with no payload written.
  RecordStreamBuilder& AtomHeader(uint16_t type, uint32_t recLen,
                                  uint16_t version = 0);
  // An RT_TextCharsAtom holding text as UTF-16LE.
  RecordStreamBuilder& TextChars(std::u16string_view text);
  // An RT_CString holding text as UTF-16LE.
  RecordStreamBuilder& CString(std::u16string_view text);
  // An RT_TextBytesAtom holding 8-bit text as given.
  RecordStreamBuilder& TextBytes(std::string_view bytes);
  RecordStreamBuilder& Raw(std::string_view bytes);

  const std::string& Bytes() const { return bytes_; }

 private:
  void Header(uint16_t versionAndInstance, uint16_t type, uint32_t recLen);

  std::string bytes_;
};

// UTF-16LE bytes of text.
std::string Utf16Le(std::u16string_view text);

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_RECORD_STREAM_BUILDER_H_
