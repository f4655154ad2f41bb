// The tables behind the Windows-1252 converter: Microsoft's byte and best-fit
// mappings and Unicode's canonical composition pairs. The data lives in
// windows_1252_tables.cpp, which tools/generate_windows_1252_tables.py
// writes; this header fixes its layout.
#ifndef TXTPPT2_PLATFORM_WINDOWS_1252_TABLES_H_
#define TXTPPT2_PLATFORM_WINDOWS_1252_TABLES_H_

#include <cstdint>

#include "platform/win32_types.h"

namespace txtppt2 {

// The UTF-16 unit of every byte.
extern const WCHAR kWindows1252ToUtf16[256];

// The byte of a unit u, best fit included, in two levels:
// kUtf16ToWindows1252Bytes[kUtf16ToWindows1252Page[u >> 8]][u & 0xFF].
// 0 means "no byte" for every unit but U+0000 (page 0 is all zeros). Units
// that Windows would map to its own default byte '?' without being '?'
// count as having no byte.
extern const uint8_t kUtf16ToWindows1252Page[256];
extern const uint8_t kUtf16ToWindows1252Bytes[][256];

// Every mark that takes part in a canonical composition lies in
// [kFirstComposingMark, kLastComposingMark]; bit (u - kFirstComposingMark)
// of kComposingMarkBits tells whether u is one. Units below the range, most
// text, never start a composition check.
constexpr WCHAR kFirstComposingMark = 0x0300;
constexpr WCHAR kLastComposingMark = 0x309A;
constexpr int kComposingMarkWords =
    (kLastComposingMark - kFirstComposingMark) / 32 + 1;
extern const uint32_t kComposingMarkBits[kComposingMarkWords];

// base followed by mark composes canonically to composed. Sorted by base,
// then mark.
struct CanonicalComposition {
  WCHAR base;
  WCHAR mark;
  WCHAR composed;
};
extern const CanonicalComposition kCanonicalCompositions[];
extern const int kCanonicalCompositionCount;

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_WINDOWS_1252_TABLES_H_
