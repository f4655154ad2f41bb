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

// Resizes a block of GlobalAlloc to dwBytes. With GMEM_MOVEABLE the block
// may move, and stays a fixed block whose handle is its address, as on
// Windows; the old handle is then no longer valid. Without GMEM_MOVEABLE
// Windows resizes only in place, which malloc cannot promise: the request
// fails. Returns null on failure, leaving the block as it was.
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);

// Copies at most iMaxLength - 1 bytes of lpString2 and a NUL after them, as
// Windows does: iMaxLength is taken as unsigned (a negative one copies the
// whole string), 0 writes nothing, and a null pointer where one must be used
// gives null without a crash. Returns lpString1, or null then.
LPSTR lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);

// Not of the Windows API: asks the system to map the whole pages of
// [start, start + bytes), part of a block the caller is about to write, in
// one call rather than a fault per page on first touch. A hint only: where
// it cannot be done (Linux before 5.14, other systems), the pages are
// mapped on first touch as usual, and nothing else changes.
void PrepareToWrite(void* start, SIZE_T bytes);

#endif  // TXTPPT2_PLATFORM_GLOBAL_MEMORY_H_
