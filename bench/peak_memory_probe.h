// The peak memory that one piece of work adds to a process, measured in a
// child process so that the parent's own peak does not hide it.
#ifndef TXTPPT2_BENCH_PEAK_MEMORY_PROBE_H_
#define TXTPPT2_BENCH_PEAK_MEMORY_PROBE_H_

#include <cstdint>
#include <functional>

namespace txtppt2::bench {

// Runs work once in a forked child: freed heap is handed back first, the
// peak is reset (/proc/self/clear_refs), and the peak resident size after
// the work is compared with the resident size before it. The bytes added,
// or -1 where the system cannot tell. Whatever work needs resident must be
// loaded before the call, so that it is shared with the child.
int64_t PeakOfOneRun(const std::function<void()>& work);

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_PEAK_MEMORY_PROBE_H_
