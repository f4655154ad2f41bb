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

HRESULT FakeStream::Seek(LARGE_INTEGER move, DWORD origin,
                         ULARGE_INTEGER* newPosition) {
  if (behaviour_.seekResult != S_OK) return behaviour_.seekResult;
  int64_t base =
      origin == STREAM_SEEK_CUR ? static_cast<int64_t>(position_) : 0;
  position_ = static_cast<uint64_t>(base + move.QuadPart);
  if (newPosition != nullptr) newPosition->QuadPart = position_;
  return S_OK;
}

HRESULT FakeStream::Stat(STATSTG* stat, DWORD) {
  if (behaviour_.statResult != S_OK) return behaviour_.statResult;
  std::memset(stat, 0, sizeof *stat);
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = behaviour_.bytes.size();
  return S_OK;
}

FakeStorage::FakeStorage(HRESULT openResult, FakeStreamBehaviour behaviour)
    : openResult_(openResult), behaviour_(std::move(behaviour)) {
  ++liveFakes;
}

FakeStorage::~FakeStorage() { --liveFakes; }

ULONG FakeStorage::Release() {
  ULONG count = --refs_;
  if (count == 0) delete this;
  return count;
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

}  // namespace txtppt2::testing
