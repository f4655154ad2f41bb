// Windows-1252, the ANSI code page of the POSIX platform layer, with
// Microsoft's own tables (tools/generate_windows_1252_tables.py makes them).
#ifndef TXTPPT2_PLATFORM_WINDOWS_1252_H_
#define TXTPPT2_PLATFORM_WINDOWS_1252_H_

#include "platform/win32_types.h"

namespace txtppt2 {

// Converts the n (> 0) bytes at src, one UTF-16 unit per byte. With
// capacity 0 only counts. Returns the units written or needed; 0 when
// capacity is not 0 but too small.
int Windows1252ToUtf16(const char* src, int n, WCHAR* dst, int capacity);

// Converts the n (> 0) units at src to bytes, best fit included. With
// WC_COMPOSITECHECK in flags, a unit followed by a combining mark that
// composes with it becomes the byte of the composed character (or one
// default character). A unit without a byte becomes defaultChar, and
// *usedDefault (when given) is set. With capacity 0 only counts. Returns the
// bytes written or needed; 0 when capacity is not 0 but too small.
int Utf16ToWindows1252(const WCHAR* src, int n, DWORD flags, char* dst,
                       int capacity, char defaultChar, BOOL* usedDefault);

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_WINDOWS_1252_H_
