// StorageStream: the RecordStreamReader over a stream of an opened compound
// file. It keeps no buffer and no position of its own: every call goes to
// the platform stream, whose seek pointer is the read position. Where that
// stream offers its read-ahead window (IReadAheadStream, as the library's
// own compound-file streams do), reads the buffer already holds and forward
// skips are taken from it directly, without the call through the
// interface; the stream's position is still the only one.
//
// Owns one reference to its IStream, released by the destructor; it must
// be destroyed before the storage that opened it.
#ifndef TXTPPT2_STORAGE_STORAGE_STREAM_H_
#define TXTPPT2_STORAGE_STORAGE_STREAM_H_

#include "platform/read_ahead_window.h"
#include "platform/windows.h"
#include "storage/record_stream_reader.h"

namespace txtppt2 {

class StorageStream final : public RecordStreamReader {
 public:
  StorageStream() = default;
  ~StorageStream() override;
  StorageStream(const StorageStream&) = delete;
  StorageStream& operator=(const StorageStream&) = delete;

  void Read(void* buffer, uint32_t count) override {
    if (window == nullptr || !window->Read(buffer, count))
      ReadThroughStream(buffer, count);
  }
  void Skip(uint32_t count) override {
    if (window == nullptr || !window->SkipForward(count))
      SkipThroughStream(count);
  }
  void Seek(uint32_t position) override;
  uint32_t Size() override;
  ReadAheadWindow* QuickReadWindow() override { return window; }

  // Where the platform puts the opened stream; the object owns it from then.
  IStream** StreamSlot() { return &stream; }
  // To be called once the platform has put the stream in its slot.
  void StreamOpened();

 private:
  // Read and Skip through the IStream interface. Out of line, so that the
  // quick paths above stay small.
  [[gnu::noinline]] void ReadThroughStream(void* buffer, uint32_t count);
  [[gnu::noinline]] void SkipThroughStream(uint32_t count);

  IStream* stream = nullptr;
  // The stream's read-ahead window (IReadAheadStream), or null.
  ReadAheadWindow* window = nullptr;
};

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_STORAGE_STREAM_H_
