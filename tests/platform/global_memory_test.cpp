// Result blocks on POSIX: whatever their size (large ones are placed for
// huge pages), a block holds every byte asked for, zeroed when asked, keeps
// its bytes when resized either way, and is freed by free(), as a host does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/windows.h"

namespace {

TEST(GlobalMemoryTest, BlocksOfEverySizeAreWholeResizableAndFreedByFree) {
  constexpr SIZE_T kMiB = SIZE_T{1} << 20;
  for (SIZE_T size :
       {SIZE_T{0}, SIZE_T{1}, 2 * kMiB - 1, 2 * kMiB, 5 * kMiB + 3}) {
    SCOPED_TRACE(size);
    auto* block = static_cast<unsigned char*>(GlobalAlloc(GMEM_ZEROINIT, size));
    ASSERT_NE(block, nullptr);
    for (SIZE_T i = 0; i < size; i += 4093) ASSERT_EQ(block[i], 0) << i;
    if (size != 0) {
      ASSERT_EQ(block[size - 1], 0);
    }
    std::memset(block, 0x5A, size);
    for (SIZE_T resized : {size / 3, 3 * kMiB + size}) {
      SIZE_T kept = std::min(size, resized);
      size = resized;
      block = static_cast<unsigned char*>(
          GlobalReAlloc(block, size, GMEM_MOVEABLE));
      ASSERT_NE(block, nullptr);
      for (SIZE_T i = 0; i < kept; i += 4093) ASSERT_EQ(block[i], 0x5A) << i;
      std::memset(block, 0x5A, size);
    }
    std::free(block);
  }
}

}  // namespace
