#include "storage/storage_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/check_storage_result.h"
#include "support/fake_storage.h"

namespace txtppt2 {
namespace {

using testing::FakeStream;
using testing::FakeStreamBehaviour;
using testing::StreamOver;

// What f throws: "eof" for the end of the data, the message of any other
// std::runtime_error, or nothing when it returns.
template <typename F>
std::string Thrown(F f) {
  try {
    f();
  } catch (const Stream_eof&) {
    return "eof";
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "";
}

// The storage failures and their messages; nothing for a success.
TEST(CheckStorageResultTest, MessageTable) {
  const struct {
    const char* message;  // null: no exception
    std::vector<uint32_t> results;
  } cases[] = {
      {nullptr, {0x00000000, 0x00000001, 0x00030200}},
      {"Error in parameters",
       {0x80030001, 0x80030009, 0x80030057, 0x800300FC, 0x800300FF}},
      {"The stream with the name specified does not exist", {0x80030002}},
      {"The path specified does not exist", {0x80030003}},
      {"Too many open files", {0x80030004}},
      {"Access denied because the caller has insufficient permission, or "
       "another caller has the file open and locked",
       {0x80030005}},
      {"Out of memory", {0x80030008}},
      {"Access denied because another caller has the file open and locked",
       {0x80030020}},
      {"The DLL being used to open this storage object is a version of the "
       "DLL that is older than the one used to create it",
       {0x80030021, 0x80030105}},
      {"The file is not a storage object", {0x80030050}},
      {"The storage object has been invalidated by a revert operation above "
       "it in the transaction tree",
       {0x80030102}},
      {"Can't open storage: unknown error",
       {0x80030006, 0x80004005, 0x80030109}},
  };
  for (const auto& c : cases)
    for (uint32_t result : c.results)
      EXPECT_EQ(Thrown([&] { CheckStorageResult(HRESULT(result)); }),
                c.message ? c.message : "")
          << std::hex << result;
}

TEST(StorageStreamTest, ReadResultTable) {
  const struct {
    const char* name;
    FakeStreamBehaviour behaviour;
    const char* thrown;
  } cases[] = {
      {"full read", {"abcd"}, ""},
      {"short read", {"ab"}, "eof"},
      {"S_FALSE with none", {"", S_FALSE}, "IStream read error"},
      {"invalid pointer",
       {"abcd", STG_E_INVALIDPOINTER},
       "Error in parameters"},
      {"reverted",
       {"abcd", STG_E_REVERTED},
       "The storage object has been invalidated by a revert operation above "
       "it in the transaction tree"},
      {"unlisted failure, full count", {"abcd", STG_E_READFAULT}, ""},
      {"unlisted failure, short count", {"abcd", E_FAIL, 3}, "eof"},
      {"informational success, short", {"abcd", 2, 1}, "eof"},
  };
  for (const auto& c : cases) {
    char buffer[4];
    EXPECT_EQ(Thrown([&] { StreamOver(c.behaviour)->Read(buffer, 4); }),
              c.thrown)
        << c.name;
  }
  EXPECT_EQ(FakeStream::LiveCount(), 0);
}

TEST(StorageStreamTest, SkipSeekAndSize) {
  auto stream = StreamOver({"0123456789"});
  auto* fake = static_cast<FakeStream*>(*stream->StreamSlot());
  stream->Skip(3);
  EXPECT_EQ(fake->Position(), 3u);
  stream->Skip(0x80000000u);  // zero-extended: a forward move
  EXPECT_EQ(fake->Position(), 0x80000003u);
  stream->Seek(2);
  EXPECT_EQ(fake->Position(), 2u);
  EXPECT_EQ(stream->Size(), 10u);
  // Sizes past 32 bits saturate rather than wrap around to a small one.
  for (uint64_t size : {0xFFFFFFFFull, 0x100000005ull, ~0ull})
    EXPECT_EQ(StreamOver({"x", {}, {}, S_OK, S_OK, false, size})->Size(),
              0xFFFFFFFFu)
        << size;

  for (auto failing :
       {FakeStreamBehaviour{"x", {}, {}, S_FALSE},
        FakeStreamBehaviour{"x", {}, {}, STG_E_INVALIDFUNCTION}}) {
    EXPECT_EQ(Thrown([&] { StreamOver(failing)->Skip(1); }),
              "IStream seek error");
    EXPECT_EQ(Thrown([&] { StreamOver(failing)->Seek(0); }),
              "IStream seek error");
  }
}

}  // namespace
}  // namespace txtppt2
