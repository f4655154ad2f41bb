#include "platform/global_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  // malloc(0) may answer null; a block of no bytes is still a block.
  void* block = std::malloc(dwBytes == 0 ? 1 : dwBytes);
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

void PrepareToWrite(void* start, SIZE_T bytes) {
#ifdef MADV_POPULATE_WRITE
  // Whole pages only: madvise takes a page-aligned start, and the page
  // after the range may belong to another allocation.
  static const uintptr_t kPage = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  uintptr_t first =
      (reinterpret_cast<uintptr_t>(start) + kPage - 1) & ~(kPage - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(kPage - 1);
  if (first >= end) return;
  // Memory that the allocator hands out again after an earlier block is
  // mapped already, and asking for it would only walk its pages. The last
  // page tells: the pages of a block are asked for from its start on, so
  // where the last is mapped the others are too.
  unsigned char resident = 0;
  if (mincore(reinterpret_cast<void*>(end - kPage), kPage, &resident) == 0 &&
      (resident & 1) != 0)
    return;
  madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)start;
  (void)bytes;
#endif
}
