/*
 * txtppt2: plain text from PowerPoint 97-2003 presentations (.ppt).
 *
 * The rules of this interface:
 *
 * 1. Result blocks. A conversion returns a new block holding the text and a
 *    terminating NUL of the text's width, or NULL on failure. The host owns
 *    the block: on POSIX it frees it with free(); on Windows with
 *    GlobalFree(). *count receives the text's length in bytes, terminator
 *    not included.
 * 2. Encodings. The *Unicode calls return UTF-16LE (count is even); the
 *    *PureText calls return Windows-1252 text (the ANSI code page on
 *    Windows). Lines end in CR LF; each slide after the first is introduced
 *    by a line of thirty hyphens.
 * 3. Paths. Narrow paths are UTF-8 on POSIX (bytes that are not valid UTF-8
 *    are passed through unchanged) and in the ANSI code page on Windows;
 *    wide paths are UTF-16. A narrow path whose UTF-16 form is longer than
 *    1023 units fails with "Error in parameters"; the wide calls take paths
 *    of any length.
 * 4. Errors. After a failed conversion, GetErrorCode() and
 *    GetConversionError() tell what went wrong; after a successful one they
 *    report no error. The record is kept per thread.
 * 5. Memory input. The block must stay valid and unchanged during the call;
 *    it is read in place, never written, and not kept afterwards.
 * 6. No call checks its pointer arguments: every pointer passed must be
 *    valid. Strings returned by the type and information calls are static:
 *    never free them.
 */
#ifndef TXTPPT2_H_
#define TXTPPT2_H_

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One UTF-16 code unit: Windows' own wide character where there is one. */
#if defined(_WIN32)
typedef wchar_t txtppt2_char16;
#elif defined(__cplusplus)
typedef char16_t txtppt2_char16;
#else
typedef uint16_t txtppt2_char16;
#endif

/* Every export is cdecl. On 32-bit Windows a compiler's default convention
 * may differ (MSVC's /Gz and /Gr, GCC's -mrtd, Open Watcom's own register
 * convention), so the header says it explicitly; 64-bit Windows has one
 * convention and compilers accept the keyword there. */
#if defined(_WIN32)
#define TXTPPT2_CALL __cdecl
#else
#define TXTPPT2_CALL
#endif

#if defined(TXTPPT2_BUILDING_LIBRARY) && defined(__GNUC__)
#define TXTPPT2_API __attribute__((visibility("default")))
#else
#define TXTPPT2_API
#endif

/* Conversion from a path. */
TXTPPT2_API void* TXTPPT2_CALL ConvertToUnicode(const char* path,
                                                uint32_t* count);
TXTPPT2_API void* TXTPPT2_CALL ConvertToUnicodeW(const txtppt2_char16* path,
                                                 uint32_t* count);
TXTPPT2_API void* TXTPPT2_CALL ConvertToPureText(const char* path,
                                                 uint32_t* count);
TXTPPT2_API void* TXTPPT2_CALL ConvertToPureTextW(const txtppt2_char16* path,
                                                  uint32_t* count);

/* Conversion from memory: *count holds the number of bytes at data on entry
 * and receives the text's length. The second argument is not read. */
TXTPPT2_API void* TXTPPT2_CALL ConvertMemoryToUnicode(const void* data,
                                                      uint32_t unused,
                                                      uint32_t* count);
TXTPPT2_API void* TXTPPT2_CALL ConvertMemoryToPureText(const void* data,
                                                       uint32_t unused,
                                                       uint32_t* count);

/* The codes GetErrorCode reports. */
enum {
  txtppt2_no_error = 0,
  /* "Error in parameters": a narrow path could not be converted to UTF-16.
   * The error record stores this error with code 0 beside its message, and
   * GetErrorCode reports a message stored with code 0 as 1. */
  txtppt2_error_in_parameters = 1,
  /* The file could not be opened or read, or memory ran out: the message
   * says what went wrong. */
  txtppt2_conversion_failed = 4,
  /* "Unsupported data format": no "PowerPoint Document" stream opens. */
  txtppt2_unsupported_format = 1003
};

/* The last error of the calling thread. GetConversionError copies the
 * message (cut to bufferSize - 1 bytes) and returns 1 when an error is
 * recorded, else 0. GetErrorCode returns one of the codes above. */
TXTPPT2_API int32_t TXTPPT2_CALL GetConversionError(char* buffer,
                                                    int32_t bufferSize);
TXTPPT2_API uint32_t TXTPPT2_CALL GetErrorCode(void);

/* Whether a file or block opens as a compound file with a "PowerPoint
 * Document" stream. Cheap: nothing is converted; the error record is left
 * alone (but for a narrow path that cannot be converted). */
TXTPPT2_API bool TXTPPT2_CALL IsFileSupported(const char* path);
TXTPPT2_API bool TXTPPT2_CALL IsFileSupportedW(const txtppt2_char16* path);
TXTPPT2_API bool TXTPPT2_CALL IsMemDataSupported(const void* data,
                                                 uint32_t size);

/* The one supported type, "ppt" (compared ignoring ASCII case). */
TXTPPT2_API int32_t TXTPPT2_CALL IsFileTypeSupported(const char* type);
TXTPPT2_API const char* TXTPPT2_CALL ListSupportedTypes(int32_t* count);
TXTPPT2_API const char* TXTPPT2_CALL GetType(int32_t index);
TXTPPT2_API const char* TXTPPT2_CALL GetTypeDescription(int32_t index);

/* Fixed answers about the library. */
TXTPPT2_API const char* TXTPPT2_CALL GetDllInfo(void);
TXTPPT2_API int32_t TXTPPT2_CALL GetDllVersion(void);
TXTPPT2_API int32_t TXTPPT2_CALL GetCompatibilityFlags(void);
TXTPPT2_API int32_t TXTPPT2_CALL GetOptionFlags(void);
/* The host's option flags are accepted and ignored. */
TXTPPT2_API void TXTPPT2_CALL SetOptionFlags(int32_t flags);
/* Nothing to set up or release: both return true, in any order. */
TXTPPT2_API bool TXTPPT2_CALL InitializeConverterTypes(void);
TXTPPT2_API bool TXTPPT2_CALL FreeUpConverterTypes(void);

#ifdef __cplusplus
}
#endif

#endif /* TXTPPT2_H_ */
