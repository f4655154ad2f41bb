#include "storage/memory_lock_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace txtppt2 {
namespace {

ULARGE_INTEGER At(uint64_t offset) {
  ULARGE_INTEGER value;
  value.QuadPart = offset;
  return value;
}

TEST(MemoryLockBytesTest, ReadAtBoundariesAndSize) {
  const std::string block = "0123456789";
  struct Case {
    const char* name;
    uint64_t offset;
    ULONG count;
    HRESULT result;
    ULONG read;
    std::string bytes;
  };
  const Case cases[] = {
      {"whole block", 0, 10, S_OK, 10, "0123456789"},
      {"middle", 3, 4, S_OK, 4, "3456"},
      {"more than remains", 7, 100, S_OK, 3, "789"},
      {"at the end", 10, 5, S_OK, 0, ""},
      {"past the end", 11, 5, E_FAIL, 0, ""},
      {"high offset bits", 0x100000000ull, 5, E_FAIL, 0, ""},
      {"high bits with small low half", 0x100000002ull, 1, E_FAIL, 0, ""},
      {"no bytes", 4, 0, S_OK, 0, ""},
  };
  auto* lockBytes = new MemoryLockBytes(
      reinterpret_cast<const BYTE*>(block.data()), ULONG(block.size()));
  lockBytes->AddRef();
  for (const auto& c : cases) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    ULONG read = 0xFFFF;
    HRESULT result = lockBytes->ReadAt(At(c.offset), buffer, c.count, &read);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(read, c.read) << c.name;
    EXPECT_EQ(std::string(buffer, read), c.bytes) << c.name;
    EXPECT_EQ(buffer[read], '#') << c.name << ": wrote past what it read";
  }
  STATSTG stat;
  EXPECT_EQ(lockBytes->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, block.size());
  lockBytes->Release();
}

// It is an ILockBytes and an IUnknown, however close another IID comes;
// each interface it hands out holds a reference.
TEST(MemoryLockBytesTest, QueryInterfaceAnswersItsOwnInterfacesAlone) {
  auto* lockBytes = new MemoryLockBytes(nullptr, 0);
  lockBytes->AddRef();
  IID nearly = IID_ILockBytes;
  nearly.Data4[7] ^= 1;
  const std::pair<IID, bool> cases[] = {{IID_IUnknown, true},
                                        {IID_ILockBytes, true},
                                        {IID_IStream, false},
                                        {nearly, false}};
  for (const auto& [iid, found] : cases) {
    void* object = &object;
    EXPECT_EQ(lockBytes->QueryInterface(iid, &object),
              found ? S_OK : E_NOINTERFACE);
    EXPECT_EQ(object, found ? static_cast<ILockBytes*>(lockBytes) : nullptr);
    if (found) {
      EXPECT_EQ(static_cast<ILockBytes*>(object)->Release(), 1u);
    }
  }
  EXPECT_EQ(lockBytes->Release(), 0u);
}

}  // namespace
}  // namespace txtppt2
