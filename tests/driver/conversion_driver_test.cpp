#include "driver/conversion_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interface/conversion_error_state.h"
#include "storage/check_storage_result.h"
#include "storage/memory_lock_bytes.h"
#include "support/fake_storage.h"
#include "fixtures/record_stream_builder.h"

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
  uint32_t count;
  std::string message;
  uint32_t code;
};

// The refused result block is tested where the platform lets GlobalAlloc
// fail on demand: conversion_driver_alloc_failure_test.cpp.
Outcome RunConversion(HRESULT openResult, FakeStreamBehaviour behaviour,
                      OutputMode mode = kPureText) {
  ConversionErrorState errors;
  errors.SetConversionError("stale", 77);
  CompoundStorage storage(new FakeStorage(openResult, std::move(behaviour)));
  uint32_t count = kUntouched;
  HGLOBAL block = ConvertStorage(storage, mode, &count, errors);
  char message[1024];
  errors.CopyMessage(message, sizeof message);
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
  const Case cases[] = {
      {"success", S_OK, {text}, {true, 7, "", 0}},
      {"informational open result is success", 2, {text}, {true, 7, "", 0}},
      {"no stream", STG_E_FILENOTFOUND, {text},
       {false, 0, "Unsupported data format", 1003}},
      {"stream refused for another reason", STG_E_ACCESSDENIED, {text},
       {false, 0, "Unsupported data format", 1003}},
      {"size unknown", S_OK, {text, {}, {}, S_OK, STG_E_ACCESSDENIED},
       {false, 0, "Can't determine stream size", 4}},
      {"read answers S_FALSE", S_OK, {text, S_FALSE},
       {false, 0, "IStream read error", 4}},
      {"read answers access denied", S_OK, {text, STG_E_ACCESSDENIED},
       {false, 0,
        "Access denied because the caller has insufficient permission, or "
        "another caller has the file open and locked",
        4}},
      {"read answers reverted", S_OK, {text, STG_E_REVERTED},
       {false, 0,
        "The storage object has been invalidated by a revert operation above "
        "it in the transaction tree",
        4}},
      {"read answers invalid pointer", S_OK, {text, STG_E_INVALIDPOINTER},
       {false, 0, "Error in parameters", 4}},
      {"unlisted read failure with short count is the end", S_OK,
       {text, E_FAIL, 0}, {true, 0, "", 0}},
      {"unlisted read failure with full count is a good read", S_OK,
       {text, STG_E_READFAULT}, {true, 7, "", 0}},
      {"seek fails", S_OK, {text, {}, {}, STG_E_INVALIDFUNCTION},
       {false, 0, "IStream seek error", 4}},
      {"non-standard exception", S_OK, {text, {}, {}, S_OK, S_OK, true},
       {false, 0, "Exception caught", 4}},
  };
  for (const auto& c : cases) {
    Outcome got = RunConversion(c.openResult, c.behaviour);
    EXPECT_EQ(got.gotBlock, c.expected.gotBlock) << c.name;
    EXPECT_EQ(got.count, c.expected.count) << c.name;
    EXPECT_EQ(got.message, c.expected.message) << c.name;
    EXPECT_EQ(got.code, c.expected.code) << c.name;
    EXPECT_EQ(FakeStream::LiveCount(), 0) << c.name << ": a fake was not released";
  }
}

TEST(ConversionDriverTest, OpensTheDocumentStreamReadOnlyAndExclusive) {
  auto* fake = new FakeStorage(S_OK, {OneSlideText()});
  fake->AddRef();
  {
    CompoundStorage storage(fake);
    ConversionErrorState errors;
    uint32_t count = 0;
    GlobalFree(ConvertStorage(storage, kUnicode, &count, errors));
  }
  EXPECT_EQ(fake->lastName, u"PowerPoint Document");
  EXPECT_EQ(fake->lastMode, 0x10u);
  fake->Release();
}

// Block layout: the text, then one NUL of the output's width.
TEST(ConversionDriverTest, BlockLayoutInBothWidths) {
  for (OutputMode mode : {kPureText, kUnicode}) {
    for (const std::string& stream :
         {OneSlideText(), std::string(), std::string("\0\0\0", 3)}) {
      ConversionErrorState errors;
      CompoundStorage storage(new FakeStorage(S_OK, {stream}));
      uint32_t count = kUntouched;
      auto* block = static_cast<unsigned char*>(
          ConvertStorage(storage, mode, &count, errors));
      ASSERT_NE(block, nullptr);
      size_t width = mode == kUnicode ? 2 : 1;
      size_t chars = stream.empty() || stream[0] == 0 ? 0 : 7;
      EXPECT_EQ(count, chars * width);
      for (size_t i = 0; i < width; ++i) EXPECT_EQ(block[count + i], 0);
      if (chars != 0) {
        EXPECT_EQ(block[0], 'H');
        EXPECT_EQ(block[width], 'e');
      }
      EXPECT_EQ(errors.ReportedCode(), 0u);
      GlobalFree(block);
    }
  }
}

// What the platform's structured storage answers for a block of memory.
HRESULT OpenResultOf(const std::string& bytes) {
  auto* lockBytes = new MemoryLockBytes(
      reinterpret_cast<const BYTE*>(bytes.data()),
      static_cast<ULONG>(bytes.size()));
  lockBytes->AddRef();
  IStorage* storage = nullptr;
  HRESULT result = StgOpenStorageOnILockBytes(
      lockBytes, nullptr, kStorageOpenMode, nullptr, 0, &storage);
  if (storage != nullptr) storage->Release();
  lockBytes->Release();
  return result;
}

TEST(ConversionDriverTest, StorageThatWillNotOpenKeepsTheCount) {
  ConversionErrorState errors;
  const std::string notStorage(600, 'x');
  uint32_t count = static_cast<uint32_t>(notStorage.size());
  EXPECT_EQ(ConvertMemory(reinterpret_cast<const BYTE*>(notStorage.data()),
                          kUnicode, &count, errors),
            nullptr);
  EXPECT_EQ(count, notStorage.size());
  char message[100];
  EXPECT_EQ(errors.CopyMessage(message, sizeof message), 1);
  // The message of the platform's own answer: "The file is not a storage
  // object" (STG_E_FILEALREADYEXISTS) from our reader; Wine's ole32 says
  // STG_E_INVALIDHEADER for a block, an unknown error to the converter.
  HRESULT opened = OpenResultOf(notStorage);
  EXPECT_LT(opened, 0);
  EXPECT_STREQ(message, StorageResultMessage(opened));
  EXPECT_EQ(errors.ReportedCode(), 4u);

  count = kUntouched;
  EXPECT_EQ(ConvertFile(TXTPPT2_WTEXT("/nonexistent-folder/x.ppt"), kPureText,
                        &count, errors),
            nullptr);
  EXPECT_EQ(count, kUntouched);
  errors.CopyMessage(message, sizeof message);
  EXPECT_STREQ(message, "The path specified does not exist");
}

}  // namespace
}  // namespace txtppt2
