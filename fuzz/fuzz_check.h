// What every fuzz target checks after each input besides the sanitizers:
// a broken promise of the library aborts, so that libFuzzer keeps the input.
// Objects a call fails to release are LeakSanitizer's to find.
#ifndef TXTPPT2_FUZZ_FUZZ_CHECK_H_
#define TXTPPT2_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "../tests/support/table_check.h"
#include "../tests/support/utf8_check.h"

namespace txtppt2::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

// Every string of the presentation model is valid UTF-8.
inline void RequireValidUtf8(std::string_view text, const char* what) {
  Require(testing::IsValidUtf8(text), what);
}

}  // namespace txtppt2::fuzz

#endif  // TXTPPT2_FUZZ_FUZZ_CHECK_H_
