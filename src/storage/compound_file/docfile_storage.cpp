#include "storage/compound_file/docfile_storage.h"

#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "storage/compound_file/docfile_enumerator.h"
#include "storage/compound_file/docfile_stream.h"

namespace txtppt2 {

HRESULT CheckReadOnlyMode(DWORD mode) {
  if ((mode & kAccessModeMask) == kAccessModeMask) return STG_E_INVALIDFLAG;
  if ((mode & kAccessModeMask) != STGM_READ) return STG_E_ACCESSDENIED;
  return S_OK;
}

DocfileStorage::DocfileStorage(std::shared_ptr<CompoundFile> file_,
                               std::u16string name_, DWORD mode_)
    : file(std::move(file_)), name(std::move(name_)), mode(mode_) {}

DocfileStorage::DocfileStorage(std::shared_ptr<CompoundFile> file_,
                               std::u16string name_, DWORD mode_,
                               uint32_t storageId_)
    : file(std::move(file_)),
      name(std::move(name_)),
      mode(mode_),
      storageId(storageId_) {}

DocfileStorage::~DocfileStorage() = default;

HRESULT DocfileStorage::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IStorage)) {
    *ppv = static_cast<IStorage*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG DocfileStorage::AddRef() { return ++refCount; }

ULONG DocfileStorage::Release() {
  ULONG count = --refCount;
  if (count == 0) delete this;
  return count;
}

HRESULT DocfileStorage::CreateStream(const OLECHAR*, DWORD, DWORD, DWORD,
                                     IStream** ppstm) {
  if (ppstm != nullptr) *ppstm = nullptr;
  return STG_E_ACCESSDENIED;
}

HRESULT DocfileStorage::OpenStream(const OLECHAR* pwcsName, void* reserved1,
                                   DWORD grfMode, DWORD reserved2,
                                   IStream** ppstm) {
  if (ppstm == nullptr) return STG_E_INVALIDPOINTER;
  *ppstm = nullptr;
  if (pwcsName == nullptr) return STG_E_INVALIDPOINTER;
  if (reserved1 != nullptr || reserved2 != 0) return STG_E_INVALIDPARAMETER;
  // Streams are opened exclusively and never transacted.
  if ((grfMode & kShareModeMask) != STGM_SHARE_EXCLUSIVE ||
      (grfMode & STGM_TRANSACTED) != 0)
    return STG_E_INVALIDFLAG;
  HRESULT hr = CheckReadOnlyMode(grfMode);
  if (FAILED(hr)) return hr;
  try {
    std::u16string_view wanted(pwcsName);
    std::optional<uint32_t> id =
        storageId ? file->FindChildOf(*storageId, wanted, kStreamObject)
                  : file->FindRootStream(wanted);
    DirectoryEntry entry;
    if (!id || !file->ReadEntry(*id, &entry)) return STG_E_FILENOTFOUND;
    auto* stream = new DocfileStream(file, entry, grfMode);
    stream->AddRef();
    *ppstm = stream;
    return S_OK;
  } catch (const std::bad_alloc&) {
    return STG_E_INSUFFICIENTMEMORY;
  }
}

HRESULT DocfileStorage::CreateStorage(const OLECHAR*, DWORD, DWORD, DWORD,
                                      IStorage** ppstg) {
  if (ppstg != nullptr) *ppstg = nullptr;
  return STG_E_ACCESSDENIED;
}

HRESULT DocfileStorage::OpenStorage(const OLECHAR* pwcsName,
                                    IStorage* pstgPriority, DWORD grfMode,
                                    SNB snbExclude, DWORD reserved,
                                    IStorage** ppstg) {
  if (ppstg == nullptr) return STG_E_INVALIDPOINTER;
  *ppstg = nullptr;
  if (pwcsName == nullptr) return STG_E_INVALIDPOINTER;
  if (pstgPriority != nullptr || snbExclude != nullptr || reserved != 0)
    return STG_E_INVALIDPARAMETER;
  if ((grfMode & kShareModeMask) != STGM_SHARE_EXCLUSIVE ||
      (grfMode & STGM_TRANSACTED) != 0)
    return STG_E_INVALIDFLAG;
  HRESULT hr = CheckReadOnlyMode(grfMode);
  if (FAILED(hr)) return hr;
  try {
    std::u16string wanted(pwcsName);
    std::optional<uint32_t> id =
        file->FindChildOf(storageId.value_or(0), wanted, kStorageObject);
    if (!id) return STG_E_FILENOTFOUND;
    auto* storage = new DocfileStorage(file, std::move(wanted), grfMode, *id);
    storage->AddRef();
    *ppstg = storage;
    return S_OK;
  } catch (const std::bad_alloc&) {
    return STG_E_INSUFFICIENTMEMORY;
  }
}

HRESULT DocfileStorage::CopyTo(DWORD, const IID*, SNB, IStorage*) {
  return E_NOTIMPL;
}

HRESULT DocfileStorage::MoveElementTo(const OLECHAR*, IStorage*, const OLECHAR*,
                                      DWORD) {
  return STG_E_ACCESSDENIED;
}

HRESULT DocfileStorage::Commit(DWORD) { return STG_E_ACCESSDENIED; }

HRESULT DocfileStorage::Revert() { return E_NOTIMPL; }

HRESULT DocfileStorage::EnumElements(DWORD, void*, DWORD,
                                     IEnumSTATSTG** ppenum) {
  if (ppenum == nullptr) return STG_E_INVALIDPOINTER;
  *ppenum = nullptr;
  if (storageId) return E_NOTIMPL;
  auto* enumerator = new (std::nothrow) DocfileEnumerator(file, 0);
  if (enumerator == nullptr) return STG_E_INSUFFICIENTMEMORY;
  enumerator->AddRef();
  *ppenum = enumerator;
  return S_OK;
}

HRESULT DocfileStorage::DestroyElement(const OLECHAR*) {
  return STG_E_ACCESSDENIED;
}

HRESULT DocfileStorage::RenameElement(const OLECHAR*, const OLECHAR*) {
  return STG_E_ACCESSDENIED;
}

HRESULT DocfileStorage::SetElementTimes(const OLECHAR*, const FILETIME*,
                                        const FILETIME*, const FILETIME*) {
  return STG_E_ACCESSDENIED;
}

HRESULT DocfileStorage::SetClass(REFCLSID) { return STG_E_ACCESSDENIED; }

HRESULT DocfileStorage::SetStateBits(DWORD, DWORD) {
  return STG_E_ACCESSDENIED;
}

HRESULT DocfileStorage::Stat(STATSTG* pstatstg, DWORD grfStatFlag) {
  if (pstatstg == nullptr) return STG_E_INVALIDPOINTER;
  if (grfStatFlag > (STATFLAG_NONAME | STATFLAG_NOOPEN))
    return STG_E_INVALIDFLAG;
  DirectoryEntry self;
  if (storageId && !file->ReadEntry(*storageId, &self))
    return STG_E_DOCFILECORRUPT;
  return FillStatStg(storageId ? self : file->Root(), name, STGTY_STORAGE, 0,
                     mode, grfStatFlag, pstatstg);
}

}  // namespace txtppt2
