// LockBytesByteSource: a compound file read through a host's ILockBytes,
// using only its ReadAt and Stat.
//
// Holds one reference to the ILockBytes from construction to destruction.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_LOCK_BYTES_BYTE_SOURCE_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_LOCK_BYTES_BYTE_SOURCE_H_

#include <memory>

#include "platform/windows.h"
#include "platform/compound_file/byte_source.h"

namespace txtppt2 {

class LockBytesByteSource final : public ByteSource {
 public:
  // Asks lockBytes for its size. On failure *out stays empty and the result
  // is what Stat answered.
  static HRESULT Open(ILockBytes* lockBytes, std::unique_ptr<ByteSource>* out);

  ~LockBytesByteSource() override;

  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

 private:
  LockBytesByteSource(ILockBytes* lockBytes, uint64_t size);

  ILockBytes* lockBytes;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_LOCK_BYTES_BYTE_SOURCE_H_
