// What every fuzz target checks after each input besides the sanitizers:
// a broken promise of the library aborts, so that libFuzzer keeps the input.
// Objects a call fails to release are LeakSanitizer's to find.
#ifndef TXTPPT2_FUZZ_FUZZ_CHECK_H_
#define TXTPPT2_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

namespace txtppt2::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

}  // namespace txtppt2::fuzz

#endif  // TXTPPT2_FUZZ_FUZZ_CHECK_H_
