// StgOpenStorage and StgOpenStorageOnILockBytes for POSIX: both open the
// compound file read-only through our own reader, whatever the mode asks.
// The priority storage, the exclusions and the reserved word are not used.
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "platform/windows.h"
#include "platform/compound_file/compound_file.h"
#include "platform/compound_file/docfile_storage.h"
#include "platform/compound_file/file_byte_source.h"
#include "platform/compound_file/lock_bytes_byte_source.h"

namespace txtppt2 {
namespace {

HRESULT OpenRootStorage(std::unique_ptr<ByteSource> source, IStorage** out) {
  std::shared_ptr<CompoundFile> file;
  HRESULT hr = CompoundFile::Open(std::move(source), &file);
  if (FAILED(hr)) return hr;
  auto* storage = new DocfileStorage(std::move(file));
  storage->AddRef();
  *out = storage;
  return S_OK;
}

}  // namespace
}  // namespace txtppt2

HRESULT StgOpenStorage(const WCHAR* pwcsName, IStorage*, DWORD, SNB, DWORD,
                       IStorage** ppstgOpen) {
  using namespace txtppt2;
  if (ppstgOpen == nullptr) return STG_E_INVALIDPOINTER;
  *ppstgOpen = nullptr;
  if (pwcsName == nullptr) return STG_E_INVALIDNAME;
  try {
    // Back to the file system's bytes. Only a unit that no byte string can
    // produce fails here (a surrogate outside the escape range, unpaired);
    // no file can have such a name, so the file is reported missing, as for
    // any other name that is not there. Which folder on the way it would
    // concern cannot be told.
    int length = WideCharToMultiByte(CP_UTF8, 0, pwcsName, -1, nullptr, 0,
                                     nullptr, nullptr);
    if (length <= 0) return STG_E_FILENOTFOUND;
    std::string path(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, pwcsName, -1, path.data(), length,
                            nullptr, nullptr) != length)
      return STG_E_FILENOTFOUND;
    std::unique_ptr<ByteSource> source;
    HRESULT hr = FileByteSource::Open(path.c_str(), &source);
    if (FAILED(hr)) return hr;
    return OpenRootStorage(std::move(source), ppstgOpen);
  } catch (const std::bad_alloc&) {
    return STG_E_INSUFFICIENTMEMORY;
  }
}

HRESULT StgOpenStorageOnILockBytes(ILockBytes* plkbyt, IStorage*, DWORD, SNB,
                                   DWORD, IStorage** ppstgOpen) {
  using namespace txtppt2;
  if (ppstgOpen == nullptr) return STG_E_INVALIDPOINTER;
  *ppstgOpen = nullptr;
  if (plkbyt == nullptr) return STG_E_INVALIDPOINTER;
  try {
    std::unique_ptr<ByteSource> source;
    HRESULT hr = LockBytesByteSource::Open(plkbyt, &source);
    if (FAILED(hr)) return hr;
    return OpenRootStorage(std::move(source), ppstgOpen);
  } catch (const std::bad_alloc&) {
    return STG_E_INSUFFICIENTMEMORY;
  }
}
