#include "storage/storage_stream.h"

#include <cstring>
#include <stdexcept>

#include "storage/check_storage_result.h"
#include "storage/storage_messages.h"

namespace txtppt2 {

StorageStream::~StorageStream() {
  if (stream != nullptr) stream->Release();
}

void StorageStream::Read(void* buffer, uint32_t count) {
  ULONG read = 0;
  HRESULT result = stream->Read(buffer, count, &read);
  if (result == S_OK && read >= count) return;  // the usual case, first
  if (const char* failure = ReadFailureMessage(result))
    throw std::runtime_error(failure);
  // Any other result is judged by the count alone: a short read is the end
  // of the data, a full one a good read.
  if (read < count) throw Stream_eof();
}

void StorageStream::Skip(uint32_t count) {
  LARGE_INTEGER move;
  move.QuadPart = static_cast<LONGLONG>(count);  // zero-extended: forward
  if (stream->Seek(move, STREAM_SEEK_CUR, nullptr) != S_OK)
    throw std::runtime_error(messages::kSeekError);
}

void StorageStream::Seek(uint32_t position) {
  LARGE_INTEGER move;
  move.QuadPart = static_cast<LONGLONG>(position);
  if (stream->Seek(move, STREAM_SEEK_SET, nullptr) != S_OK)
    throw std::runtime_error(messages::kSeekError);
}

uint32_t StorageStream::Size() {
  STATSTG stat;
  std::memset(&stat, 0, sizeof stat);
  if (stream->Stat(&stat, STATFLAG_NONAME) != S_OK)
    throw std::runtime_error(messages::kNoStreamSize);
  return static_cast<uint32_t>(stat.cbSize.QuadPart);
}

}  // namespace txtppt2
