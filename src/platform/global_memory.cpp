#include "platform/global_memory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace {

// Where transparent huge pages are offered on request (Linux), the large
// blocks that hold a conversion's text are asked to have them: the text is
// written once, front to back, into fresh memory, and a fault per 2 MiB
// instead of per 4 KiB takes much of the kernel's share out of the write.
// Such a block starts on a 2 MiB boundary, so that all of it can have them
// (posix_memalign memory is freed and resized like any malloc'ed block).
// The advice is a hint: where it fails, nothing changes. A block that is
// trimmed afterwards gives its untouched tail back as before.
constexpr SIZE_T kHugePage = SIZE_T{2} << 20;

void* AllocateBlock(SIZE_T bytes) {
#ifdef MADV_HUGEPAGE
  if (bytes >= kHugePage) {
    void* block = nullptr;
    if (posix_memalign(&block, kHugePage, bytes) != 0) return nullptr;
    // Whole pages of the block only: the page after its end may hold
    // another allocation.
    madvise(block, bytes & ~SIZE_T{4095}, MADV_HUGEPAGE);
    return block;
  }
#endif
  return std::malloc(bytes == 0 ? 1 : bytes);
}

}  // namespace

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  // malloc(0) may answer null; a block of no bytes is still a block.
  void* block = AllocateBlock(dwBytes);
  if (block != nullptr && (uFlags & GMEM_ZEROINIT) != 0)
    std::memset(block, 0, dwBytes);
  return block;
}

HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) {
  if ((uFlags & GMEM_MOVEABLE) == 0) return nullptr;
  return std::realloc(hMem, dwBytes == 0 ? 1 : dwBytes);
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
  std::free(hMem);
  return nullptr;
}

LPSTR lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
  // Windows takes the length as unsigned: a negative one copies the whole
  // string. Where it meets a null pointer it answers null, having written
  // nothing; the source is not read when there is room for the NUL alone.
  auto room = static_cast<unsigned>(iMaxLength);
  if (room == 0) return lpString1;
  if (lpString1 == nullptr || (room > 1 && lpString2 == nullptr))
    return nullptr;
  unsigned n = 0;
  for (; n + 1 < room && lpString2[n] != '\0'; ++n) lpString1[n] = lpString2[n];
  lpString1[n] = '\0';
  return lpString1;
}

void CoTaskMemFree(void* pv) { std::free(pv); }
