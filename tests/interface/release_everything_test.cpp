// Every memory conversion and probe releases all it makes, on success and
// on each failure, whatever the damage: the reader's reference-counted
// storages and streams, the lock-bytes, the walkers' buffers. The test
// program counts its live allocations (support/live_allocations.h).
#include <gtest/gtest.h>

#include "driver/conversion_driver.h"
#include "interface/conversion_error_state.h"
#include "support/live_allocations.h"
#include "support/sample_files.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

TEST(ReleaseEverythingTest, MemoryCallsLeaveNoAllocationBehind) {
  const auto& samples = testing::SampleFiles();
  uint32_t count = 0;
  // The first call makes the thread's error record, which stays.
  GlobalFree(ConvertMemoryToUnicode(samples[0].bytes.data(), 0, &count));
  for (const testing::SampleFile& sample : samples) {
    const long live = testing::LiveAllocations();
    const auto* data = reinterpret_cast<const BYTE*>(sample.bytes.data());
    const auto size = static_cast<uint32_t>(sample.bytes.size());
    for (auto convert : {ConvertMemoryToUnicode, ConvertMemoryToPureText}) {
      count = size;
      GlobalFree(convert(data, 0, &count));
    }
    EXPECT_EQ(IsMemDataSupported(data, size), sample.errorCode == 0);
    ConversionErrorState outcome;
    count = size;
    GlobalFree(ConvertMemory(data, kUnicode, &count, outcome, kCompleteText));
    EXPECT_EQ(testing::LiveAllocations(), live) << sample.name;
  }
}

}  // namespace
}  // namespace txtppt2
