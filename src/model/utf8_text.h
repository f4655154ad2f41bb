// UTF-8 text for the model: every string the model holds is valid UTF-8.
// UTF-16 from the file may hold lone surrogates; each becomes U+FFFD.
#ifndef TXTPPT2_MODEL_UTF8_TEXT_H_
#define TXTPPT2_MODEL_UTF8_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace txtppt2 {

// Appends one code point (at most U+10FFFF; surrogates are the caller's to
// avoid) as UTF-8.
void AppendCodePoint(std::string& out, char32_t codePoint);

// Appends units UTF-16 code units as UTF-8; a surrogate without its partner
// becomes U+FFFD.
void AppendUtf16(std::string& out, const char16_t* units, size_t count);

// The same over little-endian bytes (an odd last byte is ignored), read
// where they lie whatever their alignment.
void AppendUtf16Le(std::string& out, std::string_view bytes);

}  // namespace txtppt2

#endif  // TXTPPT2_MODEL_UTF8_TEXT_H_
