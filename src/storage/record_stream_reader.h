// RecordStreamReader: the interface through which the record walker reads
// the "PowerPoint Document" stream, free of any platform type.
//
// Contract: the position is the underlying stream's own read position.
// Read delivers exactly the bytes asked for or throws Stream_eof (the end
// of the data, not an error); any other failure of the underlying stream
// throws std::runtime_error with a message saying what went wrong. An
// exception leaves the reader whole, but nobody reads on after one other
// than Stream_eof.
#ifndef TXTPPT2_STORAGE_RECORD_STREAM_READER_H_
#define TXTPPT2_STORAGE_RECORD_STREAM_READER_H_

#include <cstdint>
#include <stdexcept>
#include <type_traits>

#include "platform/read_ahead_window.h"

namespace txtppt2 {

// Thrown by the first read that cannot deliver every byte asked for.
class Stream_eof : public std::runtime_error {
 public:
  Stream_eof() : std::runtime_error("End of file reached") {}
};

class RecordStreamReader {
 public:
  virtual ~RecordStreamReader() = default;

  // Puts exactly count bytes into buffer and advances by count; throws
  // Stream_eof where fewer remain. A count of 0 never throws.
  virtual void Read(void* buffer, uint32_t count) = 0;
  // Moves forward by count bytes, never backward. Moving past the end is not
  // an error: the next Read throws Stream_eof.
  virtual void Skip(uint32_t count) = 0;
  // Moves to position bytes from the start.
  virtual void Seek(uint32_t position) = 0;
  // The stream's length in bytes, UINT32_MAX for a longer stream; the
  // position does not change.
  virtual uint32_t Size() = 0;
  // The underlying stream's read-ahead window, where it offers one: a
  // reader of many small fields takes them from it first, and calls Read
  // and Skip only where it answers false. Null by default.
  virtual ReadAheadWindow* QuickReadWindow() { return nullptr; }
};

// The little-endian values at bytes; the first byte is the least
// significant.
inline uint16_t DecodeU16(const unsigned char* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline uint32_t DecodeU32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) |
         (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) |
         (static_cast<uint32_t>(bytes[3]) << 24);
}

// Read little-endian values through any reader; the first byte is the least
// significant. Inline, and templates over the reader's own type: the walker
// reads three per record, and when it knows its reader's final type the
// read is a direct call that can be inlined too.
template <typename Reader>
inline Reader& ReadU16(Reader& reader, uint16_t& value) {
  static_assert(std::is_base_of_v<RecordStreamReader, Reader>);
  unsigned char bytes[2];
  reader.Read(bytes, sizeof bytes);
  value = DecodeU16(bytes);
  return reader;
}

template <typename Reader>
inline Reader& ReadU32(Reader& reader, uint32_t& value) {
  static_assert(std::is_base_of_v<RecordStreamReader, Reader>);
  unsigned char bytes[4];
  reader.Read(bytes, sizeof bytes);
  value = DecodeU32(bytes);
  return reader;
}

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_RECORD_STREAM_READER_H_
