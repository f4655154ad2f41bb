#include "identify/salvaged_text.h"

#include <algorithm>

#include "platform/compound_file/little_endian.h"

namespace txtppt2 {
namespace {

constexpr size_t kRecordHeaderBytes = 8;
constexpr uint16_t kContainerVersion = 0xF;
constexpr uint16_t kTextCharsAtomType = 0x0FA0;
constexpr uint16_t kTextBytesAtomType = 0x0FA8;

void AppendPiece(std::u16string_view piece, std::u16string* text) {
  for (char16_t unit : piece) {
    if (unit == 0) break;
    if (unit == u'\r' || unit == u'\v')
      *text += u"\r\n";
    else
      text->push_back(unit);
  }
  *text += u"\r\n";
}

}  // namespace

std::u16string SalvagedText(std::span<const uint8_t> document) {
  std::u16string text;
  std::u16string piece;
  size_t at = 0;
  while (document.size() - at >= kRecordHeaderBytes) {
    const uint16_t versionAndInstance =
        LoadLittleEndian<uint16_t>(document, at);
    const uint16_t type = LoadLittleEndian<uint16_t>(document, at + 2);
    const uint64_t declared = LoadLittleEndian<uint32_t>(document, at + 4);
    const size_t body = at + kRecordHeaderBytes;
    const size_t length = static_cast<size_t>(
        std::min<uint64_t>(declared, document.size() - body));
    if ((versionAndInstance & 0xF) == kContainerVersion) {
      at = body;  // into the container: its children follow its header
      continue;
    }
    piece.clear();
    if (type == kTextCharsAtomType) {
      for (size_t i = 0; i + 1 < length; i += 2)
        piece.push_back(static_cast<char16_t>(
            LoadLittleEndian<uint16_t>(document, body + i)));
      AppendPiece(piece, &text);
    } else if (type == kTextBytesAtomType) {
      // The low bytes of UTF-16 units whose high bytes are all zero.
      for (size_t i = 0; i < length; ++i) piece.push_back(document[body + i]);
      AppendPiece(piece, &text);
    }
    at = body + length;
  }
  return text;
}

}  // namespace txtppt2
