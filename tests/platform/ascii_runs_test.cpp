// The ASCII runs of the Windows-1252 conversions, in every implementation
// the build has: one unit that ends a run (or does not) at every place of
// inputs that straddle the vector and word bounds.
#include "platform/ascii_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace txtppt2 {
namespace {

using NarrowRun = size_t (*)(const WCHAR*, size_t, char*);
using WidenRun = size_t (*)(const char*, size_t, WCHAR*);

const std::vector<NarrowRun> kNarrowRuns = {
    NarrowAsciiRunPortable,
#ifdef __SSE2__
    NarrowAsciiRunSse2,
#endif
};
const std::vector<WidenRun> kWidenRuns = {
    WidenAsciiRunPortable,
#ifdef __SSE2__
    WidenAsciiRunSse2,
#endif
};

TEST(AsciiRunsTest, NarrowRunEndsBeforeNonAsciiAndBeforeAPossibleMark) {
  // 0x0300 is the first composing mark: the 'a' before it may compose.
  for (WCHAR odd : {0x007F, 0x0080, 0x00E9, 0x02FF, 0x0300, 0x8000, 0xFFFF}) {
    for (size_t n = 1; n <= 40; ++n) {
      for (size_t at = 0; at < n; ++at) {
        std::u16string src(n, u'a');
        src[at] = odd;
        size_t expected =
            odd < 0x80 ? n : (odd >= 0x300 && at > 0 ? at - 1 : at);
        for (size_t k = 0; k < kNarrowRuns.size(); ++k) {
          SCOPED_TRACE(::testing::Message()
                       << "implementation " << k << ", unit " << int(odd)
                       << " at " << at << " of " << n);
          std::string dst(n, '\0');
          ASSERT_EQ(kNarrowRuns[k](src.data(), n, dst.data()), expected);
          for (size_t i = 0; i < expected; ++i) ASSERT_EQ(dst[i], char(src[i]));
        }
      }
    }
  }
}

TEST(AsciiRunsTest, WidenRunEndsAtTheFirstByteFrom0x80) {
  for (char odd : {'\x7F', '\x80', '\xE9', '\xFF'}) {
    for (size_t n = 1; n <= 40; ++n) {
      for (size_t at = 0; at < n; ++at) {
        std::string src(n, 'a');
        src[at] = odd;
        size_t expected = static_cast<unsigned char>(odd) < 0x80 ? n : at;
        for (size_t k = 0; k < kWidenRuns.size(); ++k) {
          SCOPED_TRACE(::testing::Message()
                       << "implementation " << k << ", byte " << int(odd)
                       << " at " << at << " of " << n);
          std::u16string dst(n, u'\0');
          ASSERT_EQ(kWidenRuns[k](src.data(), n, dst.data()), expected);
          for (size_t i = 0; i < expected; ++i)
            ASSERT_EQ(dst[i], WCHAR(src[i]));
        }
      }
    }
  }
}

}  // namespace
}  // namespace txtppt2
