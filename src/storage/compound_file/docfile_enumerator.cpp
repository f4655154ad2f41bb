#include "storage/compound_file/docfile_enumerator.h"

#include <new>
#include <utility>

namespace txtppt2 {

DocfileEnumerator::DocfileEnumerator(std::shared_ptr<CompoundFile> file_,
                                     size_t position_)
    : file(std::move(file_)), position(position_) {}

DocfileEnumerator::~DocfileEnumerator() = default;

HRESULT DocfileEnumerator::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IEnumSTATSTG)) {
    *ppv = static_cast<IEnumSTATSTG*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG DocfileEnumerator::AddRef() { return ++refCount; }

ULONG DocfileEnumerator::Release() {
  ULONG count = --refCount;
  if (count == 0) delete this;
  return count;
}

HRESULT DocfileEnumerator::Next(ULONG celt, STATSTG* rgelt,
                                ULONG* pceltFetched) {
  if (pceltFetched != nullptr) *pceltFetched = 0;
  if (rgelt == nullptr) return STG_E_INVALIDPOINTER;
  // COM lets the count pointer be null only when one element is asked for.
  if (pceltFetched == nullptr && celt != 1) return STG_E_INVALIDPARAMETER;
  const std::vector<uint32_t>& children = file->RootChildren();
  const size_t start = position;
  ULONG fetched = 0;
  DirectoryEntry entry;
  while (fetched < celt && position < children.size()) {
    // An entry that no longer reads (the file shrank) is passed over.
    if (!file->ReadEntry(children[position++], &entry)) continue;
    bool stream = entry.type == kStreamObject;
    HRESULT hr =
        FillStatStg(entry, entry.Name(), stream ? STGTY_STREAM : STGTY_STORAGE,
                    stream ? file->StreamSize(entry) : 0, 0, STATFLAG_DEFAULT,
                    &rgelt[fetched]);
    if (FAILED(hr)) {
      for (ULONG i = 0; i < fetched; ++i) {
        CoTaskMemFree(rgelt[i].pwcsName);
        rgelt[i].pwcsName = nullptr;
      }
      position = start;
      return hr;
    }
    ++fetched;
  }
  if (pceltFetched != nullptr) *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT DocfileEnumerator::Skip(ULONG celt) {
  const size_t left = file->RootChildren().size() - position;
  if (celt > left) {
    position += left;
    return S_FALSE;
  }
  position += celt;
  return S_OK;
}

HRESULT DocfileEnumerator::Reset() {
  position = 0;
  return S_OK;
}

HRESULT DocfileEnumerator::Clone(IEnumSTATSTG** ppenum) {
  if (ppenum == nullptr) return STG_E_INVALIDPOINTER;
  *ppenum = nullptr;
  auto* clone = new (std::nothrow) DocfileEnumerator(file, position);
  if (clone == nullptr) return STG_E_INSUFFICIENTMEMORY;
  clone->AddRef();
  *ppenum = clone;
  return S_OK;
}

}  // namespace txtppt2
