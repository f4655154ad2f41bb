// Conversions and probes from memory hand Windows' structured storage a
// MemoryLockBytes of ours, which lives by reference counting. ole32 must
// give back every reference it takes, on success and on each failure, or
// every call would leak its lock-bytes; and the result must be what the
// file holds.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows.h"
#include "storage/memory_lock_bytes.h"
#include "fixtures/compound_file_writer.h"
#include "fixtures/record_stream_builder.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

using testing::CompoundFileVersion;
using testing::CompoundFileWriter;


// A presentation stream of n slides, "Slide 1" to "Slide n", padded with
// unknown atoms to at least padding bytes (4096 and more go to sectors of
// their own, less to the mini stream).
std::string Presentation(int slides, size_t padding) {
  testing::RecordStreamBuilder b;
  b.Container(RT_SlideListWithText);
  for (int i = 1; i <= slides; ++i) {
    b.Container(RT_Slide).Container(RT_SlideListWithText);
    b.TextBytes("Slide " + std::to_string(i));
  }
  if (b.Bytes().size() < padding)
    b.Atom(0x0FFF, std::string(padding - b.Bytes().size(), 'p'));
  return b.Bytes();
}

std::string ExpectedText(int slides) {
  std::string text;
  for (int i = 1; i <= slides; ++i) {
    if (i > 1) text += std::string(30, '-') + "\r\n";
    text += "Slide " + std::to_string(i) + "\r\n";
  }
  return text;
}

std::string FileWith(CompoundFileVersion version, const std::string& stream) {
  CompoundFileWriter writer(version);
  writer.AddStream(u"SummaryInformation", std::string(200, 's'));
  writer.AddStream(u"PowerPoint Document", stream);
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
    int slides;  // when the conversion succeeds
  } cases[] = {
      {"version 3, mini stream",
       FileWith(CompoundFileVersion::k3, Presentation(2, 0)), 0, 2},
      {"version 3, regular stream",
       FileWith(CompoundFileVersion::k3, Presentation(9, 6000)), 0, 9},
      {"version 4, regular stream",
       FileWith(CompoundFileVersion::k4, Presentation(5, 5000)), 0, 5},
      {"no document stream", noDocument.Build(), 1003, 0},
      {"document is a storage", documentIsStorage.Build(), 1003, 0},
      {"not a compound file", std::string(600, 'x'), 4, 0},
      {"shorter than a header", std::string(100, '\0'), 4, 0},
  };
  ASSERT_EQ(MemoryLockBytes::LiveCount(), 0);
  for (const auto& c : cases) {
    const std::string expected = ExpectedText(c.slides);
    const uint32_t size = static_cast<uint32_t>(c.bytes.size());

    uint32_t count = size;
    void* unicode = ConvertMemoryToUnicode(c.bytes.data(), 0, &count);
    EXPECT_EQ(MemoryLockBytes::LiveCount(), 0) << c.name << ", Unicode";
    EXPECT_EQ(GetErrorCode(), c.code) << c.name;
    if (c.code == 0) {
      ASSERT_NE(unicode, nullptr) << c.name;
      std::basic_string<WCHAR> wide(static_cast<const WCHAR*>(unicode),
                                    count / 2);
      EXPECT_EQ(wide,
                std::basic_string<WCHAR>(expected.begin(), expected.end()))
          << c.name;
    } else {
      EXPECT_EQ(unicode, nullptr) << c.name;
    }
    GlobalFree(unicode);

    count = size;
    void* ansi = ConvertMemoryToPureText(c.bytes.data(), 0, &count);
    EXPECT_EQ(MemoryLockBytes::LiveCount(), 0) << c.name << ", pure text";
    if (c.code == 0) {
      ASSERT_NE(ansi, nullptr) << c.name;
      EXPECT_EQ(std::string(static_cast<const char*>(ansi), count), expected)
          << c.name;
    }
    GlobalFree(ansi);

    EXPECT_EQ(IsMemDataSupported(c.bytes.data(), size), c.code == 0) << c.name;
    EXPECT_EQ(MemoryLockBytes::LiveCount(), 0) << c.name << ", probe";
  }
}

}  // namespace
}  // namespace txtppt2
