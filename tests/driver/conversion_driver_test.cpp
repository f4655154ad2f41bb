#include "driver/conversion_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/support_probes.h"
#include "fixtures/record_stream_builder.h"
#include "interface/conversion_error_state.h"
#include "support/fake_storage.h"

namespace txtppt2 {
namespace {

using testing::FakeStorage;
using testing::FakeStream;
using testing::FakeStreamBehaviour;

constexpr uint32_t kUntouched = 0xDEADBEEF;

std::string OneSlideText() {
  return testing::RecordStreamBuilder()
      .Container(0x0FF0)
      .TextBytes("Hello")
      .Bytes();
}

struct Outcome {
  bool gotBlock;
  uint32_t count;  // in characters
  std::string message;
  uint32_t code;
};

// Runs one conversion; a block must hold the text ("Hello\r\n" cut to
// count) and a NUL of the output's width. The refused result block is
// RefusedResultBlockIsOutOfMemory's.
Outcome RunConversion(HRESULT openResult, FakeStreamBehaviour behaviour,
                      OutputMode mode) {
  ConversionErrorState errors;
  errors.SetConversionError("stale", 77);
  auto* fake = new FakeStorage(openResult, std::move(behaviour));
  fake->AddRef();
  uint32_t count = kUntouched;
  unsigned char* block;
  {
    CompoundStorage storage(fake);
    block = static_cast<unsigned char*>(
        ConvertStorage(storage, mode, &count, errors));
  }
  // The document stream is opened read-only and exclusive.
  EXPECT_EQ(fake->lastName, u"PowerPoint Document");
  EXPECT_EQ(fake->lastMode, 0x10u);
  fake->Release();
  char message[1024];
  errors.CopyMessage(message, sizeof message);
  uint32_t width = mode == kUnicode ? 2 : 1;
  if (block != nullptr) {
    for (uint32_t i = 0; i < count + width; ++i)
      EXPECT_EQ(block[i],
                i < count && i % width == 0 ? "Hello\r\n"[i / width] : 0);
    count /= width;
  }
  GlobalFree(block);
  return {block != nullptr, count, message, errors.ReportedCode()};
}

TEST(ConversionDriverTest, FailureTable) {
  const std::string text = OneSlideText();
  struct Case {
    const char* name;
    HRESULT openResult;
    FakeStreamBehaviour behaviour;
    Outcome expected;
  };
  // Each storage failure the reader reports becomes its message with code
  // 4 (the reader's table of results is tested with the reader); the end
  // of the data ends the text.
  // clang-format off
  const Case cases[] = {
      {"success", S_OK, {text}, {true, 7, "", 0}},
      {"empty stream", S_OK, {""}, {true, 0, "", 0}},
      {"a stream of NULs", S_OK, {std::string("\0\0\0", 3)}, {true, 0, "", 0}},
      {"informational open result", 2, {text}, {true, 7, "", 0}},
      {"no stream", STG_E_FILENOTFOUND, {text}, {false, 0, "Unsupported data format", 1003}},
      {"stream refused", STG_E_ACCESSDENIED, {text}, {false, 0, "Unsupported data format", 1003}},
      {"size unknown", S_OK, {text, {}, {}, S_OK, STG_E_ACCESSDENIED},
       {false, 0, "Can't determine stream size", 4}},
      {"read answers S_FALSE", S_OK, {text, S_FALSE}, {false, 0, "IStream read error", 4}},
      {"unlisted read failure, short count", S_OK, {text, E_FAIL, 0}, {true, 0, "", 0}},
      {"seek fails", S_OK, {text, {}, {}, STG_E_INVALIDFUNCTION}, {false, 0, "IStream seek error", 4}},
      {"non-standard exception", S_OK, {text, {}, {}, S_OK, S_OK, true},
       {false, 0, "Exception caught", 4}},
  };
  // clang-format on
  for (const auto& c : cases) {
    for (OutputMode mode : {kPureText, kUnicode}) {
      Outcome got = RunConversion(c.openResult, c.behaviour, mode);
      EXPECT_EQ(got.gotBlock, c.expected.gotBlock) << c.name;
      EXPECT_EQ(got.count, c.expected.count) << c.name;
      EXPECT_EQ(got.message, c.expected.message) << c.name;
      EXPECT_EQ(got.code, c.expected.code) << c.name;
      EXPECT_EQ(FakeStream::LiveCount(), 0) << c.name << ": not released";
    }
  }
}

HGLOBAL WINAPI RefuseAllocate(UINT, SIZE_T) { return nullptr; }
HGLOBAL WINAPI RefuseReallocate(HGLOBAL, SIZE_T, UINT) { return nullptr; }

// A result block that cannot be had ends the conversion with "Out of
// memory" and releases everything, in both widths.
TEST(ConversionDriverTest, RefusedResultBlockIsOutOfMemory) {
  for (OutputMode mode : {kPureText, kUnicode}) {
    ConversionErrorState errors;
    errors.SetConversionError("stale", 77);
    uint32_t count = kUntouched;
    HGLOBAL block;
    {
      CompoundStorage storage(new FakeStorage(S_OK, {OneSlideText()}));
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
    EXPECT_EQ(FakeStream::LiveCount(), 0) << mode;
  }
}

// The probe takes only S_OK for a stream (an exception is no stream), and
// releases any it is given.
TEST(SupportProbesTest, OnlySOkOpensTheStream) {
  for (HRESULT opened : {S_OK, HRESULT{2}, STG_E_FILENOTFOUND, E_OUTOFMEMORY}) {
    auto* fake = new FakeStorage(opened, {OneSlideText()});  // one reference
    EXPECT_EQ(HasDocumentStream(fake), opened == S_OK) << opened;
    EXPECT_EQ(fake->lastName, u"PowerPoint Document");
    EXPECT_EQ(fake->lastMode, 0x10u);
    fake->Release();
    EXPECT_EQ(FakeStream::LiveCount(), 0) << opened;
  }
}

}  // namespace
}  // namespace txtppt2
