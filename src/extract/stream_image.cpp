#include "extract/stream_image.h"

#include <algorithm>

namespace txtppt2 {

StreamImage::StreamImage(RecordStreamReader& reader, uint32_t limit) {
  limit = std::min(limit, reader.Size());
  data.reset(new char[std::max<uint32_t>(limit, 1)]);
  reader.Seek(0);
  // One read takes a sound stream whole. A read that meets the end tells
  // only that fewer bytes remain, not how many: the same place is read
  // again with half the piece, down to one byte, so a stream cut short
  // costs a few dozen extra reads and no more.
  uint32_t piece = limit;
  while (piece > 0 && size < limit) {
    piece = std::min(piece, limit - size);
    try {
      reader.Read(data.get() + size, piece);
      size += piece;
    } catch (const Stream_eof&) {
      reader.Seek(size);
      piece /= 2;
    }
  }
}

}  // namespace txtppt2
