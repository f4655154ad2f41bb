// The yardstick of the conversion benchmarks: what a host does with a
// file's bytes at the least, a copy into a block of its own that it frees
// afterwards (malloc, memcpy, free), as it frees each conversion's result.
#ifndef TXTPPT2_BENCH_HOST_COPY_H_
#define TXTPPT2_BENCH_HOST_COPY_H_

#include <cstddef>

namespace txtppt2::bench {

// Copies size bytes of data into a fresh malloc'ed block and frees it; the
// copy is not optimised away. False when the block cannot be had.
bool HostCopy(const void* data, size_t size);

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_HOST_COPY_H_
