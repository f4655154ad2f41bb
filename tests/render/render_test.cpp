// Exact escapes of the renderers, case by case; check_render.py reads whole
// documents back with independent parsers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/json_builder.h"
#include "render/markdown.h"
#include "render/utf8_scan.h"
#include "render/xml_text.h"

namespace txtppt2 {
namespace {

struct Case {
  std::string input;
  std::string expected;
};

constexpr const char* kFffd = "\xef\xbf\xbd";

std::string Fffd(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += kFffd;
  return out;
}

// The replacement follows Unicode's "maximal subpart" practice: one U+FFFD
// per stray byte, per cut-short sequence, per byte of a form no sequence
// may start with.
TEST(Utf8Scan, EachIllFormedPartBecomesOneReplacementCharacter) {
  const std::vector<Case> cases = {
      {"a\xc3\xa9z", "a\xc3\xa9z"},
      {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
      {"\xff", Fffd(1)},
      {"\xe2\x82", Fffd(1)},             // cut short
      {"\xe2\x82z", Fffd(1) + "z"},      // broken by an ASCII byte
      {"\xc0\xaf", Fffd(2)},             // overlong '/'
      {"\xe0\x80\xaf", Fffd(3)},         // overlong, three bytes
      {"\xed\xa0\x80", Fffd(3)},         // a surrogate
      {"\xf4\x90\x80\x80", Fffd(4)},     // past U+10FFFF
      {"\xf0\x9f\x98", Fffd(1)},         // cut short, four bytes
      {"\x80\x80", Fffd(2)},             // stray continuations
  };
  for (const Case& c : cases) {
    std::string out;
    for (size_t at = 0; at < c.input.size();)
      AppendUtf8(out, NextCodePoint(c.input, at));
    EXPECT_EQ(out, c.expected) << c.input;
  }
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
  const std::vector<Case> cases = {
      {"plain", "\"plain\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"a\\b", "\"a\\\\b\""},
      {"\n\r\t", "\"\\n\\r\\t\""},
      {std::string("\0\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\""},
      {"\x7f/", "\"\x7f/\""},
      {"\xe2\x80\xa8\xe2\x80\xa9", "\"\\u2028\\u2029\""},
      {"\xed\xa0\x80", "\"" + Fffd(3) + "\""},
      {"caf\xc3\xa9", "\"caf\xc3\xa9\""},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendJsonString(out, c.input);
    EXPECT_EQ(out, c.expected) << c.input;
  }
}

TEST(JsonBuilder, SeparatesMembersAndWritesNumbersJsonCanRead) {
  JsonBuilder json;
  json.BeginObject()
      .Key("a").BeginArray().Integer(-1).Real(2.0).Real(0.25).Real(1e300)
      .Real(NAN).Real(INFINITY).Bool(false).Null().EndArray()
      .Key("b").BeginObject().EndObject()
      .Key("c").OptionalString(std::nullopt)
      .Key("d").OptionalInteger(7)
      .EndObject();
  EXPECT_EQ(json.Text(),
            "{\"a\":[-1,2.0,0.25,1e+300,null,null,false,null],\"b\":{},"
            "\"c\":null,\"d\":7}");
}

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
      {std::string("a\0\x0b\tb", 5), "a" + Fffd(2) + "\tb\n"},
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

TEST(MarkdownDeck, SlideCommentTitleBodyAndNotes) {
  Presentation deck;
  deck.slides.push_back({1, "Intro", "Intro\nFirst point\n", "Say hello\n"});
  deck.slides.push_back({2, std::nullopt, "Untitled body\n", " \n"});
  deck.slides.push_back({3, "From the list", "Other text\n", ""});
  deck.slides.push_back({4, "Twice", "Lead\nTwice\nTwice\n", ""});
  EXPECT_EQ(RenderMarkdown(deck),
            "<!-- Slide number: 1 -->\n# Intro\nFirst point\n\n"
            "### Notes:\nSay hello\n\n"
            "<!-- Slide number: 2 -->\nUntitled body\n\n"
            "<!-- Slide number: 3 -->\n# From the list\nOther text\n\n"
            "<!-- Slide number: 4 -->\n# Twice\nLead\nTwice\n\n");
}

TEST(XmlText, EscapesMarkupAndReplacesForbiddenCharacters) {
  struct XmlCase {
    std::string input;
    std::string content;
    std::string attribute;
  };
  const std::vector<XmlCase> cases = {
      {"a<b>&\"'", "a&lt;b&gt;&amp;&quot;&#39;", "a&lt;b&gt;&amp;&quot;&#39;"},
      {"l1\nl2\tx\ry", "l1\nl2\tx&#13;y", "l1&#10;l2&#9;x&#13;y"},
      {std::string("\0\x01\x0b\x1f", 4), Fffd(4), Fffd(4)},
      {"\xef\xbf\xbe\xef\xbf\xbf\xef\xbf\xbd", Fffd(3), Fffd(3)},
      {"\xf0\x9f\x98\x80\x7f", "\xf0\x9f\x98\x80\x7f", "\xf0\x9f\x98\x80\x7f"},
      {"\xed\xb0\x80", Fffd(3), Fffd(3)},
  };
  for (const XmlCase& c : cases) {
    std::string content, attribute;
    AppendXmlText(content, c.input);
    AppendXmlText(attribute, c.input, true);
    EXPECT_EQ(content, c.content) << c.input;
    EXPECT_EQ(attribute, c.attribute) << c.input;
  }
}

}  // namespace
}  // namespace txtppt2
