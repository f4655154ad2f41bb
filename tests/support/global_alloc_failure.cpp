#include "support/global_alloc_failure.h"

#include "platform/windows.h"

namespace {
thread_local bool failGlobalAlloc = false;
}  // namespace

// The link wraps the library's GlobalAlloc and GlobalReAlloc (-Wl,--wrap)
// with these.
extern "C" HGLOBAL TXTPPT2_REAL_GLOBAL_ALLOC(UINT flags, SIZE_T bytes);
extern "C" HGLOBAL TXTPPT2_WRAP_GLOBAL_ALLOC(UINT flags, SIZE_T bytes) {
  if (failGlobalAlloc) return nullptr;
  return TXTPPT2_REAL_GLOBAL_ALLOC(flags, bytes);
}
extern "C" HGLOBAL TXTPPT2_REAL_GLOBAL_REALLOC(HGLOBAL block, SIZE_T bytes,
                                               UINT flags);
extern "C" HGLOBAL TXTPPT2_WRAP_GLOBAL_REALLOC(HGLOBAL block, SIZE_T bytes,
                                               UINT flags) {
  if (failGlobalAlloc) return nullptr;
  return TXTPPT2_REAL_GLOBAL_REALLOC(block, bytes, flags);
}

namespace txtppt2::testing {
void SetGlobalAllocFailure(bool fail) { failGlobalAlloc = fail; }
}  // namespace txtppt2::testing
