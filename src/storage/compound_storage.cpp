#include "storage/compound_storage.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "storage/check_storage_result.h"
#include "storage/memory_lock_bytes.h"

namespace txtppt2 {

namespace {

// The size of the file at path, or 0 when it cannot be told (a name the
// standard library cannot represent, a file gone since it was opened).
uint64_t FileSizeOrUnknown(const WCHAR* path) {
  try {
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(
        std::filesystem::path(std::basic_string<WCHAR>(path)), error);
    return error ? 0 : size;
  } catch (...) {
    return 0;
  }
}

}  // namespace

CompoundStorage::CompoundStorage(const WCHAR* path) {
  CheckStorageResult(
      StgOpenStorage(path, nullptr, kStorageOpenMode, nullptr, 0, &storage));
  sourceSize = FileSizeOrUnknown(path);
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

CompoundStorage::CompoundStorage(IStorage* opened) : storage(opened) {}

CompoundStorage::~CompoundStorage() {
  if (storage != nullptr) storage->Release();
}

void CompoundStorage::OpenStream(const WCHAR* name, StorageStream** out) {
  auto stream = std::make_unique<StorageStream>();
  CheckStorageResult(storage->OpenStream(name, nullptr, kStreamOpenMode, 0,
                                         stream->StreamSlot()));
  stream->StreamOpened();
  *out = stream.release();
}

std::unique_ptr<StorageStream> CompoundStorage::OpenOptionalStream(
    const WCHAR* name) {
  StorageStream* opened = nullptr;
  try {
    OpenStream(name, &opened);
  } catch (const std::runtime_error&) {
    return nullptr;
  }
  return std::unique_ptr<StorageStream>(opened);
}

std::unique_ptr<CompoundStorage> CompoundStorage::OpenStorage(
    const WCHAR* name) {
  IStorage* opened = nullptr;
  if (FAILED(storage->OpenStorage(name, nullptr, kStreamOpenMode, nullptr, 0,
                                  &opened)) ||
      opened == nullptr)
    return nullptr;
  std::unique_ptr<CompoundStorage> child;
  try {
    child = std::make_unique<CompoundStorage>(opened);
  } catch (...) {
    opened->Release();
    throw;
  }
  child->sourceSize = sourceSize;
  return child;
}

}  // namespace txtppt2
