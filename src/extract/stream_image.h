// StreamImage: the bytes of a whole stream, held in memory, for walks that
// follow offsets back and forth (the persist directory's, say).
//
// Memory follows the bytes really present, never more than the limit the
// caller sets from what the file can hold: a stream whose chain ends early
// gives what it holds.
#ifndef TXTPPT2_EXTRACT_STREAM_IMAGE_H_
#define TXTPPT2_EXTRACT_STREAM_IMAGE_H_

#include <cstdint>
#include <memory>
#include <string_view>

#include "storage/record_stream_reader.h"

namespace txtppt2 {

class StreamImage {
 public:
  // Reads from the start up to limit bytes and no more than the stream
  // declares, or to the end of the data when that comes first. Throws whatever
  // the reader throws other than the end of the data (storage errors, an
  // exhausted allocation).
  StreamImage(RecordStreamReader& reader, uint32_t limit);

  std::string_view Bytes() const { return {data.get(), size}; }

 private:
  std::unique_ptr<char[]> data;
  uint32_t size{};
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_STREAM_IMAGE_H_
