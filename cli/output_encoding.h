// What the command writes for one converted text: the library's result
// block, re-encoded or passed through according to --encoding and --lf.
#ifndef TXTPPT2_CLI_OUTPUT_ENCODING_H_
#define TXTPPT2_CLI_OUTPUT_ENCODING_H_

#include <string>
#include <string_view>

#include "options.h"

namespace txtppt2::cli {

// Whether the encoding is made from the Unicode call's result (UTF-16LE);
// otherwise it is the pure-text call's (Windows-1252).
bool UsesUnicodeCall(Encoding encoding);

// UTF-16LE to UTF-8. A surrogate without its partner becomes U+FFFD; an odd
// last byte is dropped.
std::string Utf16LeToUtf8(std::string_view utf16le);

// Turns every CR LF into LF, in text of 1-byte or (UTF-16LE) 2-byte units.
void CrLfToLf(std::string& text, size_t unitWidth);

// The bytes to write for a converted text: `converted` holds what the call
// chosen by UsesUnicodeCall(encoding) returned.
std::string EncodeOutput(std::string converted, Encoding encoding,
                         bool lfLineEnds);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_OUTPUT_ENCODING_H_
