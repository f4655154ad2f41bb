#include "extract/output_text_stream.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

namespace txtppt2 {
namespace {

// The block requests of the stream under test, in bytes, and how many more
// it is granted (then every request is refused).
std::vector<SIZE_T> requests;
size_t grantsLeft = SIZE_MAX;

HGLOBAL WINAPI RecordAllocate(UINT flags, SIZE_T bytes) {
  requests.push_back(bytes);
  if (grantsLeft == 0) return nullptr;
  --grantsLeft;
  return GlobalAlloc(flags, bytes);
}
HGLOBAL WINAPI RecordReallocate(HGLOBAL block, SIZE_T bytes, UINT flags) {
  requests.push_back(bytes);
  if (grantsLeft == 0) return nullptr;
  --grantsLeft;
  return GlobalReAlloc(block, bytes, flags);
}

template <typename CharT>
std::basic_string<CharT> TextOf(size_t length) {
  std::basic_string<CharT> text(length, CharT('a'));
  for (size_t i = 0; i < length; ++i) text[i] = CharT('a' + i % 23);
  return text;
}

// Writes text in pieces of 1, 7 and 1000 characters, then the rest.
template <typename CharT>
void WriteInPieces(OutputTextStream<CharT>& out,
                   const std::basic_string<CharT>& text) {
  size_t at = 0;
  for (size_t piece : {size_t{1}, size_t{7}, size_t{1000}, text.size()}) {
    size_t n = std::min(piece, text.size() - at);
    out.Write(text.data() + at, n);
    at += n;
  }
}

// The block a host frees is the largest one the stream asked for (it
// grows by doubling and is handed over untrimmed), in whole 4 KiB steps,
// and holds at most twice the text; only a block that the text fills less
// than half of is trimmed, to the text. That is the contract that lets the
// host's allocator hand the same memory to the next conversion.
template <typename CharT>
void CheckGrowth() {
  for (size_t reserve : {0, 3000, 300000}) {
    for (size_t length :
         {0, 1, 2046, 2047, 2048, 4095, 4096, 5000, 100000, 1 << 20}) {
      requests.clear();
      grantsLeft = SIZE_MAX;
      const std::basic_string<CharT> text = TextOf<CharT>(length);
      OutputTextStream<CharT> out({RecordAllocate, RecordReallocate});
      out.Reserve(reserve);
      out.Reserve(reserve / 2);  // a block once there is never reserved again
      WriteInPieces(out, text);
      ASSERT_EQ(out.Length(), length);
      auto* block = static_cast<CharT*>(out.TakeBlock());
      ASSERT_NE(block, nullptr) << length;
      EXPECT_EQ(std::basic_string<CharT>(block, length), text) << length;
      EXPECT_EQ(block[length], CharT(0)) << length;
      GlobalFree(block);

      const std::string what =
          std::to_string(reserve) + " reserved, " + std::to_string(length);
      const SIZE_T needed = (length + 1) * sizeof(CharT);
      ASSERT_FALSE(requests.empty()) << what;
      // A last request smaller than the one before trims a block more
      // than twice the text's size, to the text.
      bool trimmed = requests.size() > 1 &&
                     requests.back() < requests[requests.size() - 2];
      size_t grown = requests.size() - (trimmed ? 1 : 0);
      for (size_t i = 0; i < grown; ++i) {
        EXPECT_EQ(requests[i] % 4096, 0u) << what;
        EXPECT_GE(requests[i], reserve * sizeof(CharT)) << what;
        // Doubled once or more, as far as one write needs.
        if (i > 0) {
          EXPECT_EQ(requests[i] % requests[i - 1], 0u) << what;
          SIZE_T factor = requests[i] / requests[i - 1];
          EXPECT_TRUE(factor >= 2 && std::has_single_bit(factor)) << what;
        }
      }
      if (trimmed) {
        EXPECT_EQ(requests.back(), needed) << what;
        EXPECT_GT(requests[grown - 1], 2 * needed) << what;
      } else if (length != 0 || reserve != 0) {
        EXPECT_GE(requests.back(), needed) << what;
        EXPECT_LE(requests.back(), 2 * needed + 4096) << what;
      }
    }
  }
}

TEST(OutputTextStreamTest, BlockGrowsByDoublingAndIsHandedOverWhole) {
  CheckGrowth<char>();
  CheckGrowth<WCHAR>();
}

// A block that cannot be had or cannot grow is dropped, and the stream goes
// on measuring: the length counts every character written.
TEST(OutputTextStreamTest, StreamThatLosesItsBlockStillMeasures) {
  // 20000 characters in pieces of 1250: the block takes four sizes.
  const std::string text = TextOf<char>(20000);
  for (size_t grants : {0, 1, 2, 3}) {
    requests.clear();
    grantsLeft = grants;
    NarrowOutputStream out({RecordAllocate, RecordReallocate});
    for (size_t at = 0; at < text.size(); at += 1250)
      out.Write(text.data() + at, 1250);
    out.Write(text.data(), 3);
    EXPECT_EQ(out.Data(), nullptr) << grants;
    EXPECT_EQ(out.Length(), text.size() + 3) << grants;
    EXPECT_EQ(out.TakeBlock(), nullptr) << grants;
  }
  // Nothing written: the block of the empty text is asked for at the end.
  grantsLeft = 0;
  NarrowOutputStream empty({RecordAllocate, RecordReallocate});
  EXPECT_EQ(empty.TakeBlock(), nullptr);
  grantsLeft = SIZE_MAX;
}

}  // namespace
}  // namespace txtppt2
