#include "batch_runner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace txtppt2::cli {
namespace {

// A conversion that throws (memory exhausted while copying a result) fails
// that one input instead of ending the process from a worker thread.
Conversion ConvertOne(const BatchRunner::ConvertFn& convert, size_t index) {
  try {
    return convert(index);
  } catch (const std::exception& error) {
    Conversion failed;
    failed.message = error.what();
    return failed;
  }
}

}  // namespace

BatchRunner::BatchRunner(size_t inputCount_, unsigned jobs_)
    : inputCount(inputCount_), jobs(std::max(jobs_, 1u)) {}

size_t BatchRunner::Run(const ConvertFn& convert, const DeliverFn& deliver,
                        const ProgressFn& progress) {
  if (jobs == 1 || inputCount <= 1) return RunHere(convert, deliver, progress);
  return RunOnThreads(convert, deliver, progress);
}

size_t BatchRunner::RunHere(const ConvertFn& convert, const DeliverFn& deliver,
                            const ProgressFn& progress) {
  BatchProgress state{0, inputCount, 0};
  progress(state);
  for (size_t i = 0; i < inputCount; ++i) {
    Conversion result = ConvertOne(convert, i);
    ++state.done;
    if (!result.ok) ++state.failed;
    progress(state);
    if (!deliver(i, result) && result.ok) {
      ++state.failed;
      progress(state);
    }
  }
  return state.failed;
}

size_t BatchRunner::RunOnThreads(const ConvertFn& convert,
                                 const DeliverFn& deliver,
                                 const ProgressFn& progress) {
  std::mutex mutex;
  std::condition_variable finished;
  std::vector<std::optional<Conversion>> slots(inputCount);
  std::atomic<size_t> next{0};
  size_t completed = 0;           // guarded by mutex
  size_t conversionFailures = 0;  // guarded by mutex

  auto work = [&] {
    for (size_t i = next++; i < inputCount; i = next++) {
      Conversion result = ConvertOne(convert, i);
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (!result.ok) ++conversionFailures;
        slots[i] = std::move(result);
        ++completed;
      }
      finished.notify_one();
    }
  };
  size_t threadCount = std::min<size_t>(jobs, inputCount);
  std::vector<std::thread> workers;
  workers.reserve(threadCount);
  for (size_t t = 0; t < threadCount; ++t) workers.emplace_back(work);

  BatchProgress state{0, inputCount, 0};
  progress(state);
  size_t deliveryFailures = 0;
  size_t delivered = 0;
  std::unique_lock<std::mutex> lock(mutex);
  while (delivered < inputCount) {
    finished.wait(lock, [&] {
      return completed != state.done || slots[delivered].has_value();
    });
    state.done = completed;
    state.failed = conversionFailures + deliveryFailures;
    // The results next in line are taken out under the lock and delivered
    // without it, so that workers go on meanwhile.
    std::vector<std::pair<size_t, Conversion>> ready;
    for (; delivered < inputCount && slots[delivered]; ++delivered) {
      ready.emplace_back(delivered, std::move(*slots[delivered]));
      slots[delivered].reset();
    }
    lock.unlock();
    progress(state);
    for (auto& [index, result] : ready) {
      if (!deliver(index, result) && result.ok) {
        ++deliveryFailures;
        ++state.failed;
        progress(state);
      }
    }
    lock.lock();
  }
  lock.unlock();
  for (std::thread& worker : workers) worker.join();
  return conversionFailures + deliveryFailures;
}

}  // namespace txtppt2::cli
