// Global memory and the bounded string copy of the Windows API, for POSIX
// builds. A GMEM_FIXED block is a malloc'ed block: the host frees it with
// free() (or GlobalFree, which is the same here).
//
// Include "platform/windows.h" rather than this file.
#ifndef TXTPPT2_PLATFORM_GLOBAL_MEMORY_H_
#define TXTPPT2_PLATFORM_GLOBAL_MEMORY_H_

#include "platform/win32_types.h"

// GMEM_FIXED (0) and GMEM_ZEROINIT are the only flags understood. Returns
// null when the memory cannot be had.
HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
HGLOBAL GlobalFree(HGLOBAL hMem);

// Copies at most iMaxLength - 1 bytes of lpString2 and always a NUL after
// them (nothing at all when iMaxLength is 0 or less). Returns lpString1.
LPSTR lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);

#endif  // TXTPPT2_PLATFORM_GLOBAL_MEMORY_H_
