// MemoryLockBytes: a read-only ILockBytes over a caller's block of memory,
// through which the platform's structured storage reads a compound file
// held in memory.
//
// The object neither copies nor owns the block: the block must stay valid
// and unchanged while the reference count is above 0. The object lives by
// reference counting; it starts at 0, its creator adds the first reference,
// and the Release that brings the count to 0 deletes it. The count is a
// plain counter: an object belongs to one call on one thread.
#ifndef TXTPPT2_STORAGE_MEMORY_LOCK_BYTES_H_
#define TXTPPT2_STORAGE_MEMORY_LOCK_BYTES_H_

#include "platform/windows.h"

namespace txtppt2 {

class MemoryLockBytes final : public ILockBytes {
 public:
  MemoryLockBytes(const BYTE* data, ULONG size);
  MemoryLockBytes(const MemoryLockBytes&) = delete;
  MemoryLockBytes& operator=(const MemoryLockBytes&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* pv, ULONG cb,
                                   ULONG* pcbRead) override;
  HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER offset, const void* pv,
                                    ULONG cb, ULONG* pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Flush() override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER cb) override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER cb,
                                       DWORD lockType) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset,
                                         ULARGE_INTEGER cb,
                                         DWORD lockType) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;

 private:
  ~MemoryLockBytes() = default;

  // Shared by LockRegion and UnlockRegion: the block cannot be locked.
  HRESULT Unlockable();

  const BYTE* data;
  ULONG size;
  ULONG refCount;
};

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_MEMORY_LOCK_BYTES_H_
