#include "support/fake_storage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace txtppt2::testing {

namespace {
thread_local int liveFakes = 0;
}  // namespace

FakeStream::FakeStream(FakeStreamBehaviour behaviour_)
    : behaviour(std::move(behaviour_)) {
  ++liveFakes;
}

FakeStream::~FakeStream() { --liveFakes; }

int FakeStream::LiveCount() { return liveFakes; }

ULONG FakeStream::Release() {
  ULONG count = --refs;
  if (count == 0) delete this;
  return count;
}

HRESULT FakeStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  if (behaviour.readThrowsNonStandard) throw 42;
  uint64_t size = behaviour.bytes.size();
  uint64_t available = position < size ? size - position : 0;
  ULONG n = static_cast<ULONG>(std::min<uint64_t>(cb, available));
  if (n != 0) std::memcpy(pv, behaviour.bytes.data() + position, n);
  position += n;
  *pcbRead = behaviour.readCount.value_or(n);
  return behaviour.readResult.value_or(S_OK);
}

HRESULT FakeStream::Seek(LARGE_INTEGER move, DWORD origin,
                         ULARGE_INTEGER* newPosition) {
  if (behaviour.seekResult != S_OK) return behaviour.seekResult;
  int64_t base = origin == STREAM_SEEK_CUR ? static_cast<int64_t>(position) : 0;
  position = static_cast<uint64_t>(base + move.QuadPart);
  if (newPosition != nullptr) newPosition->QuadPart = position;
  return S_OK;
}

HRESULT FakeStream::Stat(STATSTG* stat, DWORD) {
  if (behaviour.statResult != S_OK) return behaviour.statResult;
  std::memset(stat, 0, sizeof *stat);
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = behaviour.statSize.value_or(behaviour.bytes.size());
  return S_OK;
}

FakeStorage::FakeStorage(HRESULT openResult_, FakeStreamBehaviour behaviour_)
    : openResult(openResult_), behaviour(std::move(behaviour_)) {
  ++liveFakes;
}

FakeStorage::~FakeStorage() { --liveFakes; }

ULONG FakeStorage::Release() {
  ULONG count = --refs;
  if (count == 0) delete this;
  return count;
}

HRESULT FakeStorage::OpenStream(const OLECHAR* name, void*, DWORD mode, DWORD,
                                IStream** stream) {
  lastName = reinterpret_cast<const char16_t*>(name);
  lastMode = mode;
  *stream = nullptr;
  if (openResult == E_OUTOFMEMORY) throw std::bad_alloc();
  if (openResult < 0) return openResult;
  *stream = new FakeStream(behaviour);
  return openResult;
}

}  // namespace txtppt2::testing
