// Windows-1252 conversion with Microsoft's tables, behaving as Windows does.
//
// Runs of ASCII are copied a vector at a time (platform/ascii_runs.h); every
// other byte is one table load to UTF-16, and every other unit is looked up
// in a two-level table to bytes. With WC_COMPOSITECHECK, a unit followed by a
// mark that composes with it is converted as the composed character: its
// byte when the code page has one; otherwise, with WC_DEFAULTCHAR, one
// default character for the pair, and without it the two units one by one.
// Only a unit in the small range of composing marks leads to the search of
// the composition pairs, so Latin text takes the quick path. Composition is
// pairwise on the source units, as in Windows: a second mark after a
// composed pair is converted on its own.
#include "platform/windows_1252.h"

#include <algorithm>

#include "platform/ascii_runs.h"
#include "platform/windows_1252_tables.h"

namespace txtppt2 {
namespace {

// The byte of unit in *byte; false when the code page has none.
inline bool LookUpByte(WCHAR unit, unsigned char* byte) {
  *byte =
      kUtf16ToWindows1252Bytes[kUtf16ToWindows1252Page[unit >> 8]][unit & 0xFF];
  return *byte != 0 || unit == 0;
}

inline bool IsComposingMark(WCHAR unit) {
  if (unit < kFirstComposingMark || unit > kLastComposingMark) return false;
  unsigned offset = unit - kFirstComposingMark;
  return (kComposingMarkBits[offset / 32] >> (offset % 32)) & 1;
}

// The character that base followed by mark composes to, or 0.
WCHAR Compose(WCHAR base, WCHAR mark) {
  const CanonicalComposition* begin = kCanonicalCompositions;
  const CanonicalComposition* end = begin + kCanonicalCompositionCount;
  const CanonicalComposition* it = std::lower_bound(
      begin, end, CanonicalComposition{base, mark, 0},
      [](const CanonicalComposition& a, const CanonicalComposition& b) {
        return a.base != b.base ? a.base < b.base : a.mark < b.mark;
      });
  return it != end && it->base == base && it->mark == mark ? it->composed : 0;
}

// The outputs of Convert. Put writes one byte; PutAsciiRun copies the run
// of ASCII at the start of src[0, n) (see NarrowAsciiRun) and returns its
// length, or leaves it, returning 0, to be put unit by unit.

// Only counts the bytes (a capacity of 0).
class ByteCounter {
 public:
  int PutAsciiRun(const WCHAR*, int) { return 0; }
  bool Put(unsigned char) {
    ++count;
    return true;
  }
  int Result() const { return count; }

 private:
  int count = 0;
};

// Writes into a buffer of capacity (> 0) bytes; Put fails when it is full.
class ByteWriter {
 public:
  ByteWriter(char* dst_, int capacity_) : dst(dst_), capacity(capacity_) {}
  int PutAsciiRun(const WCHAR*, int) { return 0; }
  bool Put(unsigned char byte) {
    if (count == capacity) return false;
    dst[count++] = static_cast<char>(byte);
    return true;
  }
  int Result() const { return count; }

 private:
  char* dst;
  int capacity;
  int count = 0;
};

// Writes into a buffer known to hold every byte: at most one per unit.
class UncheckedByteWriter {
 public:
  explicit UncheckedByteWriter(char* dst_) : dst(dst_) {}
  int PutAsciiRun(const WCHAR* src, int n) {
    int run = static_cast<int>(
        NarrowAsciiRun(src, static_cast<size_t>(n), dst + count));
    count += run;
    return run;
  }
  bool Put(unsigned char byte) {
    dst[count++] = static_cast<char>(byte);
    return true;
  }
  int Result() const { return count; }

 private:
  char* dst;
  int count = 0;
};

template <typename Output>
int Convert(const WCHAR* src, int n, DWORD flags, unsigned char defaultChar,
            BOOL* usedDefault, Output out) {
  const bool compositeCheck = (flags & WC_COMPOSITECHECK) != 0;
  bool usedDefaultChar = false;
  for (int i = 0; i < n; ++i) {
    // The common case first: ASCII that no composing mark follows is
    // itself (every mark lies at or above kFirstComposingMark). A run is
    // looked for only where one can start, so that text in other scripts
    // pays nothing for it.
    if (src[i] < 0x80) {
      i += out.PutAsciiRun(src + i, n - i);
      if (i == n) break;
    }
    unsigned char byte;
    if (compositeCheck && i + 1 < n && IsComposingMark(src[i + 1])) {
      WCHAR composed = Compose(src[i], src[i + 1]);
      if (composed != 0) {
        if (LookUpByte(composed, &byte)) {
          if (!out.Put(byte)) return 0;
          ++i;
          continue;
        }
        if ((flags & WC_DEFAULTCHAR) != 0) {
          if (!out.Put(defaultChar)) return 0;
          usedDefaultChar = true;
          ++i;
          continue;
        }
        // Otherwise the base and the mark are converted separately.
      }
    }
    if (src[i] < 0x80) {
      byte = static_cast<unsigned char>(src[i]);  // ASCII is itself
    } else if (!LookUpByte(src[i], &byte)) {
      byte = defaultChar;
      usedDefaultChar = true;
    }
    if (!out.Put(byte)) return 0;
  }
  if (usedDefaultChar && usedDefault != nullptr) *usedDefault = TRUE;
  return out.Result();
}

}  // namespace

int Windows1252ToUtf16(const char* src, int n, WCHAR* dst, int capacity) {
  if (capacity == 0) return n;
  if (capacity < n) return 0;
  for (int i = 0; i < n; ++i) {
    if (static_cast<unsigned char>(src[i]) < 0x80) {
      i += static_cast<int>(
          WidenAsciiRun(src + i, static_cast<size_t>(n - i), dst + i));
      if (i == n) break;
    }
    dst[i] = kWindows1252ToUtf16[static_cast<unsigned char>(src[i])];
  }
  return n;
}

int Utf16ToWindows1252(const WCHAR* src, int n, DWORD flags, char* dst,
                       int capacity, char defaultChar, BOOL* usedDefault) {
  auto def = static_cast<unsigned char>(defaultChar);
  if (capacity == 0)
    return Convert(src, n, flags, def, usedDefault, ByteCounter());
  // No unit becomes more than one byte: with room for n, nothing is checked.
  if (capacity >= n)
    return Convert(src, n, flags, def, usedDefault, UncheckedByteWriter(dst));
  return Convert(src, n, flags, def, usedDefault, ByteWriter(dst, capacity));
}

}  // namespace txtppt2
