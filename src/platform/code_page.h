// Character-set conversion in the shape of the Windows API, for POSIX builds.
//
// CP_ACP is Windows-1252 with Microsoft's own tables (best fit included);
// CP_UTF8 is UTF-8 where a byte that is not part of valid UTF-8 maps to
// U+DC80 + byte and back (the surrogate-escape convention), so that every
// file name the file system accepts survives a trip through UTF-16.
//
// Include "platform/windows.h" rather than this file.
#ifndef TXTPPT2_PLATFORM_CODE_PAGE_H_
#define TXTPPT2_PLATFORM_CODE_PAGE_H_

#include "platform/win32_types.h"

// Converts cbMultiByte bytes (-1: up to and including the NUL) to UTF-16.
// Returns the number of units written, or needed when cchWideChar is 0;
// returns 0 on failure: an empty source, an unknown code page or flag, or a
// destination too small (nothing useful is left in it then).
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr,
                        int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar);

// Converts cchWideChar UTF-16 units (-1: up to and including the NUL) to
// bytes. For CP_ACP, WC_COMPOSITECHECK folds a unit followed by a combining
// mark that composes with it into the composed character, and a unit with no
// byte in the code page becomes the default character (lpDefaultChar, or
// "?"). *lpUsedDefaultChar, when given, tells whether that happened. Returns
// the number of bytes written (or needed when cbMultiByte is 0), 0 on failure.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr,
                        int cchWideChar, LPSTR lpMultiByteStr, int cbMultiByte,
                        LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);

#endif  // TXTPPT2_PLATFORM_CODE_PAGE_H_
