// UTF-8 text for the model: every string the model holds is valid UTF-8.
// UTF-16 from the file may hold lone surrogates; each becomes U+FFFD.
#ifndef TXTPPT2_MODEL_UTF8_TEXT_H_
#define TXTPPT2_MODEL_UTF8_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace txtppt2 {

// Appends units UTF-16 code units as UTF-8; a surrogate without its partner
// becomes U+FFFD.
void AppendUtf16(std::string& out, const char16_t* units, size_t count);

// The same, up to the first NUL, with CR LF, a lone CR and VT each written
// as LF: the line breaks of the model's text.
void AppendUtf16Lines(std::string& out, const char16_t* units, size_t count);

// AppendUtf16 over little-endian bytes (an odd last byte is ignored), read
// where they lie whatever their alignment.
void AppendUtf16Le(std::string& out, std::string_view bytes);

}  // namespace txtppt2

#endif  // TXTPPT2_MODEL_UTF8_TEXT_H_
