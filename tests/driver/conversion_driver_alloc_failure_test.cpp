// A result block that cannot be had ends the conversion with "Out of
// memory" and releases everything, in both widths.
#include <gtest/gtest.h>

#include <string>

#include "driver/conversion_driver.h"
#include "fixtures/record_stream_builder.h"
#include "interface/conversion_error_state.h"
#include "support/fake_storage.h"

namespace txtppt2 {
namespace {

HGLOBAL WINAPI RefuseAllocate(UINT, SIZE_T) { return nullptr; }
HGLOBAL WINAPI RefuseReallocate(HGLOBAL, SIZE_T, UINT) { return nullptr; }

TEST(ConversionDriverAllocFailureTest, RefusedResultBlockIsOutOfMemory) {
  const std::string stream = testing::RecordStreamBuilder()
                                 .Container(0x0FF0)
                                 .TextBytes("Hello")
                                 .Bytes();
  for (OutputMode mode : {kPureText, kUnicode}) {
    ConversionErrorState errors;
    errors.SetConversionError("stale", 77);
    uint32_t count = 0xDEADBEEF;
    HGLOBAL block;
    {
      CompoundStorage storage(new testing::FakeStorage(S_OK, {stream}));
      block = ConvertStorage(storage, mode, &count, errors, kExactText,
                             {RefuseAllocate, RefuseReallocate});
    }
    EXPECT_EQ(block, nullptr) << mode;
    // The count is set before the block is asked for.
    EXPECT_EQ(count, mode == kUnicode ? 14u : 7u) << mode;
    char message[64];
    EXPECT_EQ(errors.CopyMessage(message, sizeof message), 1) << mode;
    EXPECT_STREQ(message, "Out of memory") << mode;
    EXPECT_EQ(errors.ReportedCode(), uint32_t{txtppt2_conversion_failed})
        << mode;
    EXPECT_EQ(testing::FakeStream::LiveCount(), 0) << mode;
  }
}

}  // namespace
}  // namespace txtppt2
