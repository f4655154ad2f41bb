// CompoundStorage: the opened compound file of one conversion, from a path
// or from a block of memory, and the opening of its streams.
//
// Owns one reference to the root IStorage, released by the destructor.
// Streams opened through it must be deleted first. For memory input the
// block must stay valid and unchanged until the storage is destroyed.
#ifndef TXTPPT2_STORAGE_COMPOUND_STORAGE_H_
#define TXTPPT2_STORAGE_COMPOUND_STORAGE_H_

#include <cstdint>
#include <memory>

#include "platform/windows.h"
#include "storage/storage_stream.h"

namespace txtppt2 {

// The whole mode words passed to the platform: read-only, direct.
constexpr DWORD kStorageOpenMode = STGM_READ | STGM_SHARE_DENY_WRITE;  // 0x20
constexpr DWORD kStreamOpenMode = STGM_READ | STGM_SHARE_EXCLUSIVE;    // 0x10

class CompoundStorage {
 public:
  // Open the compound file or throw std::runtime_error with the message of
  // the platform's failure.
  explicit CompoundStorage(const WCHAR* path);
  CompoundStorage(const BYTE* data, ULONG size);
  // Takes over one reference to a storage the caller has already opened.
  explicit CompoundStorage(IStorage* opened);
  ~CompoundStorage();
  CompoundStorage(const CompoundStorage&) = delete;
  CompoundStorage& operator=(const CompoundStorage&) = delete;

  // Opens the named stream among the root's children; the caller owns and
  // deletes *out. Throws std::runtime_error when it cannot be opened, and
  // then leaves *out alone.
  void OpenStream(const WCHAR* name, StorageStream** out);
  // The same, for a stream that may be missing: null where it cannot be
  // opened, for whatever reason.
  std::unique_ptr<StorageStream> OpenOptionalStream(const WCHAR* name);

  // Opens the named storage among the root's children; null when it cannot
  // be opened (a storage that is not there is the usual case, so it is not
  // thrown on). The result must be destroyed before this storage.
  std::unique_ptr<CompoundStorage> OpenStorage(const WCHAR* name);

  // An upper bound on the bytes any stream of this file can hold: the size
  // of the file or of the memory block; 0 when it is not known. Lets callers
  // size buffers by what exists rather than by what a damaged file declares.
  uint64_t SourceSize() const { return sourceSize; }

 private:
  IStorage* storage = nullptr;
  uint64_t sourceSize{};
};

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_COMPOUND_STORAGE_H_
