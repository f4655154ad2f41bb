// Whether bytes are well-formed UTF-8 (no stray continuation, overlong
// two-byte form, lead byte past U+10FFFF's or sequence cut short), as the
// unit tests and the fuzz targets check every string of the model.
#ifndef TXTPPT2_TESTS_SUPPORT_UTF8_CHECK_H_
#define TXTPPT2_TESTS_SUPPORT_UTF8_CHECK_H_

#include <string_view>

namespace txtppt2::testing {

inline bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    auto byte = static_cast<unsigned char>(text[i]);
    size_t length = byte < 0x80 ? 1 : byte >= 0xF5 ? 0 : byte >= 0xF0 ? 4
                    : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
        return false;
    i += length;
  }
  return true;
}

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_UTF8_CHECK_H_
