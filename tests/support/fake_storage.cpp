#include "support/fake_storage.h"

#include <algorithm>
#include <cstring>

namespace txtppt2::testing {

namespace {
thread_local int liveFakes = 0;
}  // namespace

FakeStream::FakeStream(FakeStreamBehaviour behaviour)
    : behaviour_(std::move(behaviour)) {
  ++liveFakes;
}

FakeStream::~FakeStream() { --liveFakes; }

int FakeStream::LiveCount() { return liveFakes; }

HRESULT FakeStream::QueryInterface(REFIID, void**) { return E_NOINTERFACE; }
ULONG FakeStream::AddRef() { return ++refs_; }
ULONG FakeStream::Release() {
  ULONG count = --refs_;
  if (count == 0) delete this;
  return count;
}

HRESULT FakeStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  if (behaviour_.readThrowsNonStandard) throw 42;
  uint64_t size = behaviour_.bytes.size();
  uint64_t available = position_ < size ? size - position_ : 0;
  ULONG n = static_cast<ULONG>(std::min<uint64_t>(cb, available));
  if (n != 0) std::memcpy(pv, behaviour_.bytes.data() + position_, n);
  position_ += n;
  *pcbRead = behaviour_.readCount.value_or(n);
  return behaviour_.readResult.value_or(S_OK);
}

HRESULT FakeStream::Write(const void*, ULONG, ULONG*) {
  return STG_E_ACCESSDENIED;
}

HRESULT FakeStream::Seek(LARGE_INTEGER move, DWORD origin,
                         ULARGE_INTEGER* newPosition) {
  if (behaviour_.seekResult != S_OK) return behaviour_.seekResult;
  int64_t base = origin == STREAM_SEEK_CUR ? static_cast<int64_t>(position_) : 0;
  position_ = static_cast<uint64_t>(base + move.QuadPart);
  if (newPosition != nullptr) newPosition->QuadPart = position_;
  return S_OK;
}

HRESULT FakeStream::SetSize(ULARGE_INTEGER) { return STG_E_ACCESSDENIED; }
HRESULT FakeStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                           ULARGE_INTEGER*) {
  return E_NOTIMPL;
}
HRESULT FakeStream::Commit(DWORD) { return E_NOTIMPL; }
HRESULT FakeStream::Revert() { return E_NOTIMPL; }
HRESULT FakeStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return E_NOTIMPL;
}
HRESULT FakeStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return E_NOTIMPL;
}

HRESULT FakeStream::Stat(STATSTG* stat, DWORD) {
  if (behaviour_.statResult != S_OK) return behaviour_.statResult;
  std::memset(stat, 0, sizeof *stat);
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = behaviour_.bytes.size();
  return S_OK;
}

HRESULT FakeStream::Clone(IStream**) { return E_NOTIMPL; }

FakeStorage::FakeStorage(HRESULT openResult, FakeStreamBehaviour behaviour)
    : openResult_(openResult), behaviour_(std::move(behaviour)) {
  ++liveFakes;
}

FakeStorage::~FakeStorage() { --liveFakes; }

HRESULT FakeStorage::QueryInterface(REFIID, void**) { return E_NOINTERFACE; }
ULONG FakeStorage::AddRef() { return ++refs_; }
ULONG FakeStorage::Release() {
  ULONG count = --refs_;
  if (count == 0) delete this;
  return count;
}

HRESULT FakeStorage::CreateStream(const OLECHAR*, DWORD, DWORD, DWORD,
                                  IStream**) {
  return STG_E_ACCESSDENIED;
}

HRESULT FakeStorage::OpenStream(const OLECHAR* name, void*, DWORD mode, DWORD,
                                IStream** stream) {
  lastName = reinterpret_cast<const char16_t*>(name);
  lastMode = mode;
  *stream = nullptr;
  if (openResult_ < 0) return openResult_;
  *stream = new FakeStream(behaviour_);
  return openResult_;
}

HRESULT FakeStorage::CreateStorage(const OLECHAR*, DWORD, DWORD, DWORD,
                                   IStorage**) {
  return STG_E_ACCESSDENIED;
}
HRESULT FakeStorage::OpenStorage(const OLECHAR*, IStorage*, DWORD, SNB, DWORD,
                                 IStorage**) {
  return STG_E_FILENOTFOUND;
}
HRESULT FakeStorage::CopyTo(DWORD, const IID*, SNB, IStorage*) {
  return E_NOTIMPL;
}
HRESULT FakeStorage::MoveElementTo(const OLECHAR*, IStorage*, const OLECHAR*,
                                   DWORD) {
  return E_NOTIMPL;
}
HRESULT FakeStorage::Commit(DWORD) { return E_NOTIMPL; }
HRESULT FakeStorage::Revert() { return E_NOTIMPL; }
HRESULT FakeStorage::EnumElements(DWORD, void*, DWORD, IEnumSTATSTG**) {
  return E_NOTIMPL;
}
HRESULT FakeStorage::DestroyElement(const OLECHAR*) { return E_NOTIMPL; }
HRESULT FakeStorage::RenameElement(const OLECHAR*, const OLECHAR*) {
  return E_NOTIMPL;
}
HRESULT FakeStorage::SetElementTimes(const OLECHAR*, const FILETIME*,
                                     const FILETIME*, const FILETIME*) {
  return E_NOTIMPL;
}
HRESULT FakeStorage::SetClass(REFCLSID) { return E_NOTIMPL; }
HRESULT FakeStorage::SetStateBits(DWORD, DWORD) { return E_NOTIMPL; }
HRESULT FakeStorage::Stat(STATSTG*, DWORD) { return E_NOTIMPL; }

}  // namespace txtppt2::testing
