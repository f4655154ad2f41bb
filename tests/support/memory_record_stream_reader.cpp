#include "support/memory_record_stream_reader.h"

#include <cstring>

namespace txtppt2 {

MemoryRecordStreamReader::MemoryRecordStreamReader(const void* data,
                                                   uint32_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(size) {}

void MemoryRecordStreamReader::Read(void* buffer, uint32_t count) {
  if (count == 0) return;
  if (position_ >= size_ || size_ - position_ < count) {
    // A short read consumes what it could, as a platform stream does.
    position_ = size_;
    throw Stream_eof();
  }
  std::memcpy(buffer, data_ + position_, count);
  position_ += count;
}

void MemoryRecordStreamReader::Skip(uint32_t count) { position_ += count; }

void MemoryRecordStreamReader::Seek(uint32_t position) {
  position_ = position;
}

uint32_t MemoryRecordStreamReader::Size() { return size_; }

}  // namespace txtppt2
