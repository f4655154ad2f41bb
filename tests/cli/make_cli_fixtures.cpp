// Writes the inputs of the command's end-to-end tests into a folder:
//
//   deck.ppt                 two slides: accented Latin, the euro sign,
//                            U+010D U+010A (bytes 0D 01 0A 01, a CR LF
//                            in the low bytes), Japanese, a surrogate
//                            pair and a lone surrogate, an 8-bit atom
//                            with CR breaks, a VT
//   second.ppt, -x.ppt       one line, to tell files apart in the output
//   no_document_stream.ppt   a compound file without "PowerPoint Document"
//   notes.txt                plain text, not a compound file
//   batch/                   decks for the batch tests, the first one
//                            largest so that it finishes last
//
//   txtppt2_cli_fixtures OUTDIR
//
// The texts here and the expectations in cli_test.py describe the same
// files; each side is written out by hand.
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

// Deck n of the batch: "Deck n" and a slide per line. The first deck is
// far the largest, so that on several threads it finishes last.
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
      WriteFile(dir / "notes.txt",
                "Plain text notes, not a presentation.\n"
                "They are long enough to be more than one sector of a "
                "compound file, were it one.\n");
  for (size_t n = 0; ok && n < kBatchDecks; ++n) {
    std::string name = "deck" + std::to_string(n / 10) + std::to_string(n % 10);
    ok = WriteFile(dir / "batch" / (name + ".ppt"),
                   Presentation(BatchDeckStream(n)));
  }
  return ok ? 0 : 1;
}
