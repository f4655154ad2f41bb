/* Compiled, never run, with GCC's -mrtd: every function without a stated
 * convention becomes stdcall, as under MSVC's /Gz. A declaration in
 * txtppt2.h that does not say cdecl then no longer initialises a cdecl
 * pointer, and the build fails (incompatible pointer types). */
#include <stdint.h>

#include "txtppt2.h"

#define CDECL_POINTER(result, name, ...) \
  result(__cdecl* const check_##name)(__VA_ARGS__) = name

CDECL_POINTER(void*, ConvertToUnicode, const char*, uint32_t*);
CDECL_POINTER(void*, ConvertToUnicodeW, const txtppt2_char16*, uint32_t*);
CDECL_POINTER(void*, ConvertToPureText, const char*, uint32_t*);
CDECL_POINTER(void*, ConvertToPureTextW, const txtppt2_char16*, uint32_t*);
CDECL_POINTER(void*, ConvertMemoryToUnicode, const void*, uint32_t, uint32_t*);
CDECL_POINTER(void*, ConvertMemoryToPureText, const void*, uint32_t, uint32_t*);
CDECL_POINTER(int32_t, GetConversionError, char*, int32_t);
CDECL_POINTER(uint32_t, GetErrorCode, void);
CDECL_POINTER(bool, IsFileSupported, const char*);
CDECL_POINTER(bool, IsFileSupportedW, const txtppt2_char16*);
CDECL_POINTER(bool, IsMemDataSupported, const void*, uint32_t);
CDECL_POINTER(int32_t, IsFileTypeSupported, const char*);
CDECL_POINTER(const char*, ListSupportedTypes, int32_t*);
CDECL_POINTER(const char*, GetType, int32_t);
CDECL_POINTER(const char*, GetTypeDescription, int32_t);
CDECL_POINTER(const char*, GetDllInfo, void);
CDECL_POINTER(int32_t, GetDllVersion, void);
CDECL_POINTER(int32_t, GetCompatibilityFlags, void);
CDECL_POINTER(int32_t, GetOptionFlags, void);
CDECL_POINTER(void, SetOptionFlags, int32_t);
CDECL_POINTER(bool, InitializeConverterTypes, void);
CDECL_POINTER(bool, FreeUpConverterTypes, void);
