#include "extract/stream_image.h"

#include <algorithm>

namespace txtppt2 {

namespace {

// The largest single read; the image grows by at most this much at a time.
constexpr uint32_t kLargestPiece = uint32_t{1} << 20;

}  // namespace

std::string ReadStreamImage(RecordStreamReader& reader, uint32_t limit) {
  std::string image;
  reader.Seek(0);
  // A read that meets the end tells only that fewer bytes remain, not how
  // many: the same place is read again with half the piece, down to one
  // byte, so the data's end costs a few extra reads and no more.
  uint32_t piece = std::min(limit, kLargestPiece);
  while (piece > 0 && image.size() < limit) {
    piece =
        std::min<uint32_t>(piece, limit - static_cast<uint32_t>(image.size()));
    size_t filled = image.size();
    image.resize(filled + piece);
    try {
      reader.Read(image.data() + filled, piece);
    } catch (const Stream_eof&) {
      image.resize(filled);
      reader.Seek(static_cast<uint32_t>(filled));
      piece /= 2;
    }
  }
  return image;
}

}  // namespace txtppt2
