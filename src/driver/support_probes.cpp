#include "driver/support_probes.h"

#include "storage/compound_storage.h"
#include "storage/memory_lock_bytes.h"

namespace txtppt2 {

bool HasDocumentStream(IStorage* storage) {
  try {
    IStream* stream = nullptr;
    HRESULT opened = storage->OpenStream(TXTPPT2_WTEXT("PowerPoint Document"),
                                         nullptr, kStreamOpenMode, 0, &stream);
    if (stream != nullptr) stream->Release();
    // Only S_OK counts: other success codes are no promise of a stream.
    return opened == S_OK;
  } catch (...) {
    return false;
  }
}

bool IsFileSupportedW(const WCHAR* path) {
  bool supported = false;
  try {
    IStorage* storage = nullptr;
    if (StgOpenStorage(path, nullptr, kStorageOpenMode, nullptr, 0, &storage) !=
        S_OK)
      return false;
    supported = HasDocumentStream(storage);
    storage->Release();
  } catch (...) {
    // The answer reached so far stands.
  }
  return supported;
}

bool IsMemDataSupported(const BYTE* data, ULONG size) {
  bool supported = false;
  MemoryLockBytes* lockBytes = nullptr;
  try {
    lockBytes = new MemoryLockBytes(data, size);
    lockBytes->AddRef();
    IStorage* storage = nullptr;
    if (StgOpenStorageOnILockBytes(lockBytes, nullptr, kStorageOpenMode,
                                   nullptr, 0, &storage) == S_OK) {
      supported = HasDocumentStream(storage);
      storage->Release();
    }
  } catch (...) {
    // The answer reached so far stands.
  }
  // The storage has let go of its own reference: this is the last one.
  if (lockBytes != nullptr) lockBytes->Release();
  return supported;
}

}  // namespace txtppt2
