// The compound file reader alone, over arbitrary bytes held by a
// MemoryLockBytes: opens the root storage and the streams the converter
// looks for, reads each to its end, then seeks about and reads again. No
// read may deliver more than the stream's size or more bytes than the input
// holds.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "fuzz_check.h"
#include "platform/windows.h"
#include "storage/memory_lock_bytes.h"

namespace {

using txtppt2::fuzz::Require;

// Reads from the current position to the end in pieces of the given size;
// returns how many bytes came.
uint64_t ReadToEnd(IStream* stream, ULONG piece, uint64_t limit) {
  std::vector<uint8_t> buffer(piece);
  uint64_t total = 0;
  for (;;) {
    ULONG read = 0;
    HRESULT hr = stream->Read(buffer.data(), piece, &read);
    Require(read <= piece, "Read claims more bytes than asked for");
    total += read;
    Require(total <= limit, "a stream delivers more than the input holds");
    if (FAILED(hr) || read == 0) return total;
  }
}

// Seeks and returns the position reached, or UINT64_MAX on failure.
uint64_t SeekTo(IStream* stream, LONGLONG move, DWORD origin) {
  LARGE_INTEGER distance;
  distance.QuadPart = move;
  ULARGE_INTEGER reached{};
  return stream->Seek(distance, origin, &reached) == S_OK ? reached.QuadPart
                                                          : UINT64_MAX;
}

void ExerciseStream(IStream* stream, uint64_t inputSize) {
  STATSTG stat{};
  Require(stream->Stat(&stat, STATFLAG_NONAME) == S_OK, "stream Stat fails");
  const uint64_t size = stat.cbSize.QuadPart;
  const uint64_t whole = ReadToEnd(stream, 4096, inputSize);
  Require(whole <= size, "a stream delivers more than its declared size");
  Require(SeekTo(stream, 0, STREAM_SEEK_END) == size,
          "seeking to the end does not reach the size");
  Require(SeekTo(stream, -1, STREAM_SEEK_SET) == UINT64_MAX,
          "a seek before the start succeeds");
  Require(SeekTo(stream, 0, STREAM_SEEK_CUR) == size,
          "a refused seek moved the position");
  // From the middle, in one big piece: the same bytes as the first pass.
  const uint64_t middle = whole / 2;
  Require(
      SeekTo(stream, static_cast<LONGLONG>(middle), STREAM_SEEK_SET) == middle,
      "seeking into the stream fails");
  Require(ReadToEnd(stream, 1 << 16, inputSize) == whole - middle,
          "reading again from the middle delivers a different count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > UINT32_MAX) return 0;
  auto* lockBytes =
      new txtppt2::MemoryLockBytes(data, static_cast<ULONG>(size));
  lockBytes->AddRef();
  IStorage* storage = nullptr;
  if (StgOpenStorageOnILockBytes(lockBytes, nullptr,
                                 STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                                 &storage) == S_OK) {
    for (const char16_t* name : {u"PowerPoint Document", u"Current User"}) {
      IStream* stream = nullptr;
      if (storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                              0, &stream) == S_OK) {
        ExerciseStream(stream, size);
        stream->Release();
      }
    }
    storage->Release();
  }
  txtppt2::fuzz::Require(lockBytes->Release() == 0,
                         "the storage kept a reference to its lock-bytes");
  return 0;
}
