#include "extract/output_text_stream.h"

#include <gtest/gtest.h>

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

// The block a host frees is the largest one the stream asked for (it grows
// and is never trimmed), in whole 4 KiB steps, and holds at most twice the
// text: the contract that lets the host's allocator hand the same memory
// to the next conversion.
template <typename CharT>
void CheckGrowth() {
  for (size_t length : {0, 1, 2046, 2047, 2048, 4095, 4096, 5000, 100000,
                        1 << 20}) {
    requests.clear();
    grantsLeft = SIZE_MAX;
    const std::basic_string<CharT> text = TextOf<CharT>(length);
    OutputTextStream<CharT> out({RecordAllocate, RecordReallocate});
    WriteInPieces(out, text);
    ASSERT_EQ(out.Length(), length);
    auto* block = static_cast<CharT*>(out.TakeBlock());
    ASSERT_NE(block, nullptr) << length;
    EXPECT_EQ(std::basic_string<CharT>(block, length), text) << length;
    EXPECT_EQ(block[length], CharT(0)) << length;
    GlobalFree(block);

    const SIZE_T needed = (length + 1) * sizeof(CharT);
    ASSERT_FALSE(requests.empty()) << length;
    for (size_t i = 0; i < requests.size(); ++i) {
      // The empty text's block holds the terminator alone.
      if (length != 0) {
        EXPECT_EQ(requests[i] % 4096, 0u) << length;
      }
      if (i > 0) {
        EXPECT_GT(requests[i], requests[i - 1]) << length;
      }
    }
    EXPECT_GE(requests.back(), needed) << length;
    EXPECT_TRUE(requests.back() <= 4096 || requests.back() < 2 * needed)
        << length << ": " << requests.back();
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
