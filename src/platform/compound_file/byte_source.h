// ByteSource: where the compound file reader gets a file's bytes, a file
// descriptor or a host's ILockBytes. Reads are positioned and never move a
// shared offset, so every object reading one file can share one source.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_BYTE_SOURCE_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_BYTE_SOURCE_H_

#include <cstddef>
#include <cstdint>

namespace txtppt2 {

class ByteSource {
 public:
  explicit ByteSource(uint64_t size_) : size(size_) {}
  virtual ~ByteSource() = default;
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;

  // The size of the data when the source was opened. The reader judges
  // every sector number against it.
  uint64_t Size() const { return size; }

  // Copies up to count bytes at offset into buffer and returns how many it
  // copied: fewer at the end of the data or where the medium fails (a file
  // cut short by another process reads short; it never faults).
  virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) = 0;

 private:
  uint64_t size;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_BYTE_SOURCE_H_
