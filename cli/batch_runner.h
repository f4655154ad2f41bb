// BatchRunner: converts a list of inputs on up to N threads and hands each
// result back on the calling thread. In input order (the default), what is
// written never depends on the number of threads or on which conversion
// finishes first; as they finish (for outputs that go to files of their
// own), no result waits for a slower one.
//
// Workers take the next input from a shared counter and park the result in
// its slot; the calling thread wakes on every completion, reports progress
// and delivers the finished results that may go. What is held is bounded:
// an input starts only while fewer than MaxHeld() results are started and
// not yet delivered, so one slow input holds back the workers, never an
// unbounded pile of texts in memory. The library keeps its error record
// per thread, so conversions on different threads do not see each other's
// errors.
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

enum class Delivery { kInInputOrder, kAsFinished };

class BatchRunner {
 public:
  // Runs on a worker thread (or the calling one): converts input `index`.
  using ConvertFn = std::function<Conversion(size_t index)>;
  // Runs on the calling thread, once per input; answers false when the
  // result could not be written out, which counts as a failure.
  using DeliverFn = std::function<bool(size_t index, Conversion& result)>;
  // Runs on the calling thread whenever the progress changes.
  using ProgressFn = std::function<void(const BatchProgress&)>;

  // jobs: the number of threads, at least 1; with 1 (or one input) no
  // thread is started and each result is delivered as soon as it is made.
  BatchRunner(size_t inputCount, unsigned jobs,
              Delivery delivery = Delivery::kInInputOrder);

  // Converts and delivers every input; returns the number of failures.
  size_t Run(const ConvertFn& convert, const DeliverFn& deliver,
             const ProgressFn& progress);

  // The most inputs started and not yet delivered at any one time.
  size_t MaxHeld() const { return jobs * kHeldPerThread; }

 private:
  // Enough for every worker to go on past a few slow inputs.
  static constexpr size_t kHeldPerThread = 4;

  size_t RunHere(const ConvertFn& convert, const DeliverFn& deliver,
                 const ProgressFn& progress);
  size_t RunOnThreads(const ConvertFn& convert, const DeliverFn& deliver,
                      const ProgressFn& progress);

  size_t inputCount;
  unsigned jobs;
  Delivery delivery;
};

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_BATCH_RUNNER_H_
