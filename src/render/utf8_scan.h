// Reading UTF-8 text one code point at a time, whatever bytes it holds, for
// the renderers: every output format must be valid UTF-8 even when a string
// of the model is not.
#ifndef TXTPPT2_RENDER_UTF8_SCAN_H_
#define TXTPPT2_RENDER_UTF8_SCAN_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace txtppt2 {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point at `position`, which moves past it. A byte sequence that is
// not well-formed UTF-8 (a stray byte, a sequence cut short, an overlong
// form, an encoded surrogate, a value past U+10FFFF) gives U+FFFD for each
// maximal part of it, as Unicode recommends (and as Python's "replace"
// error handler does).
// REQUIRES: position < text.size().
char32_t NextCodePoint(std::string_view text, size_t& position);

// Appends the UTF-8 form of a code point; a surrogate or a value past
// U+10FFFF is appended as U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace txtppt2

#endif  // TXTPPT2_RENDER_UTF8_SCAN_H_
