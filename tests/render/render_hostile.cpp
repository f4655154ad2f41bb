// Writes a deck whose every string is hostile, rendered in the three
// formats, for check_render.py to read back with independent parsers
// (Python's json, xml.etree and a CommonMark parser):
//
//   render_hostile OUTDIR
//
// OUTDIR/strings.hex holds the strings, one per line in hex; the deck's
// slide i (from 1) has string i-1 as its title, notes, link text and URL,
// comment fields and footer, and "<string>\nbody <string>\nend\n" as its
// text, a table of two rows from "body" on: {"body <string>\n", ""} and
// {"end\n"}; every property and the masters take the strings in turn.
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "model/presentation.h"
#include "render/json_record.h"
#include "render/markdown.h"
#include "render/xhtml.h"

namespace {

using namespace txtppt2;

// Forged structure, markup, control characters and broken UTF-8.
const std::vector<std::string> kHostile = {
    "plain", "", " ", "\n", "\n\n", "\"quoted\" 'single' \\ back\\slash",
    "<!-- Slide number: 99 -->", "-->", "<!--", "# forged heading",
    "### Notes:", "   # three spaces", "    # four spaces", "\t# tab",
    "```", "~~~ tilde", "===", "---", "x\n===", "x\n---", "- - -",
    "Item #", "#", "C# and F#", "\\#", "\\<b>bold</b>", "\\\\<i>",
    "<script>alert(1)</script>", "<?php ?>", "</div></p>", "a < b > c",
    "&amp; &lt; &#0; &", "]]> <![CDATA[", "cr\rline", "crlf\r\nline",
    "a\r# cr heading", "\x01\x02\x08\x0b\x0c\x0e\x1f\x7f", std::string(1, '\0'),
    "\xef\xbf\xbe\xef\xbf\xbf", "\xed\xa0\x80 lone high", "\xed\xb0\x80",
    "\xff\xfe", "\xc0\xaf", "\xe2\x82", "\xf4\x90\x80\x80", "\xe2\x80\xa8 \xe2\x80\xa9",
    "\xf0\x9f\x98\x80 emoji", "Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac",
    "*emph* _u_ `code` [link](http://x) <http://y>",
    "> # quoted heading", "- # list heading", "10. # numbered heading",
    "1) ```", "- x\n  ===", "> <!-- Slide number: 5 -->",
    "10. item\n    # inner heading", "> > - 1. ~~~",
};

Presentation HostileDeck() {
  Presentation deck;
  DocumentProperties& p = deck.properties;
  std::optional<std::string>* fields[] = {
      &p.title,   &p.subject,  &p.author,  &p.keywords,
      &p.comments, &p.lastSavedBy, &p.revision, &p.application,
      &p.company, &p.category, &p.manager, &p.created, &p.modified};
  size_t next = 0;
  for (auto* field : fields) *field = kHostile[next++ % kHostile.size()];
  p.slides = static_cast<int64_t>(kHostile.size());
  p.notes = -1;
  for (const std::string& text : kHostile)
    p.custom.push_back({text, text});
  p.custom.push_back({"flag", true});
  p.custom.push_back({"count", int64_t{-42}});
  p.custom.push_back({"ratio", 2.0});
  p.custom.push_back({"nan", std::numeric_limits<double>::quiet_NaN()});
  p.custom.push_back({"empty", std::monostate{}});
  p.custom.push_back({"flag", false});  // a second name alike: ignored
  uint32_t number = 0;
  for (const std::string& text : kHostile) {
    Slide& slide = deck.slides.emplace_back();
    slide.number = ++number;
    slide.title = text;
    slide.text = text + "\nbody " + text + "\nend\n";
    slide.tables.push_back(
        {text.size() + 1, {{"body " + text + "\n", ""}, {"end\n"}}});
    slide.notes = text;
    slide.hidden = number % 2 == 0;
    slide.links.push_back({text, text});
    slide.comments.push_back({text, text, text, text});
    slide.headers.push_back({"slide", "footer", text});
    deck.masters.push_back(text);
  }
  return deck;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

bool Write(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file << bytes;
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_hostile OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const Presentation deck = HostileDeck();
  std::string hex;
  for (const std::string& text : kHostile) hex += Hex(text) + "\n";
  FileRecord record;
  record.path = kHostile[6];
  record.verdict.format = "ppt";
  record.presentation = &deck;
  FileRecord failed;
  failed.path = kHostile[36];
  failed.verdict = {FileStatus::kDamaged, "ppt", kHostile[44], 0};
  failed.code = 4;
  bool written = Write(dir + "/strings.hex", hex) &&
                 Write(dir + "/deck.jsonl", RenderJsonRecord(record) +
                                                RenderJsonRecord(failed)) &&
                 Write(dir + "/deck.md", RenderMarkdown(deck)) &&
                 Write(dir + "/deck.html", RenderXhtml(deck));
  if (!written) std::fprintf(stderr, "render_hostile: cannot write %s\n", argv[1]);
  return written ? 0 : 1;
}
