#include "interface/conversion_error_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

namespace txtppt2 {
namespace {

TEST(ConversionErrorStateTest, ReportedCodeAndCopy) {
  struct Case {
    const char* name;
    std::string message;  // empty: cleared
    uint32_t code;
    int32_t bufferSize;
    std::string copied;
    int32_t returned;
    uint32_t reported;
  };
  const Case cases[] = {
      {"empty record", "", 0, 64, "", 0, 0},
      {"parameter error reports 1", "Error in parameters", 0, 64,
       "Error in parameters", 1, 1},
      {"conversion error", "Error in parameters", 4, 64, "Error in parameters",
       1, 4},
      {"cut to the buffer", "Unsupported data format", 1003, 10, "Unsupporte"
       "d data format", 1, 1003},
      {"buffer of one byte", "Unsupported data format", 1003, 1, "", 1, 1003},
      {"code without message", "", 4, 64, "", 1, 4},
  };
  for (const auto& c : cases) {
    ConversionErrorState state;
    if (c.message.empty() && c.code == 0)
      state.ClearConversionError();
    else
      state.SetConversionError(c.message.c_str(), c.code);
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(state.CopyMessage(buffer, c.bufferSize), c.returned) << c.name;
    std::string expected = c.copied.substr(
        0, std::min<size_t>(c.copied.size(), c.bufferSize - 1));
    EXPECT_EQ(std::string(buffer), expected) << c.name;
    EXPECT_EQ(state.ReportedCode(), c.reported) << c.name;
  }
}

TEST(ConversionErrorStateTest, LongMessageIsCutTo1023Bytes) {
  ConversionErrorState state;
  std::string message(2000, 'm');
  state.SetConversionError(message.c_str(), 4);
  char buffer[2048];
  state.CopyMessage(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), message.substr(0, 1023));
}

TEST(ConversionErrorStateTest, ClearEmptiesMessageAndCode) {
  ConversionErrorState state;
  state.SetConversionError("Out of memory", 4);
  state.ClearConversionError();
  char buffer[16] = "x";
  EXPECT_EQ(state.CopyMessage(buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(state.ReportedCode(), 0u);
}

TEST(ConversionErrorStateTest, EachThreadHasItsOwnRecord) {
  ConversionErrorState::ForThisThread().SetConversionError("main", 4);
  uint32_t otherBefore = 99;
  std::thread other([&] {
    otherBefore = ConversionErrorState::ForThisThread().ReportedCode();
    ConversionErrorState::ForThisThread().SetConversionError("other", 1003);
  });
  other.join();
  EXPECT_EQ(otherBefore, 0u);
  char buffer[16];
  ConversionErrorState::ForThisThread().CopyMessage(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "main");
  EXPECT_EQ(ConversionErrorState::ForThisThread().ReportedCode(), 4u);
  ConversionErrorState::ForThisThread().ClearConversionError();
}

}  // namespace
}  // namespace txtppt2
