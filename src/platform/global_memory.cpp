#include "platform/global_memory.h"

#include "platform/com_interfaces.h"

#include <cstdlib>
#include <cstring>

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  // malloc(0) may answer null; a block of no bytes is still a block.
  void* block = std::malloc(dwBytes == 0 ? 1 : dwBytes);
  if (block != nullptr && (uFlags & GMEM_ZEROINIT) != 0)
    std::memset(block, 0, dwBytes);
  return block;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
  std::free(hMem);
  return nullptr;
}

LPSTR lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
  if (iMaxLength <= 0) return lpString1;
  size_t limit = static_cast<size_t>(iMaxLength) - 1;
  size_t n = 0;
  while (n < limit && lpString2[n] != '\0') ++n;
  std::memcpy(lpString1, lpString2, n);
  lpString1[n] = '\0';
  return lpString1;
}

void CoTaskMemFree(void* pv) { std::free(pv); }
