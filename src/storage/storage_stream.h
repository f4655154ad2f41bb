// StorageStream: the RecordStreamReader over a stream of an opened compound
// file. It keeps no buffer and no position of its own: every call goes to
// the platform stream, whose seek pointer is the read position.
//
// Owns one reference to its IStream, released by the destructor; it must
// be destroyed before the storage that opened it.
#ifndef TXTPPT2_STORAGE_STORAGE_STREAM_H_
#define TXTPPT2_STORAGE_STORAGE_STREAM_H_

#include "platform/windows.h"
#include "storage/record_stream_reader.h"

namespace txtppt2 {

class StorageStream final : public RecordStreamReader {
 public:
  StorageStream() = default;
  ~StorageStream() override;
  StorageStream(const StorageStream&) = delete;
  StorageStream& operator=(const StorageStream&) = delete;

  void Read(void* buffer, uint32_t count) override;
  void Skip(uint32_t count) override;
  void Seek(uint32_t position) override;
  uint32_t Size() override;

  // Where the platform puts the opened stream; the object owns it from then.
  IStream** StreamSlot() { return &stream; }

 private:
  IStream* stream = nullptr;
};

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_STORAGE_STREAM_H_
