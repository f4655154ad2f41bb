// ReadAheadWindow: a stream's read-ahead buffer and read position, shared
// with a reader that takes bytes from it directly (see read_ahead_stream.h
// for how a stream offers it). Plain data and inline code, free of any
// platform type, so that the reader interfaces above may name it.
#ifndef TXTPPT2_PLATFORM_READ_AHEAD_WINDOW_H_
#define TXTPPT2_PLATFORM_READ_AHEAD_WINDOW_H_

#include <cstdint>
#include <cstring>

namespace txtppt2 {

// The read-ahead buffer of a stream and the stream's own read position:
// the stream's IStream methods and the window's move the one position.
struct ReadAheadWindow {
  const uint8_t* buffer = nullptr;  // the bytes read ahead
  uint64_t bufferStart{};         // stream position of buffer[0]
  // How many bytes from bufferStart on a read may take from the buffer:
  // fewer than it holds where the stream's readable data ends first.
  uint64_t bufferServes{};
  uint64_t position{};  // the stream's read position

  // Copies count bytes (1 or more) at the position when the buffer holds
  // them all, and answers true; otherwise answers false and changes
  // nothing, and IStream::Read does the work.
  bool Read(void* out, uint32_t count) {
    // Before the buffer the offset wraps past any span.
    const uint64_t offset = position - bufferStart;
    if (offset > bufferServes || count > bufferServes - offset || count == 0)
      return false;
    // Inlined where count is a constant, the copy is one move.
    std::memcpy(out, buffer + offset, count);
    position += count;
    return true;
  }

  // Moves the position forward by count; false, with nothing moved, where
  // the position would pass 2^64 (as IStream::Seek refuses it).
  bool SkipForward(uint32_t count) {
    if (count > UINT64_MAX - position) return false;
    position += count;
    return true;
  }
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_READ_AHEAD_WINDOW_H_
