#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/windows.h"
#include "txtppt2.h"

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += piece;
  return result;
}

// The type registry is one block: the name, its NUL, the description.
TEST(ExportsTest, TypeRegistryAndFixedAnswers) {
  const char* name = GetType(0);
  ASSERT_STREQ(name, "ppt");
  EXPECT_EQ(GetTypeDescription(0), name + 4);
  EXPECT_STREQ(GetTypeDescription(0),
               "Microsoft\xAE PowerPoint Presentation (PPT)");
  int32_t count = 0;
  EXPECT_EQ(ListSupportedTypes(&count), name);
  EXPECT_EQ(count, 1);
  for (int32_t index : {1, -1, 2, 1000}) {
    EXPECT_EQ(GetType(index), nullptr) << index;
    EXPECT_EQ(GetTypeDescription(index), nullptr) << index;
  }
  EXPECT_STREQ(GetDllInfo(), "Tessellane Library v.040920");
  EXPECT_EQ(GetDllVersion(), 10475523);
  EXPECT_EQ(GetCompatibilityFlags(), 47);
  SetOptionFlags(0x7FFFFFFF);
  EXPECT_EQ(GetOptionFlags(), 0);
  EXPECT_TRUE(InitializeConverterTypes());
  EXPECT_TRUE(FreeUpConverterTypes());
}

TEST(ExportsTest, TypeNamesAreComparedFoldingOnlyAsciiLetters) {
  const struct {
    const char* type;
    int32_t supported;
  } cases[] = {
      {"ppt", 1}, {"PPT", 1}, {"pPt", 1},  {".ppt", 0},   {"pptx", 0},
      {"pp", 0},  {"", 0},    {"ppt ", 0}, {"p\xD0t", 0}, {"PP\xD4", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsFileTypeSupported(c.type), c.supported) << c.type;
}

TEST(ExportsTest, NarrowPathTooLongIsAParameterError) {
  // 1023 units and the NUL fit; one more does not. A narrow path is in the
  // platform's path code page: in UTF-8 (POSIX) a multi-byte character
  // counts as the UTF-16 units it makes; in the ANSI code page (Windows,
  // Windows-1252) every byte is one unit.
  const bool utf8Paths = TXTPPT2_PATH_CODE_PAGE == CP_UTF8;
  const struct {
    std::string path;
    bool fitsAsUtf8;
    bool fitsAsAnsi;
  } cases[] = {
      {"/" + std::string(1022, 'a'), true, true},
      {"/" + std::string(1023, 'a'), false, false},
      {"/" + Repeat("\xC3\xA9", 511), true, true},
      {"/" + Repeat("\xC3\xA9", 1022), true, false},
      {"/" + Repeat("\xC3\xA9", 1023), false, false},
      {"/" + Repeat("\xF0\x9F\x98\x80", 511), true, false},
      {"/" + Repeat("\xF0\x9F\x98\x80", 512), false, false},
  };
  for (const auto& c : cases) {
    const bool fits = utf8Paths ? c.fitsAsUtf8 : c.fitsAsAnsi;
    uint32_t count = 12345;
    char message[64];
    EXPECT_EQ(ConvertToUnicode(c.path.c_str(), &count), nullptr);
    GetConversionError(message, sizeof message);
    EXPECT_EQ(count, 12345u);
    EXPECT_EQ(GetErrorCode(), fits ? 4u : 1u) << c.path.size();
    if (!fits) {
      EXPECT_STREQ(message, "Error in parameters");
    }
    EXPECT_FALSE(IsFileSupported(c.path.c_str())) << c.path.size();
  }
}

}  // namespace
