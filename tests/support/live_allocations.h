// The blocks that operator new handed out on the calling thread and that
// are not deleted yet, counted by replacing the global operator new and
// delete of the test program. Lets a test prove that a call releases all
// it makes (the lock-bytes that structured storage reference-counts, say)
// where no leak checker runs. Counts only where the library's allocations
// go through the program's operators: a statically linked test program.
#ifndef TXTPPT2_TESTS_SUPPORT_LIVE_ALLOCATIONS_H_
#define TXTPPT2_TESTS_SUPPORT_LIVE_ALLOCATIONS_H_

namespace txtppt2::testing {

long LiveAllocations();

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_LIVE_ALLOCATIONS_H_
