// StorageStream: the RecordStreamReader over a stream of an opened compound
// file. It keeps no buffer and no position of its own: every call goes to
// the platform stream, whose seek pointer is the read position. Where that
// stream is the library's own compound-file stream (POSIX), reads its
// read-ahead buffer already holds and forward skips are taken from it
// directly, without the call through the interface; its position is still
// the only one.
//
// Owns one reference to its IStream, released by the destructor; it must
// be destroyed before the storage that opened it.
#ifndef TXTPPT2_STORAGE_STORAGE_STREAM_H_
#define TXTPPT2_STORAGE_STORAGE_STREAM_H_

#include "platform/windows.h"
#include "storage/record_stream_reader.h"
#ifndef _WIN32
#include "platform/compound_file/docfile_stream.h"
#endif

namespace txtppt2 {

class StorageStream final : public RecordStreamReader {
 public:
  StorageStream() = default;
  ~StorageStream() override;
  StorageStream(const StorageStream&) = delete;
  StorageStream& operator=(const StorageStream&) = delete;

  void Read(void* buffer, uint32_t count) override {
    if (!ReadIfBuffered(buffer, count)) ReadThroughStream(buffer, count);
  }
  void Skip(uint32_t count) override {
#ifndef _WIN32
    if (docfile != nullptr && docfile->SkipForward(count)) return;
#endif
    SkipThroughStream(count);
  }
  // Reads count bytes only where the library's own stream can hand them
  // over without a call through the interface; false, with nothing read or
  // moved, otherwise (always on Windows).
  bool ReadIfBuffered(void* buffer, uint32_t count) {
#ifndef _WIN32
    return docfile != nullptr && docfile->ReadBuffered(buffer, count);
#else
    (void)buffer;
    (void)count;
    return false;
#endif
  }
  void Seek(uint32_t position) override;
  uint32_t Size() override;

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
#ifndef _WIN32
  DocfileStream* docfile = nullptr;  // the same object as stream, or null
#endif
};

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_STORAGE_STREAM_H_
