// Runs of ASCII between UTF-16 and Windows-1252, and from UTF-16 to UTF-8,
// the common case of these conversions, copied a vector (SSE2) or a word at
// a time; the conversions look at each unit only where a run ends.
//
// ASCII is itself in both directions, with one exception towards bytes: a
// unit followed by a combining mark may compose with it, so a narrowing run
// stops before a unit whose follower lies at or above kFirstComposingMark.
#ifndef TXTPPT2_PLATFORM_ASCII_RUNS_H_
#define TXTPPT2_PLATFORM_ASCII_RUNS_H_

#include <cstddef>

#include "platform/win32_types.h"

namespace txtppt2 {

// Copies the longest start of src[0, n) in which every unit is below 0x80
// and is followed (where a unit follows within n) by one below
// kFirstComposingMark to dst, a byte per unit. Returns its length.
size_t NarrowAsciiRun(const WCHAR* src, size_t n, char* dst);

// Copies the longest start of src[0, n) in which every byte is below 0x80
// to dst, a unit per byte. Returns its length.
size_t WidenAsciiRun(const char* src, size_t n, WCHAR* dst);

// Copies the longest start of src[0, n) in which every unit lies in
// [lowest, 0x80) to dst, a byte per unit. Returns its length. dst has room
// for n bytes, and those past the run may be written over. Towards UTF-8
// ASCII needs no look at its neighbours; lowest lets a conversion stop at
// the control characters it interprets.
size_t Utf8AsciiRun(const WCHAR* src, size_t n, WCHAR lowest, char* dst);

// The portable implementations. Where the compiler targets SSE2 (always on
// x86-64) the two above use SSE2 instead, with the same result for every
// input.
size_t NarrowAsciiRunPortable(const WCHAR* src, size_t n, char* dst);
size_t WidenAsciiRunPortable(const char* src, size_t n, WCHAR* dst);
size_t Utf8AsciiRunPortable(const WCHAR* src, size_t n, WCHAR lowest,
                            char* dst);

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_ASCII_RUNS_H_
