// InputBytes: the bytes of one input, as classification reads them: a block
// of memory, or a file read with positioned reads, so that looking at a
// large deck reads its header, directory and document streams, not its
// pictures. A file that is not a regular file (a pipe) is read whole into
// memory once, since it cannot be read twice.
//
// Owns the file descriptor (shared with the byte sources it makes, which
// may outlive it) or the bytes it read; borrows a caller's memory block.
#ifndef TXTPPT2_IDENTIFY_INPUT_BYTES_H_
#define TXTPPT2_IDENTIFY_INPUT_BYTES_H_

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/compound_file/byte_source.h"

namespace txtppt2 {

class InputBytes {
 public:
  explicit InputBytes(std::span<const uint8_t> memory_) : memory(memory_) {}

  // Opens path (file system bytes); on failure *error is the errno value
  // (EISDIR for a folder, EFBIG from 4 GiB on: the converter counts a
  // file's bytes in 32 bits).
  static std::unique_ptr<InputBytes> Open(const char* path, int* error);

  uint64_t Size() const;
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) const;
  // A new source over the same bytes, for the compound file reader.
  std::unique_ptr<ByteSource> NewSource() const;
  // The bytes, when they are in memory; empty for a file read in place.
  std::span<const uint8_t> Memory() const { return memory; }
  // All the bytes, copied; false when the file reads short.
  bool CopyAll(std::vector<uint8_t>* out) const;

  // An open file, closed with the last InputBytes or source sharing it.
  struct Descriptor;

 private:
  InputBytes() = default;

  std::span<const uint8_t> memory;
  std::vector<uint8_t> readWhole;  // a pipe's bytes; memory points here
  std::shared_ptr<Descriptor> descriptor;
  uint64_t fileSize{};
};

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_INPUT_BYTES_H_
