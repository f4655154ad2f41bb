// Writes one worst-case input for the resource bound measurements
// (bench/resource_bounds.py) with the test support's fixture writers:
//
//   txtppt2_worst_case_writer CASE MEGABYTES OUT
//
// Each case is about MEGABYTES large and is made to cost as much as its
// size allows: sizes and lengths that promise far more than the file holds,
// chains and sibling trees that loop, and records as small as they come.
// Stream content is produced piece by piece while the file is written, so
// even a 1 GB presentation needs little memory here.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "fixtures/compound_file_writer.h"
#include "fixtures/record_stream_builder.h"

namespace {

using txtppt2::testing::CompoundFileVersion;
using txtppt2::testing::CompoundFileWriter;
using txtppt2::testing::RecordStreamBuilder;
using namespace txtppt2;  // the record types
using txtppt2::testing::SiblingTree;
using txtppt2::testing::StreamContent;

constexpr std::u16string_view kDocumentStream = u"PowerPoint Document";

std::u16string Name(uint64_t i) {
  std::string digits = "s" + std::to_string(i);
  return std::u16string(digits.begin(), digits.end());
}

// A record stream made of prefix and then unit again and again: byte i of
// it, for any i, without holding more than the two.
struct RepeatedRecords {
  std::string prefix;
  std::string unit;

  uint64_t SizeFor(uint64_t bytes) const {
    uint64_t units =
        bytes > prefix.size() ? (bytes - prefix.size()) / unit.size() : 1;
    return prefix.size() + units * unit.size();
  }
  StreamContent Content() const {
    return
        [prefix = prefix, unit = unit](uint64_t offset, char* out, size_t n) {
          for (size_t i = 0; i < n;) {
            uint64_t at = offset + i;
            if (at < prefix.size()) {
              size_t take = std::min<uint64_t>(prefix.size() - at, n - i);
              std::memcpy(out + i, prefix.data() + at, take);
              i += take;
              continue;
            }
            uint64_t inUnit = (at - prefix.size()) % unit.size();
            size_t take = std::min<uint64_t>(unit.size() - inUnit, n - i);
            std::memcpy(out + i, unit.data() + inUnit, take);
            i += take;
          }
        };
  }
};

RepeatedRecords Slides() {
  // One slide: its container, a shape's text box and its text.
  return {RecordStreamBuilder()
              .Container(kRtSlideListWithText)
              .TextChars(u"Title")
              .Bytes(),
          RecordStreamBuilder()
              .Container(kRtSlide)
              .Container(kOfficeArtClientTextbox)
              .TextChars(u"A line of slide text, long enough to be typical.")
              .TextBytes("And a line of 8-bit text\r")
              .Bytes()};
}

// The document as a stream of about bytes, in a file of the given version.
uint32_t AddDocument(CompoundFileWriter& writer, const RepeatedRecords& records,
                     uint64_t bytes) {
  return static_cast<uint32_t>(writer.AddStream(
      kDocumentStream, records.SizeFor(bytes), records.Content()));
}

std::string U32(uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// A UserEditAtom naming the edit before it, its persist directory and the
// document's persist id (1).
std::string UserEdit(uint32_t previous, uint32_t directory) {
  return RecordStreamBuilder()
      .Atom(0x0FF5, U32(0) + U32(3) + U32(previous) + U32(directory) + U32(1) +
                        U32(3) + U32(0))
      .Bytes();
}

// The "Current User" stream naming the edit at offset.
std::string CurrentUser(uint32_t offset) {
  return RecordStreamBuilder()
      .Atom(0x0FF6, U32(20) + U32(0xE391C05F) + U32(offset) + U32(0))
      .Bytes();
}

// The edit history as a worst case: "edit_chain", one long chain of edits
// that loops back to its newest at the end, all naming one directory; or
// "persist_anywhere", a slide list of entries that all name one large
// slide. Built whole in memory: for the measured sizes only.
void AddEditHistory(CompoundFileWriter& writer, bool chain, uint64_t bytes) {
  std::string doc;
  // A slide of many shapes, each a text box.
  auto wrap = [](uint16_t type, const std::string& body) {
    return RecordStreamBuilder()
               .Container(type, static_cast<uint32_t>(body.size()))
               .Bytes() +
           body;
  };
  std::string shape = wrap(
      kOfficeArtSpContainer,
      wrap(kOfficeArtClientTextbox,
           RecordStreamBuilder().TextChars(u"A line of slide text.").Bytes()));
  std::string shapes;
  while (!chain && shapes.size() < bytes / 2) shapes += shape;
  uint32_t slideAt = 0;
  doc += wrap(kRtSlide,
              wrap(kRtDrawing, wrap(kOfficeArtDgContainer,
                                    wrap(kOfficeArtSpgrContainer, shapes))));
  uint32_t docAt = static_cast<uint32_t>(doc.size());
  std::string entries;
  while (!chain && entries.size() < bytes / 2)
    entries += RecordStreamBuilder()
                   .Atom(kRtSlidePersistAtom, U32(2) + std::string(16, '\0'))
                   .Bytes();
  doc += wrap(kRtDocument, wrap(kRtSlideListWithText, entries));
  uint32_t directory = static_cast<uint32_t>(doc.size());
  doc += RecordStreamBuilder()
             .Atom(0x1772, U32(1 | 2u << 20) + U32(docAt) + U32(slideAt))
             .Bytes();
  uint32_t first = static_cast<uint32_t>(doc.size());
  uint32_t edit = first;
  do {
    uint32_t next = static_cast<uint32_t>(doc.size());
    doc += UserEdit(chain && next != first ? edit : 0, directory);
    edit = next;
  } while (chain && doc.size() < bytes);
  if (chain) doc.replace(first + 16, 4, U32(edit));  // the first names the last
  writer.AddStream(kDocumentStream, doc);
  writer.AddStream(u"Current User", CurrentUser(edit));
}

bool Write(const std::string& which, uint64_t bytes, std::FILE* out) {
  CompoundFileWriter writer;
  if (which == "declared_4gib") {
    auto doc = AddDocument(writer, Slides(), bytes);
    writer.DeclareStreamSize(doc, 0xFFFFFFFF);
  } else if (which == "long_chain") {
    AddDocument(writer, Slides(), bytes);  // 512-byte sectors: 2048 per MB
  } else if (which == "cyclic_chain") {
    auto doc = AddDocument(writer, Slides(), bytes);
    writer.LoopChainToStart(doc);
    writer.DeclareStreamSize(doc, 0xFFFFFFFF);
  } else if (which == "deep_cyclic_directory") {
    // The root's children in one right-sibling chain (a tree as deep as it
    // is long) that loops back to its top, and a chain of nested storages.
    uint64_t entries = bytes / 128;
    writer.SetSiblingTree(SiblingTree::kRightChain);
    auto parent = writer.AddStorage(u"nested");
    for (uint64_t i = 0; i < entries / 2; ++i)
      parent = writer.AddStorage(u"nested", parent);
    for (uint64_t i = 0; i < entries / 2; ++i) writer.AddStream(Name(i), "");
    writer.AddStream(kDocumentStream, txtppt2::testing::PresentationRecords(3));
    writer.LinkSiblingsInCycle(CompoundFileWriter::kRoot);
  } else if (which == "zero_length_records") {
    AddDocument(writer,
                {RecordStreamBuilder().Container(kRtSlideListWithText).Bytes(),
                 RecordStreamBuilder()
                     .AtomHeader(kRtTextBytesAtom, 0)
                     .AtomHeader(testing::kUnknownAtom, 0)
                     .Bytes()},
                bytes);
  } else if (which == "containers") {
    AddDocument(writer,
                {"", RecordStreamBuilder()
                         .Container(kRtSlide)
                         .Container(kRtSlideListWithText)
                         .Bytes()},
                bytes);
  } else if (which == "one_byte_text_atoms") {
    AddDocument(writer,
                {RecordStreamBuilder().Container(kRtSlideListWithText).Bytes(),
                 RecordStreamBuilder().TextBytes("x").Bytes()},
                bytes);
  } else if (which == "max_length_text_atom") {
    // One UTF-16 atom declaring 0xFFFFFFFF bytes; the file holds what it
    // holds.
    AddDocument(writer,
                {RecordStreamBuilder()
                     .Container(kRtSlideListWithText)
                     .AtomHeader(kRtTextCharsAtom, 0xFFFFFFFF)
                     .Bytes(),
                 txtppt2::testing::Utf16Le(u"text ")},
                bytes);
  } else if (which == "deep_nesting") {
    // Group containers each declaring more than the file holds, so each is
    // cut at its parent's end and holds all the rest: a nesting as deep as
    // the stream is long, ending in text.
    AddDocument(writer,
                {RecordStreamBuilder().Container(kRtSlide).Bytes(),
                 RecordStreamBuilder()
                     .Container(kOfficeArtSpgrContainer, 0xFFFFFFFF)
                     .Container(kOfficeArtClientTextbox, 9)
                     .TextBytes("x")
                     .Bytes()},
                bytes);
  } else if (which == "edit_chain" || which == "persist_anywhere") {
    AddEditHistory(writer, which == "edit_chain", bytes);
  } else if (which == "presentation") {
    AddDocument(writer, Slides(), bytes);
  } else {
    return false;
  }
  writer.WriteTo([out](const char* data, size_t n) {
    if (std::fwrite(data, 1, n, out) != n)
      throw std::runtime_error("write failed");
  });
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: %s CASE MEGABYTES OUT\n"
                 "cases: declared_4gib long_chain cyclic_chain "
                 "deep_cyclic_directory zero_length_records containers "
                 "one_byte_text_atoms max_length_text_atom presentation "
                 "deep_nesting edit_chain persist_anywhere\n",
                 argv[0]);
    return 2;
  }
  uint64_t bytes = std::stoull(argv[2]) << 20;
  std::FILE* out = std::fopen(argv[3], "wb");
  if (out == nullptr) {
    std::perror(argv[3]);
    return 1;
  }
  bool known = Write(argv[1], bytes, out);
  if (std::fclose(out) != 0 || !known) {
    std::fprintf(stderr, "%s\n",
                 known ? "cannot write the file" : "no such case");
    return 1;
  }
  return 0;
}
