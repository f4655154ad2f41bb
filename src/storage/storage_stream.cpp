#include "storage/storage_stream.h"

#include <cstring>
#include <stdexcept>

#include "platform/read_ahead_stream.h"
#include "storage/check_storage_result.h"
#include "storage/storage_messages.h"

namespace txtppt2 {

StorageStream::~StorageStream() {
  if (stream != nullptr) stream->Release();
}

namespace {

// What a read that is not a whole successful one means: an error, the end
// of the data, or (for a result that says neither) a good read after all.
// Kept out of line, so that Read's usual case stays small enough to be
// inlined into the record walker.
[[gnu::noinline, gnu::cold]] void CheckUnusualRead(HRESULT result, ULONG read,
                                                   uint32_t count) {
  if (const char* failure = ReadFailureMessage(result))
    throw std::runtime_error(failure);
  // Any other result is judged by the count alone: a short read is the end
  // of the data, a full one a good read.
  if (read < count) throw Stream_eof();
}

[[noreturn, gnu::noinline, gnu::cold]] void ThrowSeekError() {
  throw std::runtime_error(messages::kSeekError);
}

}  // namespace

void StorageStream::StreamOpened() {
  IReadAheadStream* readAhead = nullptr;
  if (stream->QueryInterface(IID_IReadAheadStream,
                             reinterpret_cast<void**>(&readAhead)) == S_OK &&
      readAhead != nullptr) {
    window = readAhead->Window();
    // The same object: the reference this reader holds keeps it alive.
    readAhead->Release();
  }
}

void StorageStream::ReadThroughStream(void* buffer, uint32_t count) {
  ULONG read = 0;
  HRESULT result = stream->Read(buffer, count, &read);
  if (result != S_OK || read < count) CheckUnusualRead(result, read, count);
}

void StorageStream::SkipThroughStream(uint32_t count) {
  LARGE_INTEGER move;
  move.QuadPart = static_cast<LONGLONG>(count);  // zero-extended: forward
  if (stream->Seek(move, STREAM_SEEK_CUR, nullptr) != S_OK) ThrowSeekError();
}

void StorageStream::Seek(uint32_t position) {
  LARGE_INTEGER move;
  move.QuadPart = static_cast<LONGLONG>(position);
  if (stream->Seek(move, STREAM_SEEK_SET, nullptr) != S_OK) ThrowSeekError();
}

uint32_t StorageStream::Size() {
  STATSTG stat;
  std::memset(&stat, 0, sizeof stat);
  if (stream->Stat(&stat, STATFLAG_NONAME) != S_OK)
    throw std::runtime_error(messages::kNoStreamSize);
  // Offsets in the stream are 32 bits: a longer stream is as long as they
  // reach, never its size wrapped around to a small one.
  if (stat.cbSize.QuadPart > UINT32_MAX) return UINT32_MAX;
  return static_cast<uint32_t>(stat.cbSize.QuadPart);
}

}  // namespace txtppt2
