// Writes the inputs of the command's and the module's end-to-end tests
// into OUTDIR: deck.ppt (two slides of mixed scripts, line breaks and a
// lone surrogate), second.ppt and -x.ppt (one line each),
// no_document_stream.ppt, notes.txt (no compound file) and batch/ (decks,
// the first far the largest, so that it finishes last on several threads).
// cli_test.py spells out by hand what the converter makes of them.
//
//   txtppt2_cli_fixtures OUTDIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fixtures/compound_file_writer.h"
#include "fixtures/record_stream_builder.h"

namespace {

using txtppt2::testing::CompoundFileWriter;
using txtppt2::testing::RecordStreamBuilder;
using namespace txtppt2;  // the record types

constexpr size_t kBatchDecks = 12;

std::string Presentation(const std::string& documentStream) {
  CompoundFileWriter writer;
  writer.AddStream(u"PowerPoint Document", documentStream);
  return writer.Build();
}

std::string DeckStream() {
  RecordStreamBuilder stream;
  stream.Container(RT_Document)
      .Container(RT_SlideListWithText)
      .TextChars(u"Café crème à 3 € čĊ")
      .TextChars(u"日本 \U0001F600 \xD800!")
      .TextBytes("Line one\rLine two")
      .TextChars(u"soft\vbreak")
      .Container(RT_Slide)
      .Container(RT_Slide)
      .Container(kOfficeArtSpContainer)
      .Container(kOfficeArtClientTextbox)
      .TextChars(u"Second slide");
  return stream.Bytes();
}

std::string SecondStream() {
  return RecordStreamBuilder()
      .Container(RT_SlideListWithText)
      .TextChars(u"Second deck")
      .Bytes();
}

// Deck n of the batch: "Deck n" and a slide per line.
std::string BatchDeckStream(size_t n) {
  RecordStreamBuilder stream;
  stream.Container(RT_Document)
      .Container(RT_SlideListWithText)
      .TextChars(u"Deck " + std::u16string(1, u'A' + n));
  size_t lines = n == 0 ? 40000 : (kBatchDecks - n) * 20;
  for (size_t line = 0; line < lines; ++line) {
    stream.Container(RT_Slide).Container(kOfficeArtSpContainer);
    stream.Container(kOfficeArtClientTextbox)
        .TextBytes("line " + std::to_string(line) + " of deck " +
                   std::to_string(n));
  }
  return stream.Bytes();
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  return static_cast<bool>(out.write(bytes.data(), bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir / "batch");

  CompoundFileWriter withoutDocument;
  withoutDocument.AddStream(u"Current User", std::string(40, '\0'));
  withoutDocument.AddStream(u"Workbook", std::string(600, 'x'));

  bool ok =
      WriteFile(dir / "deck.ppt", Presentation(DeckStream())) &&
      WriteFile(dir / "second.ppt", Presentation(SecondStream())) &&
      WriteFile(dir / "-x.ppt", Presentation(SecondStream())) &&
      WriteFile(dir / "no_document_stream.ppt", withoutDocument.Build()) &&
      WriteFile(dir / "notes.txt", std::string(600, 'n') + "\n");
  for (size_t n = 0; ok && n < kBatchDecks; ++n) {
    std::string name = "deck" + std::to_string(n / 10) + std::to_string(n % 10);
    ok = WriteFile(dir / "batch" / (name + ".ppt"),
                   Presentation(BatchDeckStream(n)));
  }
  return ok ? 0 : 1;
}
