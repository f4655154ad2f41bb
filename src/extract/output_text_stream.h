// OutputTextStream: the append-only text of one conversion, in the output's
// width (char for pure text, WCHAR for Unicode). The text sink is its only
// writer; the driver takes the finished text once.
//
// The text is written straight into a GlobalAlloc block that becomes the
// result block, with its terminator (TakeBlock): finished text is never
// copied, and the output's memory is written once.
//
// The block is reserved ahead (Reserve, from a guess at the text's size),
// doubles (GlobalReAlloc) whenever the text outgrows it, and is handed over
// as it is, untrimmed, unless the text fills less than half of it: the
// largest size a conversion asks for is then the size of the block the
// host frees. That is what lets a host that converts file after file,
// freeing each result, get the same memory back each time: glibc, for
// one, serves a request from memory it already has once a block of that
// size has been freed (its mmap threshold follows the blocks freed), while
// a block trimmed below the next conversion's reservation leaves a fresh
// mapping every time, whose pages the system makes anew. The cost is at
// most as much address space again as the text holds, never written and
// so never backed by memory.
//
// Where the memory is fresh, the system maps each page on its first touch:
// the pages ahead of the text are asked for in one call instead
// (PrepareToWrite), about half the cost of a fault per page. A call asks
// for as much as the text holds so far, at least 16 KiB and at most
// 256 KiB, so that no more than that is mapped and not written.
//
// When the block cannot be had or cannot grow, the stream drops it and from
// then on only measures what is appended: Length() stays what it would
// have been, so that a failed conversion can still report the text's size.
// Data() is null from then on, and TakeBlock fails.
#ifndef TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_
#define TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/windows.h"

namespace txtppt2 {

// Where a stream's block comes from: GlobalAlloc and GlobalReAlloc, unless
// the stream's owner supplies others with the same contract (null when the
// memory cannot be had, the block then unchanged).
struct BlockAllocator {
  HGLOBAL(WINAPI* allocate)(UINT flags, SIZE_T bytes) = GlobalAlloc;
  HGLOBAL(WINAPI* reallocate)
  (HGLOBAL block, SIZE_T bytes, UINT flags) = GlobalReAlloc;
};

template <typename CharT>
class OutputTextStream {
 public:
  // The most characters a result block may hold: its byte count, the
  // terminator excluded, is a 32-bit number. The stream stores no more.
  static constexpr size_t kMaxLength =
      (size_t{UINT32_MAX} - sizeof(CharT)) / sizeof(CharT);

  explicit OutputTextStream(BlockAllocator blockAllocator = {})
      : allocator(blockAllocator) {}
  ~OutputTextStream() {
    if (block != nullptr) GlobalFree(block);
  }
  OutputTextStream(const OutputTextStream&) = delete;
  OutputTextStream& operator=(const OutputTextStream&) = delete;

  // Room for count characters ahead of time, in whole pages, when the
  // stream has no block yet and the memory can be had; the text grows past
  // it freely.
  void Reserve(size_t count) {
    if (lost || block != nullptr || count > kMaxLength) return;
    uint64_t pages =
        ((uint64_t{count} + 1) * sizeof(CharT) + kPage - 1) / kPage;
    uint64_t reserved = pages * kPage / sizeof(CharT) - 1;
    Resize(static_cast<size_t>(
        std::clamp<uint64_t>(reserved, kFirstCapacity, kMaxLength)));
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
      // GCC 12 may take text that a caller has just written into a buffer
      // on its stack for uninitialised at this out-of-line call; it is not.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
      WriteBeyondCapacity(text, count);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    }
  }

  // The text so far; null once the block is lost.
  const CharT* Data() const { return block; }
  size_t Length() const { return length; }

  // Hands over the block holding the text and a NUL after it, and leaves
  // the stream empty: trimmed to the text when that fills less than half of
  // it (a reservation the text never reached), else whole. Null when the
  // block is lost or cannot be made.
  HGLOBAL TakeBlock() {
    if (lost || (block == nullptr && !Resize(0))) return nullptr;
    if (length < capacity / 2) Resize(length);  // else kept as it is
    block[length] = CharT(0);
    HGLOBAL taken = block;
    block = nullptr;
    capacity = length = prepared = 0;
    return taken;
  }

 private:
  static constexpr size_t kPage = 4096;
  // The first block: a page with its terminator.
  static constexpr size_t kFirstCapacity = kPage / sizeof(CharT) - 1;
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
                          ? allocator.allocate(GMEM_FIXED, bytes)
                          : allocator.reallocate(block, bytes, GMEM_MOVEABLE);
    if (resized == nullptr) return false;
    block = static_cast<CharT*>(resized);
    capacity = newCapacity;
    // The block may have moved: only what is written is known to be mapped.
    prepared = std::min(prepared, length);
    return true;
  }

  // The capacity after the one the text has outgrown: the block's bytes,
  // terminator included, double, so that sizes stay whole pages.
  static size_t Doubled(size_t current) {
    if (current > kMaxLength / 2) return kMaxLength;
    return std::max(2 * current + 1, kFirstCapacity);
  }

  // Write where the block has no room: grows it, doubling until the text
  // fits (or to just what it needs when that cannot be had), or else drops
  // it and measures. Kept out of line, so that Write stays small enough to
  // be inlined into the sink.
  [[gnu::noinline]] void WriteBeyondCapacity(const CharT* text, size_t count) {
    if (count == 0) return;
    if (!lost && count <= kMaxLength - length) {
      size_t needed = length + count;
      size_t grown = Doubled(capacity);
      while (grown < needed) grown = Doubled(grown);
      if (Resize(grown) || Resize(needed)) {
        Write(text, count);
        return;
      }
    }
    if (!lost) {
      if (block != nullptr) GlobalFree(block);
      block = nullptr;
      lost = true;
    }
    length += count;
    capacity = length;  // keeps every later write on this path
  }

  BlockAllocator allocator;
  CharT* block = nullptr;  // the block, with room for a terminator
  size_t capacity = 0;     // characters the block holds besides it
  size_t length = 0;
  size_t prepared = 0;  // characters from the start whose pages are asked for
  bool lost = false;    // the block could not grow: measuring only
};

using NarrowOutputStream = OutputTextStream<char>;
using WideOutputStream = OutputTextStream<WCHAR>;

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_
