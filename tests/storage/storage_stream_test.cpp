#include "storage/storage_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/check_storage_result.h"
#include "support/fake_storage.h"

namespace txtppt2 {
namespace {

using testing::FakeStream;
using testing::FakeStreamBehaviour;

// A StorageStream over a fake platform stream.
std::unique_ptr<StorageStream> Over(FakeStreamBehaviour behaviour) {
  auto stream = std::make_unique<StorageStream>();
  *stream->StreamSlot() = new FakeStream(std::move(behaviour));
  return stream;
}

// The storage failures and their messages; nothing for a success.
TEST(CheckStorageResultTest, MessageTable) {
  const char* const kParameters = "Error in parameters";
  const char* const kOlder =
      "The DLL being used to open this storage object is a version of the "
      "DLL that is older than the one used to create it";
  const char* const kUnknown = "Can't open storage: unknown error";
  const struct {
    uint32_t result;
    const char* message;  // null: no exception
  } cases[] = {
      {0x00000000, nullptr},
      {0x00000001, nullptr},
      {0x00030200, nullptr},
      {0x80030001, kParameters},
      {0x80030002, "The stream with the name specified does not exist"},
      {0x80030003, "The path specified does not exist"},
      {0x80030004, "Too many open files"},
      {0x80030005,
       "Access denied because the caller has insufficient permission, or "
       "another caller has the file open and locked"},
      {0x80030008, "Out of memory"},
      {0x80030009, kParameters},
      {0x80030020,
       "Access denied because another caller has the file open and locked"},
      {0x80030021, kOlder},
      {0x80030050, "The file is not a storage object"},
      {0x80030057, kParameters},
      {0x800300FC, kParameters},
      {0x800300FF, kParameters},
      {0x80030102,
       "The storage object has been invalidated by a revert operation above "
       "it in the transaction tree"},
      {0x80030105, kOlder},
      {0x80030006, kUnknown},
      {0x80004005, kUnknown},
      {0x80030109, kUnknown},
  };
  for (const auto& c : cases) {
    std::string thrown;
    try {
      CheckStorageResult(static_cast<HRESULT>(c.result));
    } catch (const std::runtime_error& error) {
      thrown = error.what();
    }
    EXPECT_EQ(thrown, c.message ? c.message : "") << std::hex << c.result;
  }
}

TEST(StorageStreamTest, ReadResultTable) {
  enum Outcome { kGood, kEof, kError };
  const struct {
    const char* name;
    FakeStreamBehaviour behaviour;
    Outcome outcome;
    const char* message;
  } cases[] = {
      {"full read", {"abcd"}, kGood, nullptr},
      {"short read", {"ab"}, kEof, nullptr},
      {"S_FALSE with every byte", {"abcd", S_FALSE}, kError, "IStream read error"},
      {"S_FALSE with none", {"", S_FALSE}, kError, "IStream read error"},
      {"invalid pointer", {"abcd", STG_E_INVALIDPOINTER}, kError,
       "Error in parameters"},
      {"access denied", {"abcd", STG_E_ACCESSDENIED}, kError,
       "Access denied because the caller has insufficient permission, or "
       "another caller has the file open and locked"},
      {"reverted", {"abcd", STG_E_REVERTED}, kError,
       "The storage object has been invalidated by a revert operation above "
       "it in the transaction tree"},
      {"unlisted failure, full count", {"abcd", STG_E_READFAULT}, kGood, nullptr},
      {"unlisted failure, short count", {"abcd", E_FAIL, 3}, kEof, nullptr},
      {"informational success, short", {"abcd", 2, 1}, kEof, nullptr},
  };
  for (const auto& c : cases) {
    auto stream = Over(c.behaviour);
    char buffer[4];
    try {
      stream->Read(buffer, 4);
      EXPECT_EQ(c.outcome, kGood) << c.name;
    } catch (const Stream_eof&) {
      EXPECT_EQ(c.outcome, kEof) << c.name;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(c.outcome, kError) << c.name;
      if (c.message) {
        EXPECT_STREQ(error.what(), c.message) << c.name;
      }
    }
  }
  EXPECT_EQ(FakeStream::LiveCount(), 0);
}

TEST(StorageStreamTest, SkipSeekAndSize) {
  auto stream = Over({"0123456789"});
  auto* fake = static_cast<FakeStream*>(*stream->StreamSlot());
  stream->Skip(3);
  EXPECT_EQ(fake->Position(), 3u);
  stream->Skip(0x80000000u);  // zero-extended: a forward move
  EXPECT_EQ(fake->Position(), 0x80000003u);
  stream->Seek(2);
  EXPECT_EQ(fake->Position(), 2u);
  EXPECT_EQ(stream->Size(), 10u);

  for (auto failing : {FakeStreamBehaviour{"x", {}, {}, S_FALSE},
                       FakeStreamBehaviour{"x", {}, {}, STG_E_INVALIDFUNCTION}}) {
    auto bad = Over(failing);
    try {
      bad->Skip(1);
      ADD_FAILURE() << "Skip did not throw";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "IStream seek error");
    }
    EXPECT_THROW(bad->Seek(0), std::runtime_error);
  }
  auto noSize = Over({"x", {}, {}, S_OK, STG_E_INVALIDFUNCTION});
  try {
    noSize->Size();
    ADD_FAILURE() << "Size did not throw";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Can't determine stream size");
  }
}

}  // namespace
}  // namespace txtppt2
