// RecordStreamBuilder: writes PowerPoint record streams for tests: container
// and atom headers, UTF-16 and 8-bit text atoms, and raw bytes, in the
// format's little-endian layout.
#ifndef TXTPPT2_TESTS_SUPPORT_RECORD_STREAM_BUILDER_H_
#define TXTPPT2_TESTS_SUPPORT_RECORD_STREAM_BUILDER_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace txtppt2::testing {

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
