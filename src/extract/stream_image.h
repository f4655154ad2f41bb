// ReadStreamImage: the bytes of a whole stream, held in memory, for walks
// that follow offsets back and forth (the persist directory's, say).
//
// Memory follows the bytes really present, never the size the stream
// declares: a stream whose chain ends early gives what it holds.
#ifndef TXTPPT2_EXTRACT_STREAM_IMAGE_H_
#define TXTPPT2_EXTRACT_STREAM_IMAGE_H_

#include <cstdint>
#include <string>

#include "storage/record_stream_reader.h"

namespace txtppt2 {

// Reads from the start up to limit bytes, or to the end of the data when
// that comes first. Throws whatever the reader throws other than the end of
// the data (storage errors, an exhausted allocation).
std::string ReadStreamImage(RecordStreamReader& reader, uint32_t limit);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_STREAM_IMAGE_H_
