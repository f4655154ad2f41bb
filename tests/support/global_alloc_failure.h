// GlobalAlloc and GlobalReAlloc that fail on demand, for the out-of-memory
// rows of the unit tests, without anything for tests in the library.
// Linked into the unit tests only (see tests/CMakeLists.txt).
#ifndef TXTPPT2_TESTS_SUPPORT_GLOBAL_ALLOC_FAILURE_H_
#define TXTPPT2_TESTS_SUPPORT_GLOBAL_ALLOC_FAILURE_H_

namespace txtppt2::testing {

// Makes every GlobalAlloc and GlobalReAlloc on the calling thread fail
// while set.
void SetGlobalAllocFailure(bool fail);

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_GLOBAL_ALLOC_FAILURE_H_
