// The one header through which the converter reaches the Windows API. On
// Windows it is the SDK itself; elsewhere it is this folder's stand-in, which
// declares only what the converter uses, in the SDK's shapes.
#ifndef TXTPPT2_PLATFORM_WINDOWS_H_
#define TXTPPT2_PLATFORM_WINDOWS_H_

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <objbase.h>
#include <windows.h>
// Windows maps fresh pages on first touch and offers no cheaper way to
// have them mapped ahead for writing: the hint of the POSIX layer does
// nothing here.
inline void PrepareToWrite(void*, SIZE_T) {}
#else
#include "platform/code_page.h"
#include "platform/com_interfaces.h"
#include "platform/global_memory.h"
#include "platform/win32_types.h"
#endif

// The code page of file names given as 8-bit text: the ANSI code page on
// Windows, UTF-8 (with escaped invalid bytes) on POSIX.
#ifdef _WIN32
#define TXTPPT2_PATH_CODE_PAGE CP_ACP
#else
#define TXTPPT2_PATH_CODE_PAGE CP_UTF8
#endif

// A UTF-16 string literal of the platform's WCHAR type.
#ifdef _WIN32
#define TXTPPT2_WTEXT(s) L##s
#else
#define TXTPPT2_WTEXT(s) u##s
#endif

#endif  // TXTPPT2_PLATFORM_WINDOWS_H_
