// DocfileEnumerator: the IEnumSTATSTG over the storages and streams directly
// under a compound file's root, in the order of the root's child tree.
//
// Lives by COM reference counting (starts at 0; its creator adds the first
// reference) and holds a share of its CompoundFile. Names it hands out are
// the caller's, freed with CoTaskMemFree.
#ifndef TXTPPT2_STORAGE_COMPOUND_FILE_DOCFILE_ENUMERATOR_H_
#define TXTPPT2_STORAGE_COMPOUND_FILE_DOCFILE_ENUMERATOR_H_

#include <cstddef>
#include <memory>

#include "platform/windows.h"
#include "storage/compound_file/compound_file.h"
#include "storage/compound_file/live_objects.h"

namespace txtppt2 {

class DocfileEnumerator final : public IEnumSTATSTG {
 public:
  DocfileEnumerator(std::shared_ptr<CompoundFile> file, size_t position);
  DocfileEnumerator(const DocfileEnumerator&) = delete;
  DocfileEnumerator& operator=(const DocfileEnumerator&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // S_OK when celt elements were delivered, S_FALSE when fewer were left.
  // On STG_E_INSUFFICIENTMEMORY nothing is delivered and the position
  // stays.
  HRESULT STDMETHODCALLTYPE Next(ULONG celt, STATSTG* rgelt,
                                 ULONG* pceltFetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumSTATSTG** ppenum) override;

 private:
  ~DocfileEnumerator();

  LiveObject live;
  ULONG refCount = 0;
  std::shared_ptr<CompoundFile> file;
  size_t position;  // index into file->RootChildren()
};

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_COMPOUND_FILE_DOCFILE_ENUMERATOR_H_
