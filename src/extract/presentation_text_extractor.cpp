#include "extract/presentation_text_extractor.h"

#include <algorithm>
#include <memory>

#include "extract/record_types.h"
#include "extract/text_sink.h"

namespace txtppt2 {

namespace {

// Payloads up to this size are read in one piece. A larger one is read in
// pieces into a growing buffer, so that a damaged length that promises far
// more bytes than the stream holds costs no more memory than the bytes that
// are really there: the read that meets the end throws Stream_eof first.
constexpr uint32_t kPayloadPiece = uint32_t{1} << 20;

// Reads a whole payload of length bytes into a buffer of exactly that size.
std::unique_ptr<char[]> ReadPayload(RecordStreamReader& reader,
                                    uint32_t length) {
  if (length <= kPayloadPiece) {
    std::unique_ptr<char[]> buffer(new char[length == 0 ? 1 : length]);
    reader.Read(buffer.get(), length);
    return buffer;
  }
  std::unique_ptr<char[]> buffer(new char[kPayloadPiece]);
  uint32_t capacity = kPayloadPiece;
  uint32_t filled = 0;
  while (filled < length) {
    if (filled == capacity) {
      uint32_t grown = capacity <= length / 2 ? capacity * 2 : length;
      std::unique_ptr<char[]> larger(new char[grown]);
      std::copy(buffer.get(), buffer.get() + filled, larger.get());
      buffer = std::move(larger);
      capacity = grown;
    }
    uint32_t piece = std::min(capacity - filled, kPayloadPiece);
    reader.Read(buffer.get() + filled, piece);
    filled += piece;
  }
  return buffer;
}

}  // namespace

PresentationTextExtractor::PresentationTextExtractor(
    RecordStreamReader& reader_)
    : reader(reader_) {}

void PresentationTextExtractor::Extract(NarrowOutputStream& out) { Walk(out); }

void PresentationTextExtractor::Extract(WideOutputStream& out) { Walk(out); }

template <typename Out>
void PresentationTextExtractor::Walk(Out& out) {
  // The rewind lies outside the end-of-data handling: its failure is a
  // storage failure and goes to the caller.
  reader.Seek(0);
  try {
    for (;;) {
      uint16_t versionAndInstance;
      uint16_t recType;
      uint32_t recLen;
      ReadU16(reader, versionAndInstance);
      ReadU16(reader, recType);
      ReadU32(reader, recLen);
      uint16_t type = recType & kRecordTypeMask;
      if ((versionAndInstance & kRecordVersionMask) == kContainerVersion)
        OnContainer(type, out);
      else
        OnAtom(type, recLen, out);
    }
  } catch (const Stream_eof&) {
    // The end of the data ends the walk; what was appended stays.
  }
}

template <typename Out>
void PresentationTextExtractor::OnContainer(uint16_t type, Out& out) {
  if (type == RT_Slide) {
    if (firstSlide)
      firstSlide = false;
    else
      TextSink::AppendSeparator(out);
  }
  if (type == kClientTextboxMasked)
    inTextContext = previousContainerType != kClientDataMasked;
  else
    inTextContext = type == RT_SlideListWithText;
  previousContainerType = type;
}

template <typename Out>
void PresentationTextExtractor::OnAtom(uint16_t type, uint32_t length,
                                       Out& out) {
  if (!inTextContext) {
    reader.Skip(length);
    return;
  }
  switch (type) {
    case RT_TextCharsAtom:
    case RT_CString: {
      auto payload = ReadPayload(reader, length);
      TextSink::AppendUtf16Text(out, payload.get(), length);
      break;
    }
    case RT_TextBytesAtom: {
      auto payload = ReadPayload(reader, length);
      TextSink::AppendAnsiText(out, payload.get(), length);
      break;
    }
    default:
      reader.Skip(length);
  }
}

}  // namespace txtppt2
