// What every fuzz target checks after each input besides the sanitizers:
// a broken promise of the library aborts, so that libFuzzer keeps the input.
#ifndef TXTPPT2_FUZZ_FUZZ_CHECK_H_
#define TXTPPT2_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#include "storage/memory_lock_bytes.h"

namespace txtppt2::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

// After a call returns, nothing it made may still be alive.
inline void RequireEverythingReleased() {
  Require(MemoryLockBytes::LiveCount() == 0,
          "a MemoryLockBytes is still alive");
  // The reader's own objects are LeakSanitizer's to find.
}

}  // namespace txtppt2::fuzz

#endif  // TXTPPT2_FUZZ_FUZZ_CHECK_H_
