#include "extract/presentation_text_extractor.h"

#include <algorithm>
#include <memory>
#include <type_traits>

#include "extract/record_types.h"
#include "extract/text_sink.h"

namespace txtppt2 {

namespace {

// Payloads up to this size are read in one piece. A larger one is read in
// pieces into a growing buffer, so that a damaged length that promises far
// more bytes than the stream holds costs no more memory than the bytes that
// are really there: the read that meets the end throws Stream_eof first.
constexpr uint32_t kPayloadPiece = uint32_t{1} << 20;
constexpr uint32_t kSmallestPayloadBuffer = 4096;

// A reader that takes what the stream's read-ahead window holds before it
// calls the stream: the walker knows its final type, so the quick reads
// are inline and only the rare slow ones go through the interface.
class WindowedReader final : public RecordStreamReader {
 public:
  WindowedReader(RecordStreamReader& reader_, ReadAheadWindow& window_)
      : reader(reader_), window(window_) {}

  void Read(void* buffer, uint32_t count) override {
    if (!window.Read(buffer, count)) reader.Read(buffer, count);
  }
  void Skip(uint32_t count) override {
    if (!window.SkipForward(count)) reader.Skip(count);
  }
  void Seek(uint32_t position) override { reader.Seek(position); }
  uint32_t Size() override { return reader.Size(); }
  ReadAheadWindow* QuickReadWindow() override { return &window; }

 private:
  RecordStreamReader& reader;
  ReadAheadWindow& window;
};

// Reads the three fields of a record header, in order. A windowed reader
// hands over all eight bytes in one step when the read-ahead buffer holds
// them, as it does for nearly every header; otherwise, and for any other
// reader, they are three reads, and the one that meets the end of the data
// throws Stream_eof.
template <typename Reader>
inline void ReadHeader(Reader& source, uint16_t& versionAndInstance,
                       uint16_t& recType, uint32_t& recLen) {
  if constexpr (std::is_same_v<Reader, WindowedReader>) {
    unsigned char bytes[8];
    if (source.QuickReadWindow()->Read(bytes, sizeof bytes)) {
      versionAndInstance = DecodeU16(bytes);
      recType = DecodeU16(bytes + 2);
      recLen = DecodeU32(bytes + 4);
      return;
    }
  }
  ReadU16(source, versionAndInstance);
  ReadU16(source, recType);
  ReadU32(source, recLen);
}

}  // namespace

// Reads a whole payload of length bytes into the payload buffer, which is
// kept from atom to atom and grows only as far as payloads really reach.
const char* PresentationTextExtractor::ReadPayload(uint32_t length) {
  if (length <= payloadCapacity) {
    reader.Read(payload.get(), length);
    return payload.get();
  }
  // The buffer is replaced, not grown, where nothing of it is kept: never
  // below a small size, so that a run of growing atoms does not reallocate
  // each time, and a whole piece for a payload that is read in pieces.
  uint32_t fresh =
      std::min(std::max(length, kSmallestPayloadBuffer), kPayloadPiece);
  if (payloadCapacity < fresh) {
    payload.reset();
    payloadCapacity = 0;
    payload.reset(new char[fresh]);
    payloadCapacity = fresh;
  }
  if (length <= payloadCapacity) {
    reader.Read(payload.get(), length);
    return payload.get();
  }
  uint32_t filled = 0;
  while (filled < length) {
    if (filled == payloadCapacity) {
      uint32_t grown =
          payloadCapacity <= length / 2 ? payloadCapacity * 2 : length;
      std::unique_ptr<char[]> larger(new char[grown]);
      std::copy(payload.get(), payload.get() + filled, larger.get());
      payload = std::move(larger);
      payloadCapacity = grown;
    }
    uint32_t piece = std::min(payloadCapacity - filled, kPayloadPiece);
    reader.Read(payload.get() + filled, piece);
    filled += piece;
  }
  return payload.get();
}

PresentationTextExtractor::PresentationTextExtractor(
    RecordStreamReader& reader_)
    : reader(reader_) {}

void PresentationTextExtractor::Extract(NarrowOutputStream& out) { Walk(out); }

void PresentationTextExtractor::Extract(WideOutputStream& out) { Walk(out); }

template <typename Out>
void PresentationTextExtractor::Walk(Out& out) {
  if (ReadAheadWindow* window = reader.QuickReadWindow()) {
    WindowedReader windowed(reader, *window);
    WalkWith(windowed, out);
  } else {
    WalkWith(reader, out);
  }
}

template <typename Reader, typename Out>
void PresentationTextExtractor::WalkWith(Reader& source, Out& out) {
  // The rewind lies outside the end-of-data handling: its failure is a
  // storage failure and goes to the caller.
  source.Seek(0);
  try {
    for (;;) {
      uint16_t versionAndInstance;
      uint16_t recType;
      uint32_t recLen;
      ReadHeader(source, versionAndInstance, recType, recLen);
      uint16_t type = recType & kRecordTypeMask;
      if ((versionAndInstance & kRecordVersionMask) == kContainerVersion)
        OnContainer(type, out);
      else
        OnAtom(source, type, recLen, out);
    }
  } catch (const Stream_eof&) {
    // The end of the data ends the walk; what was appended stays.
  }
}

template <typename Out>
void PresentationTextExtractor::OnContainer(uint16_t type, Out& out) {
  if (type == kRtSlide) {
    if (firstSlide)
      firstSlide = false;
    else
      AppendSeparator(out);
  }
  if (type == (kOfficeArtClientTextbox & kRecordTypeMask))
    inTextContext =
        previousContainerType != (kOfficeArtClientData & kRecordTypeMask);
  else
    inTextContext = type == kRtSlideListWithText;
  previousContainerType = type;
}

template <typename Reader, typename Out>
void PresentationTextExtractor::OnAtom(Reader& source, uint16_t type,
                                       uint32_t length, Out& out) {
  if (!inTextContext) {
    source.Skip(length);
    return;
  }
  switch (type) {
    case kRtTextCharsAtom:
    case kRtCString: {
      AppendUtf16Text(out, ReadPayload(length), length);
      break;
    }
    case kRtTextBytesAtom: {
      AppendAnsiText(out, ReadPayload(length), length);
      break;
    }
    default:
      source.Skip(length);
  }
}

}  // namespace txtppt2
