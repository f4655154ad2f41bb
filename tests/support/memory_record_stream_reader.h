// MemoryRecordStreamReader: a RecordStreamReader over bytes already in
// memory, for tests that feed the walker a stream directly. It keeps
// the reader's contract exactly: short reads throw Stream_eof, skips past
// the end are allowed, and it never fails otherwise.
//
// The bytes are not copied: they must outlive the reader.
#ifndef TXTPPT2_TESTS_SUPPORT_MEMORY_RECORD_STREAM_READER_H_
#define TXTPPT2_TESTS_SUPPORT_MEMORY_RECORD_STREAM_READER_H_

#include <cstddef>
#include <cstdint>

#include "storage/record_stream_reader.h"

namespace txtppt2 {

class MemoryRecordStreamReader final : public RecordStreamReader {
 public:
  // size is taken as a 32-bit stream length, as a compound file stream's.
  MemoryRecordStreamReader(const void* data, uint32_t size);

  void Read(void* buffer, uint32_t count) override;
  void Skip(uint32_t count) override;
  void Seek(uint32_t position) override;
  uint32_t Size() override;

 private:
  const unsigned char* data_;
  uint32_t size_;
  // 64 bits wide so that skips past the end never wrap around.
  uint64_t position_ = 0;
};

}  // namespace txtppt2

#endif  // TXTPPT2_TESTS_SUPPORT_MEMORY_RECORD_STREAM_READER_H_
