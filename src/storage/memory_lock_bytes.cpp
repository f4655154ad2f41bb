#include "storage/memory_lock_bytes.h"

#include <cstring>

namespace txtppt2 {

MemoryLockBytes::MemoryLockBytes(const BYTE* data_, ULONG size_)
    : data(data_), size(size_), refCount(0) {}

HRESULT MemoryLockBytes::QueryInterface(REFIID riid, void** ppv) {
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_ILockBytes)) {
    *ppv = static_cast<ILockBytes*>(this);
    ++refCount;
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG MemoryLockBytes::AddRef() { return ++refCount; }

ULONG MemoryLockBytes::Release() {
  ULONG count = --refCount;
  if (count == 0) delete this;
  return count;
}

HRESULT MemoryLockBytes::ReadAt(ULARGE_INTEGER offset, void* pv, ULONG cb,
                                ULONG* pcbRead) {
  if (pv == nullptr || offset.QuadPart > size) {
    if (pcbRead != nullptr) *pcbRead = 0;
    return E_FAIL;
  }
  ULONG start = static_cast<ULONG>(offset.QuadPart);
  ULONG n = cb < size - start ? cb : size - start;
  if (n != 0) std::memcpy(pv, data + start, n);
  if (pcbRead != nullptr) *pcbRead = n;
  return S_OK;
}

HRESULT MemoryLockBytes::WriteAt(ULARGE_INTEGER, const void*, ULONG, ULONG*) {
  return STG_E_ACCESSDENIED;
}

HRESULT MemoryLockBytes::Flush() { return S_OK; }

HRESULT MemoryLockBytes::SetSize(ULARGE_INTEGER) { return STG_E_ACCESSDENIED; }

HRESULT MemoryLockBytes::Unlockable() { return STG_E_INVALIDFUNCTION; }

HRESULT MemoryLockBytes::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return Unlockable();
}

HRESULT MemoryLockBytes::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return Unlockable();
}

HRESULT MemoryLockBytes::Stat(STATSTG* pstatstg, DWORD) {
  if (pstatstg == nullptr) return STG_E_INVALIDPOINTER;
  std::memset(pstatstg, 0, sizeof(*pstatstg));
  pstatstg->type = STGTY_LOCKBYTES;
  pstatstg->cbSize.QuadPart = size;
  return S_OK;
}

}  // namespace txtppt2
