// What every fuzz target checks after each input besides the sanitizers:
// a broken promise of the library aborts, so that libFuzzer keeps the input.
// Objects a call fails to release are LeakSanitizer's to find.
#ifndef TXTPPT2_FUZZ_FUZZ_CHECK_H_
#define TXTPPT2_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace txtppt2::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

// Every string of the presentation model is valid UTF-8.
inline void RequireValidUtf8(std::string_view text, const char* what) {
  size_t i = 0;
  while (i < text.size()) {
    auto byte = static_cast<unsigned char>(text[i]);
    size_t length = byte < 0x80    ? 1
                    : byte >= 0xF5 ? 0
                    : byte >= 0xF0 ? 4
                    : byte >= 0xE0 ? 3
                    : byte >= 0xC2 ? 2
                                   : 0;
    if (length == 0 || i + length > text.size()) Require(false, what);
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
        Require(false, what);
    i += length;
  }
}

}  // namespace txtppt2::fuzz

#endif  // TXTPPT2_FUZZ_FUZZ_CHECK_H_
