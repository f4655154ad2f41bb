// Passwords arrive as UTF-8 (the command's file or variable, Python's str);
// the key derivation hashes them as UTF-16LE.
#ifndef TXTPPT2_IDENTIFY_UTF8_TO_UTF16_H_
#define TXTPPT2_IDENTIFY_UTF8_TO_UTF16_H_

#include <string>

namespace txtppt2 {

// text as UTF-16: a character beyond U+FFFF becomes a surrogate pair; each
// byte of an invalid sequence (a stray or missing continuation byte, an
// overlong form, a surrogate, a point past U+10FFFF) becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_UTF8_TO_UTF16_H_
