// The batch runner's promises under load: every input is delivered once, in
// input order where asked, and however slow one early input is, no more
// than MaxHeld() inputs are started and not yet delivered at any time.
#include "batch_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace txtppt2::cli {
namespace {

TEST(BatchRunnerTest, SlowFirstInputHoldsBackTheWorkersNotTheTexts) {
  constexpr size_t kInputs = 200;
  for (Delivery delivery : {Delivery::kInInputOrder, Delivery::kAsFinished}) {
    for (unsigned jobs : {1u, 2u, 3u}) {
      BatchRunner runner(kInputs, jobs, delivery);
      std::mutex mutex;
      std::condition_variable othersStarted;
      std::atomic<size_t> started{0};
      std::atomic<size_t> delivered{0};
      size_t mostHeld = 0;
      std::vector<size_t> order;
      auto convert = [&](size_t index) {
        const size_t held = ++started - delivered;
        {
          std::lock_guard<std::mutex> lock(mutex);
          mostHeld = std::max(mostHeld, held);
        }
        othersStarted.notify_all();
        if (index == 0) {
          // Input 0 is slow: it ends once every other input has started,
          // or after a while where the runner rightly holds them back.
          std::unique_lock<std::mutex> lock(mutex);
          othersStarted.wait_for(lock, std::chrono::milliseconds(200),
                                 [&] { return started == kInputs; });
        }
        Conversion result;
        result.ok = index % 7 != 3;  // every seventh fails
        result.text = std::to_string(index);
        return result;
      };
      auto deliver = [&](size_t index, Conversion& result) {
        EXPECT_EQ(result.text, std::to_string(index));
        order.push_back(index);
        ++delivered;
        return index % 11 != 5;  // and every eleventh cannot be written
      };
      size_t failures =
          runner.Run(convert, deliver, [](const BatchProgress&) {});
      const std::string name =
          std::to_string(jobs) + " jobs, " +
          (delivery == Delivery::kAsFinished ? "as finished" : "in order");
      size_t expectedFailures = 0;
      for (size_t i = 0; i < kInputs; ++i)
        expectedFailures += i % 7 == 3 || i % 11 == 5;
      EXPECT_EQ(failures, expectedFailures) << name;
      EXPECT_LE(mostHeld, runner.MaxHeld()) << name;
      if (delivery == Delivery::kInInputOrder || jobs == 1) {
        for (size_t i = 0; i < order.size(); ++i)
          EXPECT_EQ(order[i], i) << name;
      } else {
        // Input 0 went last or nearly: the others did not wait for it.
        EXPECT_GE(std::find(order.begin(), order.end(), 0u) - order.begin(),
                  std::ptrdiff_t(runner.MaxHeld() - jobs))
            << name;
      }
      std::sort(order.begin(), order.end());
      for (size_t i = 0; i < kInputs; ++i) ASSERT_EQ(order.at(i), i) << name;
    }
  }
}

}  // namespace
}  // namespace txtppt2::cli
