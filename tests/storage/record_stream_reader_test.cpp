#include "storage/record_stream_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/memory_record_stream_reader.h"

namespace txtppt2 {
namespace {

MemoryRecordStreamReader Over(const std::string& bytes) {
  return MemoryRecordStreamReader(bytes.data(),
                                  static_cast<uint32_t>(bytes.size()));
}

TEST(RecordStreamReaderTest, LittleEndianValues) {
  std::string bytes("\x34\x12\x78\x56\x34\x12\xff\xff", 8);
  auto reader = Over(bytes);
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  ReadU32(ReadU16(reader, u16), u32);
  EXPECT_EQ(u16, 0x1234);
  EXPECT_EQ(u32, 0x12345678u);
  ReadU16(reader, u16);
  EXPECT_EQ(u16, 0xFFFF);
  EXPECT_THROW(ReadU16(reader, u16), Stream_eof);
}

TEST(RecordStreamReaderTest, ShortReadsThrowStreamEof) {
  struct Case {
    size_t available;
    bool readU32;
  };
  for (Case c : {Case{1, false}, Case{3, true}, Case{0, false}, Case{0, true}}) {
    std::string bytes(c.available, '\x7f');
    auto reader = Over(bytes);
    uint16_t u16;
    uint32_t u32;
    if (c.readU32)
      EXPECT_THROW(ReadU32(reader, u32), Stream_eof) << c.available;
    else
      EXPECT_THROW(ReadU16(reader, u16), Stream_eof) << c.available;
  }
}

TEST(RecordStreamReaderTest, StreamEofIsARuntimeErrorWithItsMessage) {
  try {
    throw Stream_eof();
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "End of file reached");
  }
}

TEST(RecordStreamReaderTest, ZeroReadAtEndDoesNotThrow) {
  std::string bytes("ab");
  auto reader = Over(bytes);
  char buffer[2];
  reader.Read(buffer, 2);
  EXPECT_NO_THROW(reader.Read(buffer, 0));
  reader.Skip(100);
  EXPECT_NO_THROW(reader.Read(buffer, 0));
}

TEST(RecordStreamReaderTest, SkipMovesForwardOnlyAndPastTheEnd) {
  std::string bytes("0123456789");
  auto reader = Over(bytes);
  char c;
  reader.Skip(3);
  reader.Read(&c, 1);
  EXPECT_EQ(c, '3');
  reader.Skip(0x80000000u);  // forward, never a step back to the start
  EXPECT_THROW(reader.Read(&c, 1), Stream_eof);
  reader.Seek(0);
  reader.Read(&c, 1);
  EXPECT_EQ(c, '0');
  EXPECT_EQ(reader.Size(), 10u);
  reader.Read(&c, 1);
  EXPECT_EQ(c, '1');
}

}  // namespace
}  // namespace txtppt2
