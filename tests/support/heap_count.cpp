#include "support/heap_count.h"

#include <cstdlib>
#include <new>

#include "platform/windows.h"

namespace {
thread_local long liveBlocks = 0;
thread_local bool failGlobalAlloc = false;
}  // namespace

// Every unaligned form is replaced, not only the two the others end in:
// a sanitizer's runtime brings its own of each, and a block must be freed
// by the family that made it (std::stable_sort's buffer is a nothrow new).
void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  ++liveBlocks;
  return block;
}

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  --liveBlocks;
  std::free(block);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block, std::size_t) noexcept {
  operator delete(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  operator delete(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept {
  operator delete(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  operator delete(block);
}

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
long LiveHeapBlocks() { return liveBlocks; }
void SetGlobalAllocFailure(bool fail) { failGlobalAlloc = fail; }
}  // namespace txtppt2::testing
