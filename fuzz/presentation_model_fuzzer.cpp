// The slide model over arbitrary bytes taken as a "PowerPoint Document"
// stream: the first four bytes name the offset of the last edit (written
// into a "Current User" atom, so that the persist directory's walk is
// reached), the rest is the stream; both go into a compound file with the
// fixture writer, which ExtractPresentation then reads beside the complete
// text. The model succeeds exactly when the complete text does; slides are
// numbered 1..n; every string is valid UTF-8; the model's text is no larger
// than the complete text could make of it (a UTF-16 unit is at most three
// bytes of UTF-8), or than its budget allows where it mends a chain of edits
// that the complete text gives up on; links and comments stay within a
// multiple of the input; tables are cut from the slide's text
// (TablesFollowText), which the XHTML rendering then follows.
#include <cstdint>
#include <string>

#include "api/presentation_extraction.h"
#include "fixtures/compound_file_writer.h"
#include "../tests/support/deck_records.h"
#include "fuzz_check.h"
#include "render/xhtml.h"

using txtppt2::fuzz::Require;
using txtppt2::fuzz::RequireValidUtf8;
using namespace txtppt2::testing::deck_records;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 || size > (1u << 24)) return 0;
  uint32_t editOffset = data[0] | data[1] << 8 | data[2] << 16 |
                        uint32_t{data[3]} << 24;
  txtppt2::testing::CompoundFileWriter writer;
  writer.AddStream(u"PowerPoint Document",
                   std::string(reinterpret_cast<const char*>(data) + 4,
                               size - 4));
  // The "Current User" atom of a file that is not encrypted.
  writer.AddStream(u"Current User",
                   Atom(0x0FF6, U32(20) + U32(0xE391C05F) + U32(editOffset) +
                                    std::string(8, '\0')));
  const std::string file = writer.Build();
  txtppt2::MemorySource source{reinterpret_cast<const BYTE*>(file.data()),
                               static_cast<uint32_t>(file.size())};

  auto model = txtppt2::ExtractPresentation(source);
  auto text = txtppt2::ConvertSource(source, txtppt2::kUnicode,
                                     txtppt2::kCompleteText);
  Require(model.ok == (text.block != nullptr),
          "the model and the complete text disagree on success");
  if (!model.ok) {
    Require(model.code == text.code && model.message == text.message,
            "the model fails with another code or message");
    return 0;
  }
  const auto& deck = model.presentation;
  size_t textBytes = 0, extraBytes = 0;
  for (size_t i = 0; i < deck.slides.size(); ++i) {
    const auto& slide = deck.slides[i];
    Require(slide.number == i + 1, "slides are not numbered 1..n");
    Require(txtppt2::testing::TablesFollowText(slide),
            "a table's cells are not the slide's text");
    RequireValidUtf8(slide.text, "a slide's text");
    RequireValidUtf8(slide.notes, "a slide's notes");
    textBytes += slide.text.size() + slide.notes.size();
    if (slide.title) {
      RequireValidUtf8(*slide.title, "a title");
      Require(!slide.title->empty(), "an empty title");
    }
    for (const auto& link : slide.links) {
      RequireValidUtf8(link.text + link.url, "a link");
      extraBytes += link.text.size() + link.url.size();
    }
    for (const auto& comment : slide.comments) {
      RequireValidUtf8(comment.author + comment.initials + comment.text,
                       "a comment");
      extraBytes += comment.author.size() + comment.text.size() +
                    comment.initials.size();
    }
    for (const auto& header : slide.headers)
      RequireValidUtf8(header.text, "a header");
  }
  for (const auto& master : deck.masters) {
    RequireValidUtf8(master, "a master's text");
    textBytes += master.size();
  }
  // Each text of the complete text ends with CR LF where the model's ends
  // with LF: three bytes a unit is more than enough. Where the model mends
  // a chain of edits that the complete text gives up on, a walk's budget
  // bounds it: four units a stream byte and 64 KiB.
  Require(textBytes <= 3 * (model.mended ? 4 * uint64_t{size} + (1u << 16)
                                         : uint64_t{text.count / 2}),
          "the model holds more text than its walk reads");
  Require(extraBytes <= 16 * uint64_t{size} + (1u << 20),
          "links and comments outgrow the input");
  txtppt2::RenderXhtml(deck);
  return 0;
}
