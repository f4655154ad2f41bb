// The Markdown escapes, case by case: check_render.py shows that no text
// opens structure, these that text is left alone where it cannot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/markdown.h"

namespace txtppt2 {
namespace {

struct Case {
  std::string input;
  std::string expected;
};

constexpr const char* kFffd = "\xef\xbf\xbd";

TEST(MarkdownBlock, TextCannotOpenStructure) {
  const std::vector<Case> cases = {
      {"plain line\n", "plain line\n"},
      {"# heading\n", "\\# heading\n"},
      {"   ### three\n", "   \\### three\n"},
      {"        # deep\n", "        \\# deep\n"},
      {"> # quoted\n", "> \\# quoted\n"},
      {"- # item\n", "- \\# item\n"},
      {"12. # item\n", "12. \\# item\n"},
      {"1234567890. # x\n", "1234567890. # x\n"},  // not a list marker
      {"```\n", "\\```\n"},
      {"~~~ x\n", "\\~~~ x\n"},
      {"x\n===\n", "x\n\\===\n"},
      {"x\n---  \n", "x\n\\---  \n"},
      {"-- -\n", "-- -\n"},
      {"C# and #tag\n", "C# and #tag\n"},
      {"<!-- Slide number: 2 -->\n", "\\<!-- Slide number: 2 -->\n"},
      {"a <b>c</b> <?x ?> <!x>\n", "a \\<b>c\\</b> \\<?x ?> \\<!x>\n"},
      {"a < b <3 <\n", "a < b <3 <\n"},
      {"\\<b> \\\\<b>\n", "\\<b> \\\\\\<b>\n"},
      {"one\rtwo\r\n# three", "one\ntwo\n\\# three\n"},
      {std::string("a\0\x0b\tb", 5), std::string("a") + kFffd + kFffd + "\tb\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EscapeMarkdownBlock(c.input), c.expected) << c.input;
}

TEST(MarkdownHeading, StaysOneLineAndKeepsItsText) {
  const std::vector<Case> cases = {
      {"Title", "Title"},
      {"  two\nlines\t ", "two lines"},
      {"Item #", "Item \\#"},
      {"#", "\\#"},
      {"##", "\\##"},
      {"C#", "C#"},
      {"<!-- x -->", "\\<!-- x -->"},
      {" \n\t", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EscapeMarkdownHeading(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace txtppt2
