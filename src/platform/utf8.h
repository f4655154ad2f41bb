// One code point from and to UTF-8, as the library's UTF-8 readers (the
// platform's code page 65001, passwords) and writers (that code page, the
// model's text, the renderers' repairs) share it.
#ifndef TXTPPT2_PLATFORM_UTF8_H_
#define TXTPPT2_PLATFORM_UTF8_H_

#include <cstddef>

namespace txtppt2 {

// The most bytes one code point takes.
constexpr int kMaxUtf8Bytes = 4;

// The length of the valid UTF-8 sequence at s (of at most n > 0 bytes),
// with its code point in *cp; 0 when the bytes there are not valid UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
inline int DecodeUtf8(const unsigned char* s, size_t n, char32_t* cp) {
  unsigned char b = s[0];
  if (b < 0x80) {
    *cp = b;
    return 1;
  }
  int len;
  char32_t min;
  char32_t value;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, min = 0x80, value = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, min = 0x800, value = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, min = 0x10000, value = b & 0x07;
  } else {
    return 0;
  }
  if (static_cast<size_t>(len) > n) return 0;
  for (int i = 1; i < len; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (s[i] & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  *cp = value;
  return len;
}

// Writes cp, a Unicode scalar value (no surrogate, at most U+10FFFF), at p
// in one to four bytes; returns the end of what it wrote.
inline char* EncodeUtf8(char* p, char32_t cp) {
  if (cp < 0x80) {
    *p++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *p++ = static_cast<char>(0xC0 | (cp >> 6));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *p++ = static_cast<char>(0xE0 | (cp >> 12));
    *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *p++ = static_cast<char>(0xF0 | (cp >> 18));
    *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return p;
}

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_UTF8_H_
