// PresentationTextExtractor: walks the "PowerPoint Document" stream as one
// flat run of record headers and hands the slide text to the text sink.
//
// Design note. The walker keeps no stack: it steps into every container and
// never uses a container's length, so a container's effect on the text
// context lasts until the next container header at any depth. Which text
// atoms count is decided by the type of the last container header alone:
// a slide list turns text context on, a text box turns it on unless it
// follows client data directly, and every other container turns it off.
// Record types are compared on their low 12 bits, so the office drawing
// types 0xF00D and 0xF011 count as 13 and 17. No field is validated; the
// walk ends when a read meets the end of the stream.
//
// The reader is borrowed, not owned: it must outlive the extractor.
#ifndef TXTPPT2_EXTRACT_PRESENTATION_TEXT_EXTRACTOR_H_
#define TXTPPT2_EXTRACT_PRESENTATION_TEXT_EXTRACTOR_H_

#include <cstdint>
#include <memory>

#include "extract/output_text_stream.h"
#include "storage/record_stream_reader.h"

namespace txtppt2 {

class PresentationTextExtractor {
 public:
  explicit PresentationTextExtractor(RecordStreamReader& reader);
  PresentationTextExtractor(const PresentationTextExtractor&) = delete;
  PresentationTextExtractor& operator=(const PresentationTextExtractor&) =
      delete;

  // Walks the whole stream from its first byte and appends the text to out.
  // Returns normally at the end of the stream; every failure other than the
  // end of the data (a storage error, an exhausted allocation) is thrown on.
  void Extract(NarrowOutputStream& out);
  void Extract(WideOutputStream& out);

 private:
  // Walk picks the reader's type for WalkWith: the library's own
  // StorageStream by name, so that its calls are direct and inlined into
  // the loop (the walk is mostly header reads and skips), any other reader
  // through the interface.
  template <typename Out>
  void Walk(Out& out);
  template <typename Reader, typename Out>
  void WalkWith(Reader& source, Out& out);
  template <typename Out>
  void OnContainer(uint16_t type, Out& out);
  template <typename Reader, typename Out>
  void OnAtom(Reader& source, uint16_t type, uint32_t length, Out& out);

  const char* ReadPayload(uint32_t length);

  RecordStreamReader& reader;
  // The payload of the text atom in hand, reused for the next.
  std::unique_ptr<char[]> payload;
  uint32_t payloadCapacity{};
  uint16_t previousContainerType{};
  bool inTextContext = false;
  bool firstSlide = true;
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_PRESENTATION_TEXT_EXTRACTOR_H_
