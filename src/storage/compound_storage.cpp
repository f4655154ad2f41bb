#include "storage/compound_storage.h"

#include <cstring>
#include <memory>

#include "storage/check_storage_result.h"
#include "storage/memory_lock_bytes.h"

namespace txtppt2 {

namespace {

// The size the root storage reports for itself, which our reader sets to
// the file's size; 0 when the platform does not say.
uint64_t ReportedSize(IStorage* storage) {
  STATSTG stat;
  std::memset(&stat, 0, sizeof stat);
  if (storage->Stat(&stat, STATFLAG_NONAME) != S_OK) return 0;
  return stat.cbSize.QuadPart;
}

}  // namespace

CompoundStorage::CompoundStorage(const WCHAR* path) {
  CheckStorageResult(StgOpenStorage(path, nullptr, kStorageOpenMode, nullptr,
                                    0, &storage));
  sourceSize = ReportedSize(storage);
}

CompoundStorage::CompoundStorage(const BYTE* data, ULONG size)
    : sourceSize(size) {
  auto* lockBytes = new MemoryLockBytes(data, size);
  lockBytes->AddRef();
  HRESULT result = StgOpenStorageOnILockBytes(
      lockBytes, nullptr, kStorageOpenMode, nullptr, 0, &storage);
  // The storage holds its own reference while it is open; without one the
  // lock-bytes goes here.
  lockBytes->Release();
  CheckStorageResult(result);
}

CompoundStorage::CompoundStorage(IStorage* opened)
    : storage(opened), sourceSize(ReportedSize(opened)) {}

CompoundStorage::~CompoundStorage() {
  if (storage != nullptr) storage->Release();
}

void CompoundStorage::OpenStream(const WCHAR* name, StorageStream** out) {
  auto stream = std::make_unique<StorageStream>();
  CheckStorageResult(storage->OpenStream(name, nullptr, kStreamOpenMode, 0,
                                         stream->StreamSlot()));
  *out = stream.release();
}

}  // namespace txtppt2

