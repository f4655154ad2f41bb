// DocfileStorage: a read-only IStorage of an open compound file: the root,
// or a storage under it. It opens the streams and storages directly under
// itself and does nothing else: every other method answers E_NOTIMPL, or
// STG_E_ACCESSDENIED where it would write.
//
// Lives by COM reference counting (starts at 0; its creator adds the first
// reference) and holds a share of its CompoundFile, which also holds the
// host's ILockBytes when there is one: the file state, and that reference,
// go when the storage and every stream made from it are released.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_DOCFILE_STORAGE_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_DOCFILE_STORAGE_H_

#include <memory>
#include <optional>

#include "platform/windows.h"
#include "platform/compound_file/compound_file.h"

namespace txtppt2 {

class DocfileStorage final : public IStorage {
 public:
  explicit DocfileStorage(std::shared_ptr<CompoundFile> file);
  // A storage under the root: entry storageId of the directory.
  DocfileStorage(std::shared_ptr<CompoundFile> file, uint32_t storageId);
  DocfileStorage(const DocfileStorage&) = delete;
  DocfileStorage& operator=(const DocfileStorage&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR* pwcsName, DWORD grfMode,
                                         DWORD reserved1, DWORD reserved2,
                                         IStream** ppstm) override;
  // Opens a stream directly under the root, its name compared
  // case-insensitively, for reading whatever the mode asks.
  HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR* pwcsName, void* reserved1,
                                       DWORD grfMode, DWORD reserved2,
                                       IStream** ppstm) override;
  HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR* pwcsName,
                                          DWORD grfMode, DWORD reserved1,
                                          DWORD reserved2,
                                          IStorage** ppstg) override;
  HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR* pwcsName,
                                        IStorage* pstgPriority, DWORD grfMode,
                                        SNB snbExclude, DWORD reserved,
                                        IStorage** ppstg) override;
  HRESULT STDMETHODCALLTYPE CopyTo(DWORD ciidExclude, const IID* rgiidExclude,
                                   SNB snbExclude, IStorage* pstgDest) override;
  HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR* pwcsName,
                                          IStorage* pstgDest,
                                          const OLECHAR* pwcsNewName,
                                          DWORD grfFlags) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE EnumElements(DWORD reserved1, void* reserved2,
                                         DWORD reserved3,
                                         IEnumSTATSTG** ppenum) override;
  HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR* pwcsName) override;
  HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR* pwcsOldName,
                                          const OLECHAR* pwcsNewName) override;
  HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR* pwcsName,
                                            const FILETIME* pctime,
                                            const FILETIME* patime,
                                            const FILETIME* pmtime) override;
  HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) override;
  HRESULT STDMETHODCALLTYPE SetStateBits(DWORD grfStateBits,
                                         DWORD grfMask) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;

 private:
  ~DocfileStorage();

  ULONG refCount = 0;
  std::shared_ptr<CompoundFile> file;
  std::optional<uint32_t> storageId;  // none for the root
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_DOCFILE_STORAGE_H_
