#include "platform/compound_file/lock_bytes_byte_source.h"

#include <cstdint>
#include <cstring>

namespace txtppt2 {

namespace {
// ReadAt counts in ULONG; larger reads loop.
constexpr ULONG kMaxReadChunk = ULONG{1} << 30;
}  // namespace

HRESULT LockBytesByteSource::Open(ILockBytes* lockBytes,
                                  std::unique_ptr<ByteSource>* out) {
  STATSTG stat;
  std::memset(&stat, 0, sizeof(stat));
  HRESULT hr = lockBytes->Stat(&stat, STATFLAG_NONAME);
  // A name handed out against the flag is still ours to free.
  if (stat.pwcsName != nullptr) CoTaskMemFree(stat.pwcsName);
  if (FAILED(hr)) return hr;
  out->reset(new LockBytesByteSource(lockBytes, stat.cbSize.QuadPart));
  return S_OK;
}

LockBytesByteSource::LockBytesByteSource(ILockBytes* lockBytes_, uint64_t size_)
    : ByteSource(size_), lockBytes(lockBytes_) {
  lockBytes->AddRef();
}

LockBytesByteSource::~LockBytesByteSource() { lockBytes->Release(); }

size_t LockBytesByteSource::ReadAt(uint64_t offset, void* buffer,
                                   size_t count) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    ULARGE_INTEGER at;
    at.QuadPart = offset + done;
    if (at.QuadPart < offset) break;
    ULONG chunk = count - done < kMaxReadChunk
                      ? static_cast<ULONG>(count - done)
                      : kMaxReadChunk;
    ULONG got = 0;
    HRESULT hr = lockBytes->ReadAt(at, bytes + done, chunk, &got);
    // A failed read ends the data; a count beyond what was asked is not
    // believed.
    if (FAILED(hr) || got == 0 || got > chunk) break;
    done += got;
  }
  return done;
}

}  // namespace txtppt2
