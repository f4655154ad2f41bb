// Conversions and probes from memory hand Windows' structured storage a
// MemoryLockBytes of ours, which lives by reference counting. ole32 must
// give back every reference it takes, on success and on each failure, or
// every call would leak its lock-bytes. The test program counts its live
// allocations (support/live_allocations.h): after a first call has made
// the thread's error record, no call may leave a block behind.
#include <gtest/gtest.h>

#include <string>

#include "fixtures/compound_file_writer.h"
#include "fixtures/record_stream_builder.h"
#include "platform/windows.h"
#include "support/live_allocations.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

using testing::CompoundFileVersion;
using testing::CompoundFileWriter;

// A presentation stream padded to at least padding bytes (4096 and more go
// to sectors of their own, less to the mini stream).
std::string FileWith(CompoundFileVersion version, size_t padding) {
  testing::RecordStreamBuilder stream;
  stream.Container(kRtSlideListWithText).TextBytes("Slide");
  stream.Atom(0x0FFF, std::string(padding, 'p'));
  CompoundFileWriter writer(version);
  writer.AddStream(u"SummaryInformation", std::string(200, 's'));
  writer.AddStream(u"PowerPoint Document", stream.Bytes());
  return writer.Build();
}

TEST(Ole32LockBytesTest, EveryMemoryCallReleasesTheLockBytes) {
  CompoundFileWriter noDocument;
  noDocument.AddStream(u"Current User", std::string(40, 'u'));
  CompoundFileWriter documentIsStorage;
  documentIsStorage.AddStorage(u"PowerPoint Document");
  const struct {
    const char* name;
    std::string bytes;
    uint32_t code;
  } cases[] = {
      {"version 3, mini stream", FileWith(CompoundFileVersion::k3, 0), 0},
      {"version 3, regular stream", FileWith(CompoundFileVersion::k3, 6000), 0},
      {"version 4, regular stream", FileWith(CompoundFileVersion::k4, 5000), 0},
      {"no document stream", noDocument.Build(), 1003},
      {"document is a storage", documentIsStorage.Build(), 1003},
      {"not a compound file", std::string(600, 'x'), 4},
      {"shorter than a header", std::string(100, '\0'), 4},
  };
  uint32_t warmUp = 0;
  GlobalFree(ConvertMemoryToUnicode(cases[0].bytes.data(), 0, &warmUp));
  const long live = testing::LiveAllocations();
  for (const auto& c : cases) {
    const uint32_t size = static_cast<uint32_t>(c.bytes.size());
    for (auto convert : {ConvertMemoryToUnicode, ConvertMemoryToPureText}) {
      uint32_t count = size;
      void* block = convert(c.bytes.data(), 0, &count);
      const long after = testing::LiveAllocations();
      EXPECT_EQ(after, live) << c.name;
      EXPECT_EQ(GetErrorCode(), c.code) << c.name;
      EXPECT_EQ(block != nullptr, c.code == 0) << c.name;
      GlobalFree(block);
    }
    EXPECT_EQ(IsMemDataSupported(c.bytes.data(), size), c.code == 0) << c.name;
    EXPECT_EQ(testing::LiveAllocations(), live) << c.name << ", probe";
  }
}

}  // namespace
}  // namespace txtppt2
