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

#include "platform/compound_file/compound_file.h"
#include "platform/compound_file/stream_layout.h"
#include "platform/read_ahead_stream.h"
#include "platform/windows.h"

namespace txtppt2 {

class DocfileStream final : public IStream, public IReadAheadStream {
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

  // The read-ahead buffer and the position, for a reader that takes what
  // the buffer holds without a call through IStream.
  ReadAheadWindow* STDMETHODCALLTYPE Window() override { return &window; }

 private:
  ~DocfileStream();

  bool BufferHolds(uint64_t at) const {
    return at >= window.bufferStart && at - window.bufferStart < bufferLength;
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
  size_t bufferSize;  // whole units
  std::unique_ptr<uint8_t[]> buffer;  // read-ahead, not zeroed
  size_t bufferLength{};
  // The buffer's bytes, what of them reads may take, and the position.
  ReadAheadWindow window;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_DOCFILE_STREAM_H_
