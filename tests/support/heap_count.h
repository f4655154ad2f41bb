// The test binary's own operator new and delete, which count the blocks
// the calling thread holds, and a GlobalAlloc and GlobalReAlloc that fail
// on demand: leak and out-of-memory checks without anything for tests in
// the library.
// Linked into the unit tests only (see tests/CMakeLists.txt).
#ifndef TXTPPT2_TESTS_SUPPORT_HEAP_COUNT_H_
#define TXTPPT2_TESTS_SUPPORT_HEAP_COUNT_H_

namespace txtppt2::testing {

// Blocks from operator new the calling thread holds now.
long LiveHeapBlocks();

// Makes every GlobalAlloc and GlobalReAlloc on the calling thread fail
// while set.
void SetGlobalAllocFailure(bool fail);

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_HEAP_COUNT_H_
