// DocfileStream: the read-only IStream of one stream of a compound file.
//
// Reads follow the stream's chain of sectors, built once when the stream is
// opened, through a read-ahead buffer of 16 KiB: the converter reads record
// headers a few bytes at a time, and each such read is a copy from the
// buffer, checked and done without a loop or a further call. Reads of a
// buffer's size or more go straight into the caller's memory, one read of
// the file per run of back-to-back sectors.
//
// Lives by COM reference counting (it starts at 0; its creator adds the
// first reference); the Release that brings the count to 0 deletes it. Holds
// a share of its CompoundFile, so it stays readable after its storage is
// released.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_DOCFILE_STREAM_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_DOCFILE_STREAM_H_

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/windows.h"
#include "platform/compound_file/compound_file.h"
#include "platform/compound_file/stream_layout.h"

namespace txtppt2 {

class DocfileStream final : public IStream {
 public:
  // Opens stream entry of file for reading. Throws std::bad_alloc when
  // memory runs out.
  DocfileStream(std::shared_ptr<CompoundFile> file,
                const DirectoryEntry& entry);
  DocfileStream(const DocfileStream&) = delete;
  DocfileStream& operator=(const DocfileStream&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // Delivers up to cb bytes and answers S_OK, with fewer bytes (0 at or
  // past the end) where the declared size ends, or earlier where the
  // stream's chain or the file does. pcbRead may be null.
  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb,
                                  ULONG* pcbWritten) override;
  // Any position at or past 0 is accepted, also past the end; a move to
  // before 0, or past 2^64, is STG_E_INVALIDFUNCTION and moves nothing.
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                 ULARGE_INTEGER* plibNewPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* pstm, ULARGE_INTEGER cb,
                                   ULARGE_INTEGER* pcbRead,
                                   ULARGE_INTEGER* pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset,
                                       ULARGE_INTEGER cb,
                                       DWORD dwLockType) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset,
                                         ULARGE_INTEGER cb,
                                         DWORD dwLockType) override;
  // The type and cbSize only, the declared size (version 3: its low 32
  // bits) even where the chain holds less; E_NOTIMPL without
  // STATFLAG_NONAME, as no name is handed out.
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override;

  // The same as Read and Seek from the current position where they succeed
  // without touching the file, for a caller that holds this stream by its
  // own type: the converter reads some 400,000 record header fields and
  // skips a third as many payloads in a large deck, and these take each in
  // a few instructions instead of a call through the interface.
  //
  // ReadBuffered copies count bytes (1 or more) at the position when the
  // read-ahead buffer holds them all and answers true; otherwise it answers
  // false and changes nothing, and Read does the work.
  bool ReadBuffered(void* out, uint32_t count) {
    // Before the buffer the offset wraps past any span.
    const uint64_t offset = position - bufferStart;
    if (offset > bufferServes || count > bufferServes - offset || count == 0)
      return false;
    // Inlined where count is a constant, the copy is one move.
    std::memcpy(out, buffer.get() + offset, count);
    position += count;
    return true;
  }
  // Moves the position forward by count; false, with nothing moved, where
  // the position would pass 2^64 (as Seek refuses it).
  bool SkipForward(uint32_t count) {
    if (count > UINT64_MAX - position) return false;
    position += count;
    return true;
  }

 private:
  ~DocfileStream();

  bool BufferHolds(uint64_t at) const {
    return at >= bufferStart && at - bufferStart < bufferLength;
  }
  // Read where the buffer does not hold the whole read: fills it, or reads
  // large pieces straight into pv. Kept out of line, so that Read's quick
  // path stays small.
  [[gnu::noinline]] HRESULT ReadThroughBuffer(void* pv, ULONG cb,
                                              ULONG* pcbRead);
  // Loads the run of back-to-back units around position into the buffer;
  // false when no byte at position could be read.
  bool FillBuffer();
  // Reads up to count bytes at position straight into out, from one run of
  // back-to-back units; returns how many, and sets *complete when that was
  // all the run could hold (not cut off by the end of the file).
  size_t ReadDirect(uint8_t* out, uint64_t count, bool* complete);

  ULONG refCount = 0;
  std::shared_ptr<CompoundFile> file;
  uint64_t size;  // as declared
  StreamLayout layout;
  uint64_t readable;  // what Read can deliver: the size, or the chain's end
  uint64_t position = 0;
  size_t bufferSize;                  // whole units
  std::unique_ptr<uint8_t[]> buffer;  // read-ahead, not zeroed
  uint64_t bufferStart = 0;           // stream position of buffer[0]
  size_t bufferLength = 0;
  // How many bytes from bufferStart on Read may serve from the buffer: its
  // length, or less where the readable data ends first.
  uint64_t bufferServes = 0;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_DOCFILE_STREAM_H_
