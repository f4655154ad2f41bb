// The ASCII runs of the Windows-1252 and UTF-8 conversions, in every
// implementation the build has: one unit that ends a run (or does not) at
// every place of inputs that straddle the vector and word bounds.
#include "platform/ascii_runs.h"

#include <gtest/gtest.h>

#include <string>

namespace txtppt2 {
namespace {

TEST(AsciiRunsTest, RunsEndAtNonAsciiAndBeforeAPossibleMark) {
  const auto narrowRuns = {NarrowAsciiRunPortable, NarrowAsciiRun};
  const auto widenRuns = {WidenAsciiRunPortable, WidenAsciiRun};
  const auto utf8Runs = {Utf8AsciiRunPortable, Utf8AsciiRun};
  // From 0x0300 on, a unit may be a composing mark: the 'a' before it stays.
  for (WCHAR odd : {0x0000, 0x000D, 0x000E, 0x007F, 0x0080, 0x00E9, 0x02FF,
                    0x0300, 0x8000, 0xFFFF}) {
    for (size_t n = 1; n <= 40; ++n) {
      for (size_t at = 0; at < n; ++at) {
        SCOPED_TRACE(::testing::Message()
                     << int(odd) << " at " << at << " of " << n);
        std::u16string units(n, u'a');
        units[at] = odd;
        std::string bytes(n, 'a');
        bytes[at] = static_cast<char>(odd);  // 0x80 and up stays so
        size_t narrowRun =
            odd < 0x80 ? n : (odd >= 0x300 && at > 0 ? at - 1 : at);
        size_t widenRun = (odd & 0x80) == 0 ? n : at;
        for (auto run : narrowRuns) {
          std::string out(n, '\0');
          ASSERT_EQ(run(units.data(), n, out.data()), narrowRun);
          EXPECT_EQ(out.substr(0, narrowRun), bytes.substr(0, narrowRun));
        }
        // Towards UTF-8 a run ends at the unit alone, where it lies outside
        // [lowest, 0x80).
        for (WCHAR lowest : {0x00, 0x0E}) {
          size_t utf8Run = odd >= lowest && odd < 0x80 ? n : at;
          for (auto run : utf8Runs) {
            std::string out(n, '\0');
            ASSERT_EQ(run(units.data(), n, lowest, out.data()), utf8Run);
            EXPECT_EQ(out.substr(0, utf8Run), bytes.substr(0, utf8Run));
          }
        }
        for (auto run : widenRuns) {
          std::u16string out(n, u'\0');
          ASSERT_EQ(run(bytes.data(), n, out.data()), widenRun);
          EXPECT_EQ(out.substr(0, widenRun),
                    std::u16string(bytes.begin(), bytes.begin() + widenRun));
        }
      }
    }
  }
}

}  // namespace
}  // namespace txtppt2
