// StgOpenStorage and StgOpenStorageOnILockBytes for POSIX: both open the
// compound file read-only through our own reader.
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "platform/windows.h"
#include "storage/compound_file/compound_file.h"
#include "storage/compound_file/docfile_storage.h"
#include "storage/compound_file/file_byte_source.h"
#include "storage/compound_file/lock_bytes_byte_source.h"

namespace txtppt2 {
namespace {

// Checks what both entry points accept, before anything is opened.
HRESULT CheckOpenArguments(IStorage* priority, DWORD mode, SNB exclude,
                           DWORD reserved) {
  if ((mode & kAccessModeMask) == kAccessModeMask) return STG_E_INVALIDFLAG;
  if (reserved != 0) return STG_E_INVALIDPARAMETER;
  // Reopening a priority storage and excluding elements are not supported.
  if (priority != nullptr || exclude != nullptr) return E_NOTIMPL;
  return S_OK;
}

HRESULT OpenRootStorage(std::unique_ptr<ByteSource> source,
                        const std::u16string* name, DWORD mode,
                        IStorage** out) {
  std::shared_ptr<CompoundFile> file;
  HRESULT hr = CompoundFile::Open(std::move(source), &file);
  if (FAILED(hr)) return hr;
  std::u16string statName(
      name != nullptr ? *name : std::u16string(file->Root().Name()));
  auto* storage =
      new DocfileStorage(std::move(file), std::move(statName), mode);
  storage->AddRef();
  *out = storage;
  return S_OK;
}

}  // namespace
}  // namespace txtppt2

HRESULT StgOpenStorage(const WCHAR* pwcsName, IStorage* pstgPriority,
                       DWORD grfMode, SNB snbExclude, DWORD reserved,
                       IStorage** ppstgOpen) {
  using namespace txtppt2;
  if (ppstgOpen == nullptr) return STG_E_INVALIDPOINTER;
  *ppstgOpen = nullptr;
  if (pwcsName == nullptr) return STG_E_INVALIDNAME;
  HRESULT hr = CheckOpenArguments(pstgPriority, grfMode, snbExclude, reserved);
  if (FAILED(hr)) return hr;
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
    hr = FileByteSource::Open(path.c_str(), &source);
    if (FAILED(hr)) return hr;
    // The file's own errors come first; then a wish to write is refused.
    hr = CheckReadOnlyMode(grfMode);
    if (FAILED(hr)) return hr;
    std::u16string name(pwcsName);
    return OpenRootStorage(std::move(source), &name, grfMode, ppstgOpen);
  } catch (const std::bad_alloc&) {
    return STG_E_INSUFFICIENTMEMORY;
  }
}

HRESULT StgOpenStorageOnILockBytes(ILockBytes* plkbyt, IStorage* pstgPriority,
                                   DWORD grfMode, SNB snbExclude,
                                   DWORD reserved, IStorage** ppstgOpen) {
  using namespace txtppt2;
  if (ppstgOpen == nullptr) return STG_E_INVALIDPOINTER;
  *ppstgOpen = nullptr;
  if (plkbyt == nullptr) return STG_E_INVALIDPOINTER;
  HRESULT hr = CheckOpenArguments(pstgPriority, grfMode, snbExclude, reserved);
  if (FAILED(hr)) return hr;
  hr = CheckReadOnlyMode(grfMode);
  if (FAILED(hr)) return hr;
  try {
    std::unique_ptr<ByteSource> source;
    hr = LockBytesByteSource::Open(plkbyt, &source);
    if (FAILED(hr)) return hr;
    return OpenRootStorage(std::move(source), nullptr, grfMode, ppstgOpen);
  } catch (const std::bad_alloc&) {
    return STG_E_INSUFFICIENTMEMORY;
  }
}
