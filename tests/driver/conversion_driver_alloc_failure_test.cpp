// A result block that cannot be had ends the conversion with "Out of
// memory" and releases everything, in both widths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/conversion_driver.h"
#include "extract/output_text_stream.h"
#include "fixtures/record_stream_builder.h"
#include "interface/conversion_error_state.h"
#include "support/fake_storage.h"
#include "support/global_alloc_failure.h"

namespace txtppt2 {
namespace {

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
      testing::SetGlobalAllocFailure(true);
      block = ConvertStorage(storage, mode, &count, errors);
      testing::SetGlobalAllocFailure(false);
    }
    EXPECT_EQ(block, nullptr) << mode;
    // The count is set before the block is asked for.
    EXPECT_EQ(count, mode == kUnicode ? 14u : 7u) << mode;
    char message[64];
    EXPECT_EQ(errors.CopyMessage(message, sizeof message), 1) << mode;
    EXPECT_STREQ(message, "Out of memory") << mode;
    EXPECT_EQ(errors.ReportedCode(), 4u) << mode;
    EXPECT_EQ(testing::FakeStream::LiveCount(), 0) << mode;
  }
}

// The text's block cannot grow in the middle of the walk (or be trimmed at
// its end): the stream drops it and goes on measuring, so the length is
// still known (trailing NULs cut, wherever they were written), and no block
// is handed out.
TEST(ConversionDriverAllocFailureTest, StreamThatLosesItsBlockStillMeasures) {
  const std::string big(5000, 'x');  // more than a first block holds
  const std::string nuls(3, '\0');
  struct Case {
    std::vector<std::string> pieces;
    size_t failingFrom;  // allocations fail from this piece (or the trim) on
  };
  const Case cases[] = {
      {{"ab", big, "cd"}, 1}, {{"ab" + nuls, big}, 1},       {{big, nuls}, 1},
      {{"ab", nuls}, 0},      {{"ab", big, "cd" + nuls}, 3},
  };
  for (const Case& c : cases) {
    std::string whole;
    NarrowOutputStream out;
    for (size_t i = 0; i <= c.pieces.size(); ++i) {
      if (i == c.failingFrom) txtppt2::testing::SetGlobalAllocFailure(true);
      if (i == c.pieces.size()) break;
      out.Write(c.pieces[i].data(), c.pieces[i].size());
      whole += c.pieces[i];
    }
    HGLOBAL block = out.TakeBlock(out.TextLength());
    txtppt2::testing::SetGlobalAllocFailure(false);
    EXPECT_EQ(block, nullptr) << whole.size();
    EXPECT_EQ(out.Length(), whole.size());
    EXPECT_EQ(out.TextLength(), whole.find_last_not_of('\0') + 1)
        << whole.size();
  }
}

}  // namespace
}  // namespace txtppt2
