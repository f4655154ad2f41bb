// IReadAheadStream: the library's own COM interface (not one of Windows'),
// offered by a stream whose reads go through a read-ahead buffer in memory,
// as the compound-file reader's streams do on POSIX. A reader that holds
// such a stream asks for it once (QueryInterface with
// IID_IReadAheadStream) and then takes the bytes the buffer already holds,
// and skips forward, through the stream's ReadAheadWindow: inline code on
// a few fields, without a call through IStream. The record walker reads
// some 400,000 header fields and skips a third as many payloads in a large
// deck; each costs a few instructions this way. A stream that does not
// offer the interface (Windows' own) is read through IStream alone.
#ifndef TXTPPT2_PLATFORM_READ_AHEAD_STREAM_H_
#define TXTPPT2_PLATFORM_READ_AHEAD_STREAM_H_

#include "platform/read_ahead_window.h"
#include "platform/windows.h"

namespace txtppt2 {

struct IReadAheadStream : public IUnknown {
  // The stream's window; valid as long as the stream lives.
  virtual ReadAheadWindow* STDMETHODCALLTYPE Window() = 0;

 protected:
  ~IReadAheadStream() = default;
};

// {5C1E3F0A-7D2B-4E96-A1B8-2F4C6D8E0A13}
inline const IID IID_IReadAheadStream = {
    0x5C1E3F0A,
    0x7D2B,
    0x4E96,
    {0xA1, 0xB8, 0x2F, 0x4C, 0x6D, 0x8E, 0x0A, 0x13}};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_READ_AHEAD_STREAM_H_
