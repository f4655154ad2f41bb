#include "batch_runner.h"

#include <algorithm>
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

BatchRunner::BatchRunner(size_t inputCount_, unsigned jobs_, Delivery delivery_)
    : inputCount(inputCount_), jobs(std::max(jobs_, 1u)), delivery(delivery_) {}

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
  const size_t maxHeld = MaxHeld();
  // All guarded by mutex: the parked results, the finished inputs not yet
  // taken for delivery in the order they finished, and the counts.
  std::mutex mutex;
  std::condition_variable finished;  // a result was parked
  std::condition_variable room;      // results were delivered
  std::vector<std::optional<Conversion>> slots(inputCount);
  std::vector<size_t> finishedOrder;
  size_t started = 0;
  size_t completed = 0;
  size_t delivered = 0;
  size_t conversionFailures = 0;

  auto work = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      room.wait(lock, [&] {
        return started == inputCount || started - delivered < maxHeld;
      });
      if (started == inputCount) return;
      const size_t i = started++;
      lock.unlock();
      Conversion result = ConvertOne(convert, i);
      lock.lock();
      if (!result.ok) ++conversionFailures;
      slots[i] = std::move(result);
      finishedOrder.push_back(i);
      ++completed;
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
  size_t nextInLine = 0;  // in input order: the first input not yet taken
  std::unique_lock<std::mutex> lock(mutex);
  while (delivered < inputCount) {
    // Every result that may go is taken at each wake-up, so a completion
    // is the only thing worth waiting for.
    finished.wait(lock, [&] { return completed != state.done; });
    state.done = completed;
    state.failed = conversionFailures + deliveryFailures;
    std::vector<std::pair<size_t, Conversion>> ready;
    if (delivery == Delivery::kInInputOrder) {
      for (; nextInLine < inputCount && slots[nextInLine]; ++nextInLine)
        ready.emplace_back(nextInLine, std::move(*slots[nextInLine]));
    } else {
      for (size_t index : finishedOrder)
        ready.emplace_back(index, std::move(*slots[index]));
    }
    finishedOrder.clear();
    for (auto& [index, result] : ready) slots[index].reset();
    // Delivered without the lock, so that workers go on meanwhile.
    lock.unlock();
    progress(state);
    for (auto& [index, result] : ready) {
      if (!deliver(index, result) && result.ok) {
        ++deliveryFailures;
        ++state.failed;
        progress(state);
      }
    }
    const size_t count = ready.size();
    ready.clear();
    lock.lock();
    delivered += count;
    room.notify_all();
  }
  lock.unlock();
  for (std::thread& worker : workers) worker.join();
  return conversionFailures + deliveryFailures;
}

}  // namespace txtppt2::cli
