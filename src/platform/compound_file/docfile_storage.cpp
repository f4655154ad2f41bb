#include "platform/compound_file/docfile_storage.h"

#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/compound_file/docfile_stream.h"

namespace txtppt2 {

DocfileStorage::DocfileStorage(std::shared_ptr<CompoundFile> file_)
    : file(std::move(file_)) {}

DocfileStorage::DocfileStorage(std::shared_ptr<CompoundFile> file_,
                               uint32_t storageId_)
    : file(std::move(file_)), storageId(storageId_) {}

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

HRESULT DocfileStorage::OpenStream(const OLECHAR* pwcsName, void*, DWORD, DWORD,
                                   IStream** ppstm) {
  if (ppstm == nullptr) return STG_E_INVALIDPOINTER;
  *ppstm = nullptr;
  if (pwcsName == nullptr) return STG_E_INVALIDPOINTER;
  try {
    std::u16string_view wanted(pwcsName);
    std::optional<uint32_t> id =
        storageId ? file->FindChildOf(*storageId, wanted, kStreamObject)
                  : file->FindRootStream(wanted);
    DirectoryEntry entry;
    if (!id || !file->ReadEntry(*id, &entry)) return STG_E_FILENOTFOUND;
    auto* stream = new DocfileStream(file, entry);
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

HRESULT DocfileStorage::OpenStorage(const OLECHAR* pwcsName, IStorage*, DWORD,
                                    SNB, DWORD, IStorage** ppstg) {
  if (ppstg == nullptr) return STG_E_INVALIDPOINTER;
  *ppstg = nullptr;
  if (pwcsName == nullptr) return STG_E_INVALIDPOINTER;
  try {
    std::optional<uint32_t> id = file->FindChildOf(
        storageId.value_or(0), std::u16string_view(pwcsName), kStorageObject);
    if (!id) return STG_E_FILENOTFOUND;
    auto* storage = new DocfileStorage(file, *id);
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
  if (ppenum != nullptr) *ppenum = nullptr;
  return E_NOTIMPL;
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

HRESULT DocfileStorage::Stat(STATSTG*, DWORD) { return E_NOTIMPL; }

}  // namespace txtppt2
