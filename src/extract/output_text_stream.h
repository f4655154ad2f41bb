// OutputTextStream: the append-only text of one conversion, in the output's
// width (char for pure text, WCHAR for Unicode). The text sink is its only
// writer; the driver takes the finished text once.
//
// The text is written straight into a GlobalAlloc block that grows as it is
// appended to (GlobalReAlloc) and that becomes the result block, trimmed and
// terminated (TakeBlock): finished text is never copied, and the output's
// memory is written once. That memory is fresh, and the system maps a fresh
// page on its first touch: the pages ahead of the text are asked for in
// one call instead (PrepareToWrite), which costs about half as much as a
// fault per page. A call asks for as much as the text holds so far, at
// least 16 KiB and at most 256 KiB, so that no more than that, and never
// much more than the text itself, is mapped and not written.
//
// When the block cannot be had or cannot grow, the stream drops it and from
// then on only measures what is appended: Length() and TextLength() stay
// what they would have been, so that a failed conversion can still report
// the text's size. Data() is null from then on, and TakeBlock fails.
#ifndef TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_
#define TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/windows.h"

namespace txtppt2 {

template <typename CharT>
class OutputTextStream {
 public:
  // The most characters a result block may hold: its byte count, the
  // terminator excluded, is a 32-bit number. The stream stores no more.
  static constexpr size_t kMaxLength =
      (size_t{UINT32_MAX} - sizeof(CharT)) / sizeof(CharT);

  OutputTextStream() = default;
  ~OutputTextStream() {
    if (block != nullptr) GlobalFree(block);
  }
  OutputTextStream(const OutputTextStream&) = delete;
  OutputTextStream& operator=(const OutputTextStream&) = delete;

  // Room for count characters ahead of time, when the memory can be had;
  // the text grows past it freely.
  void Reserve(size_t count) {
    if (!lost && count > capacity && count <= kMaxLength) Resize(count);
  }

  // Appends count characters (an unformatted write: NULs pass too).
  // An empty write changes nothing (text may then be null).
  void Write(const CharT* text, size_t count) {
    // Room for count > 0 characters means there is a block.
    if (count != 0 && count <= capacity - length) {
      if (count > prepared - length) PrepareAhead(length + count);
      std::memcpy(block + length, text, count * sizeof(CharT));
      length += count;
    } else {
      WriteBeyondCapacity(text, count);
    }
  }

  // The text so far; null once the block is lost.
  const CharT* Data() const { return block; }
  size_t Length() const { return length; }

  // The length without the NULs at the end of the text.
  size_t TextLength() const {
    if (lost) return textLength;
    size_t n = length;
    while (n > 0 && block[n - 1] == CharT(0)) --n;
    return n;
  }

  // Hands over the block holding the first kept (<= Length()) characters
  // of the text and a NUL after them, in a block of exactly that size, and
  // leaves the stream empty. Null when the block is lost or cannot be made.
  HGLOBAL TakeBlock(size_t kept) {
    if (lost || !Resize(kept)) return nullptr;
    block[kept] = CharT(0);
    HGLOBAL taken = block;
    block = nullptr;
    capacity = length = prepared = 0;
    return taken;
  }

 private:
  // The first block of a stream that had no reservation.
  static constexpr size_t kFirstCapacity = 4096 / sizeof(CharT);
  // The bounds of how far ahead of the text its pages are asked for.
  static constexpr size_t kPrepareChars = (size_t{256} << 10) / sizeof(CharT);
  static constexpr size_t kFirstPrepareChars =
      (size_t{16} << 10) / sizeof(CharT);

  // Called where the text is about to pass prepared, with needed <=
  // capacity: asks for the pages up to needed and as far again beyond it
  // (16 KiB to 256 KiB), within the block.
  void PrepareAhead(size_t needed) {
    size_t from = prepared;
    size_t ahead = std::clamp(needed, kFirstPrepareChars, kPrepareChars);
    prepared = std::min(needed + ahead, capacity);
    PrepareToWrite(block + from, (prepared - from) * sizeof(CharT));
  }

  // Makes the block hold newCapacity characters and a terminator,
  // allocating it when there is none; false (the block unchanged) when it
  // cannot.
  bool Resize(size_t newCapacity) {
    SIZE_T bytes = (newCapacity + 1) * sizeof(CharT);
    HGLOBAL resized = block == nullptr
                          ? GlobalAlloc(GMEM_FIXED, bytes)
                          : GlobalReAlloc(block, bytes, GMEM_MOVEABLE);
    if (resized == nullptr) return false;
    block = static_cast<CharT*>(resized);
    capacity = newCapacity;
    // The block may have moved: only what is written is known to be mapped.
    prepared = std::min(prepared, length);
    return true;
  }

  // Write where the block has no room: grows it, at least doubling, or
  // else drops it and measures.
  void WriteBeyondCapacity(const CharT* text, size_t count) {
    if (count == 0) return;
    if (!lost && count <= kMaxLength - length) {
      size_t needed = length + count;
      size_t doubled = capacity <= kMaxLength / 2 ? capacity * 2 : kMaxLength;
      size_t grown = std::max({needed, doubled, kFirstCapacity});
      if (Resize(grown) || Resize(needed)) {
        Write(text, count);
        return;
      }
    }
    if (!lost) {
      textLength = TextLength();
      if (block != nullptr) GlobalFree(block);
      block = nullptr;
      lost = true;
    }
    for (size_t i = count; i > 0; --i) {
      if (text[i - 1] != CharT(0)) {
        textLength = length + i;
        break;
      }
    }
    length += count;
    capacity = length;  // keeps every later write on this path
  }

  CharT* block = nullptr;  // the block, with room for a terminator
  size_t capacity = 0;     // characters the block holds besides it
  size_t length = 0;
  size_t prepared = 0;    // characters from the start whose pages are asked for
  bool lost = false;      // the block could not grow: measuring only
  size_t textLength = 0;  // once lost: TextLength()
};

using NarrowOutputStream = OutputTextStream<char>;
using WideOutputStream = OutputTextStream<WCHAR>;

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_
