// FileByteSource: a file opened read-only and read with pread, never mapped,
// so that a file cut short while it is open reads short instead of faulting.
//
// Owns the file descriptor and closes it when destroyed.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_FILE_BYTE_SOURCE_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_FILE_BYTE_SOURCE_H_

#include <memory>

#include "platform/windows.h"
#include "platform/compound_file/byte_source.h"

namespace txtppt2 {

class FileByteSource final : public ByteSource {
 public:
  // Opens path (file system bytes) for reading. On failure *out stays empty
  // and the result is the storage code for the error (see
  // ResultForOpenError); a folder is refused with STG_E_ACCESSDENIED.
  static HRESULT Open(const char* path, std::unique_ptr<ByteSource>* out);

  ~FileByteSource() override;

  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

 private:
  FileByteSource(int fd, uint64_t size);

  int fd;
};

// The storage result code for an open(2) failure with errorNumber on path.
// ENOENT is told apart by the folder the file would be in: when that folder
// exists the file is missing, otherwise the path is.
HRESULT ResultForOpenError(int errorNumber, const char* path);

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_FILE_BYTE_SOURCE_H_
