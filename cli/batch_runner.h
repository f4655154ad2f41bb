// BatchRunner: converts a list of inputs on up to N threads and hands each
// result back on the calling thread, in the order of the inputs, so that
// what is written never depends on the number of threads or on which
// conversion finishes first.
//
// Workers take the next input from a shared counter and park the result in
// its slot; the calling thread wakes on every completion, reports progress
// and delivers the finished results that are next in line. A result waits
// in memory only until the ones before it are done. The library keeps its
// error record per thread, so conversions on different threads do not see
// each other's errors.
#ifndef TXTPPT2_CLI_BATCH_RUNNER_H_
#define TXTPPT2_CLI_BATCH_RUNNER_H_

#include <cstddef>
#include <functional>

#include "library_conversion.h"

namespace txtppt2::cli {

struct BatchProgress {
  size_t done = 0;  // conversions finished
  size_t total = 0;
  size_t failed = 0;  // failed conversions and failed deliveries so far
};

class BatchRunner {
 public:
  // Runs on a worker thread (or the calling one): converts input `index`.
  using ConvertFn = std::function<Conversion(size_t index)>;
  // Runs on the calling thread, in input order; answers false when the
  // result could not be written out, which counts as a failure.
  using DeliverFn = std::function<bool(size_t index, Conversion& result)>;
  // Runs on the calling thread whenever the progress changes.
  using ProgressFn = std::function<void(const BatchProgress&)>;

  // jobs: the number of threads, at least 1; with 1 (or one input) no
  // thread is started.
  BatchRunner(size_t inputCount, unsigned jobs);

  // Converts and delivers every input; returns the number of failures.
  size_t Run(const ConvertFn& convert, const DeliverFn& deliver,
             const ProgressFn& progress);

 private:
  size_t RunHere(const ConvertFn& convert, const DeliverFn& deliver,
                 const ProgressFn& progress);
  size_t RunOnThreads(const ConvertFn& convert, const DeliverFn& deliver,
                      const ProgressFn& progress);

  size_t inputCount;
  unsigned jobs;
};

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_BATCH_RUNNER_H_
