#include "storage/memory_lock_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace txtppt2 {
namespace {

ULARGE_INTEGER At(uint64_t offset) {
  ULARGE_INTEGER value;
  value.QuadPart = offset;
  return value;
}

// A lock-bytes with the creator's reference, released at the end.
struct Held {
  explicit Held(const std::string& bytes)
      : object(new MemoryLockBytes(
            reinterpret_cast<const BYTE*>(bytes.data()),
            static_cast<ULONG>(bytes.size()))) {
    object->AddRef();
  }
  ~Held() { object->Release(); }
  MemoryLockBytes* object;
};

TEST(MemoryLockBytesTest, ReadAtBoundaries) {
  const std::string block = "0123456789";
  struct Case {
    const char* name;
    uint64_t offset;
    ULONG count;
    bool nullDestination;
    HRESULT result;
    ULONG read;
    std::string bytes;
  };
  const Case cases[] = {
      {"whole block", 0, 10, false, S_OK, 10, "0123456789"},
      {"middle", 3, 4, false, S_OK, 4, "3456"},
      {"more than remains", 7, 100, false, S_OK, 3, "789"},
      {"at the end", 10, 5, false, S_OK, 0, ""},
      {"past the end", 11, 5, false, E_FAIL, 0, ""},
      {"high offset bits", 0x100000000ull, 5, false, E_FAIL, 0, ""},
      {"high bits with small low half", 0x100000002ull, 1, false, E_FAIL, 0, ""},
      {"null destination", 0, 5, true, E_FAIL, 0, ""},
      {"null destination, no bytes", 0, 0, true, E_FAIL, 0, ""},
      {"no bytes", 4, 0, false, S_OK, 0, ""},
  };
  Held held(block);
  for (const auto& c : cases) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    ULONG read = 0xFFFF;
    HRESULT result = held.object->ReadAt(
        At(c.offset), c.nullDestination ? nullptr : buffer, c.count, &read);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(read, c.read) << c.name;
    EXPECT_EQ(std::string(buffer, read), c.bytes) << c.name;
    EXPECT_EQ(buffer[read], '#') << c.name << ": wrote past what it read";
  }
  char buffer[4];
  EXPECT_EQ(held.object->ReadAt(At(2), buffer, 4, nullptr), S_OK);
  EXPECT_EQ(std::string(buffer, 4), "2345");
}

TEST(MemoryLockBytesTest, EmptyBlock) {
  Held held("");
  char buffer[1];
  ULONG read = 9;
  EXPECT_EQ(held.object->ReadAt(At(0), buffer, 1, &read), S_OK);
  EXPECT_EQ(read, 0u);
  STATSTG stat;
  EXPECT_EQ(held.object->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 0u);
}

TEST(MemoryLockBytesTest, FixedAnswersOfAReadOnlyBlock) {
  constexpr DWORD kLockWrite = 1;  // LOCK_WRITE
  Held held("abc");
  MemoryLockBytes* object = held.object;
  ULONG written = 77;
  EXPECT_EQ(object->WriteAt(At(0), "x", 1, &written), STG_E_ACCESSDENIED);
  EXPECT_EQ(written, 77u);
  EXPECT_EQ(object->SetSize(At(1)), STG_E_ACCESSDENIED);
  EXPECT_EQ(object->Flush(), S_OK);
  EXPECT_EQ(object->LockRegion(At(0), At(1), kLockWrite), STG_E_INVALIDFUNCTION);
  EXPECT_EQ(object->UnlockRegion(At(0), At(1), kLockWrite),
            STG_E_INVALIDFUNCTION);
  EXPECT_EQ(object->Stat(nullptr, STATFLAG_DEFAULT), STG_E_INVALIDPOINTER);

  STATSTG stat;
  std::memset(&stat, 0xAB, sizeof stat);
  EXPECT_EQ(object->Stat(&stat, STATFLAG_DEFAULT), S_OK);
  EXPECT_EQ(stat.pwcsName, nullptr);  // even when a name was asked for
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_LOCKBYTES));
  EXPECT_EQ(stat.cbSize.QuadPart, 3u);
  EXPECT_EQ(stat.grfLocksSupported, 0u);
  EXPECT_EQ(stat.grfMode, 0u);
}

TEST(MemoryLockBytesTest, ReferenceCountingAndInterfaces) {
  int liveBefore = MemoryLockBytes::LiveCount();
  auto* object = new MemoryLockBytes(nullptr, 0);
  EXPECT_EQ(object->AddRef(), 1u);
  void* out = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_ILockBytes, &out), S_OK);
  EXPECT_EQ(out, static_cast<ILockBytes*>(object));
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, &out), S_OK);
  out = object;
  EXPECT_EQ(object->QueryInterface(IID_IStream, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(object->Release(), 2u);  // two from QueryInterface remain...
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_EQ(MemoryLockBytes::LiveCount(), liveBefore + 1);
  EXPECT_EQ(object->Release(), 0u);  // ...and the last one deletes it
  EXPECT_EQ(MemoryLockBytes::LiveCount(), liveBefore);
}

}  // namespace
}  // namespace txtppt2
