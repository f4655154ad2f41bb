#include "synthetic_presentation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "fixtures/record_stream_builder.h"

namespace txtppt2::bench {

namespace {

using testing::CompoundFileWriter;
using testing::RecordStreamBuilder;

constexpr int kSlidesPerDeck = 16;

constexpr std::u16string_view kTitles[] = {
    u"Quarterly results",
    u"R\u00e9sum\u00e9 of the \u201cnew\u201d plan \u2013 2024",
    u"\u00dcbersicht: Stra\u00dfen und Pl\u00e4tze",
    u"Costs in \u20ac and in \u00a3",
    u"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac and \u65e5\u672c\u8a9e",
    u"Cafe\u0301 cre\u0300me bru\u0302le\u0301e",
};

constexpr std::u16string_view kBodies[] = {
    u"Revenue grew in every region\rMargins held steady\rOutlook: "
    u"cautious\r",
    u"First point\u000bcontinued on a new line\rSecond point\r\nThird "
    u"point with a longer sentence that runs on for a while, as slide text "
    u"often does when a presenter writes whole paragraphs.",
    u"na\u00efve co\u00f6perate fa\u00e7ade \u2026 \u201cquoted\u201d "
    u"\u2018single\u2019\r\u2022 bullet \u2022 bullet",
    u"Line one\nLine two\rLine three\u000bLine four",
};

constexpr std::string_view kByteTexts[] = {
    "Agenda\rIntroduction\rMethod\rResults\rQuestions",
    "Price: 12 \x80 \x96 r\xe9sum\xe9 \x93quoted\x94 \x85 and more text to "
    "make the atom a little longer than a title",
    "Gr\xfc\xdf"
    "e aus K\xf6ln\x0bzweite Zeile\r\ndritte Zeile",
    "Summary",
};

std::u16string Widen(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// A container holding children, with its length set to theirs.
std::string Container(uint16_t type, const std::string& children,
                      uint16_t instance = 0) {
  return RecordStreamBuilder()
      .Container(type, static_cast<uint32_t>(children.size()), instance)
      .Raw(children)
      .Bytes();
}

std::string Atom(uint16_t type, size_t length, char fill = '\0') {
  return RecordStreamBuilder().Atom(type, std::string(length, fill)).Bytes();
}

std::string TextAtoms(int slide, int which, bool bytes) {
  RecordStreamBuilder text;
  text.Atom(kRtTextHeaderAtom,
            std::string(1, static_cast<char>(which)) + std::string(3, '\0'));
  if (bytes) {
    text.TextBytes(std::string(kByteTexts[(slide + which) % 4]) + " " +
                   std::to_string(slide));
  } else {
    text.TextChars(std::u16string(kBodies[(slide * 3 + which) % 4]) + u" " +
                   Widen(std::to_string(slide)));
  }
  text.Atom(kRtStyleTextPropAtom, std::string(18 + 6 * (slide % 3), '\x01'));
  return text.Bytes();
}

// The slide list's records for one slide: persist atom, title, body.
std::string SlideListEntry(int slide) {
  RecordStreamBuilder b;
  b.Atom(kRtSlidePersistAtom, std::string(20, '\x02'));
  b.Atom(kRtTextHeaderAtom, std::string(4, '\0'));
  b.TextChars(std::u16string(kTitles[slide % 6]) + u" (" +
              Widen(std::to_string(slide)) + u")");
  b.Atom(kRtStyleTextPropAtom, std::string(24, '\x01'));
  b.Raw(TextAtoms(slide, 1, slide % 2 == 0));
  b.Atom(kRtTextSpecialInfoAtom, std::string(10, '\x03'));
  return b.Bytes();
}

std::string Shape(int slide, int index) {
  std::string records = Atom(kOfficeArtFSP, 8) +
                        Atom(kOfficeArtFOPT, 6 * (3 + (slide + index) % 8)) +
                        Atom(kOfficeArtClientAnchor, 8);
  if (index == 0) {
    // A placeholder: its text box follows its client data directly.
    records += Container(kOfficeArtClientData, Atom(kRtPlaceholderAtom, 8));
  }
  records +=
      Container(kOfficeArtClientTextbox, TextAtoms(slide, index, index == 2));
  return Container(kOfficeArtSpContainer, records);
}

std::string SlideRecords(int slide) {
  std::string shapes =
      Container(kOfficeArtSpContainer,
                Atom(kOfficeArtFSPGR, 16) + Atom(kOfficeArtFSP, 8));
  for (int index = 0; index < 4; ++index) shapes += Shape(slide, index);
  std::string drawing =
      Atom(kOfficeArtFDG, 8) + Container(kOfficeArtSpgrContainer, shapes) +
      Container(kOfficeArtSpContainer,
                Atom(kOfficeArtFSP, 8) + Atom(kOfficeArtFOPT, 48));
  std::string children =
      Atom(kRtSlideAtom, 24) +
      Container(kRtDrawing, Container(kOfficeArtDgContainer, drawing)) +
      Atom(kRtColorSchemeAtom, 32);
  return Container(kRtSlide, children);
}

std::string Deck() {
  std::string list;
  for (int s = 0; s < kSlidesPerDeck; ++s) list += SlideListEntry(s);
  std::string document = Atom(kRtDocumentAtom, 40) +
                         Container(kRtSlideListWithText, list) +
                         Atom(testing::kDocumentBlob, 600, '\x55');
  std::string deck = Container(kRtDocument, document);
  for (int s = 0; s < kSlidesPerDeck; ++s) deck += SlideRecords(s);
  return deck;
}

}  // namespace

SyntheticPresentation::SyntheticPresentation(uint64_t streamBytes)
    : deck(Deck()),
      deckCount(std::max<uint64_t>(1, streamBytes / deck.size())) {}

CompoundFileWriter SyntheticPresentation::Writer() const {
  CompoundFileWriter writer;
  // A small stream beside the document, as PowerPoint writes one.
  writer.AddStream(u"Current User", std::string(48, '\0'));
  writer.AddStream(u"PowerPoint Document", StreamSize(),
                   [deck = deck](uint64_t offset, char* out, size_t n) {
                     for (size_t done = 0; done < n;) {
                       uint64_t within = (offset + done) % deck.size();
                       size_t take =
                           std::min<uint64_t>(deck.size() - within, n - done);
                       std::memcpy(out + done, deck.data() + within, take);
                       done += take;
                     }
                   });
  return writer;
}

std::string SyntheticPresentation::Build() const { return Writer().Build(); }

uint64_t SyntheticPresentation::FileSize() const {
  return Writer().Layout().fileSize;
}

bool SyntheticPresentation::WriteFile(const std::string& path) const {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return false;
  bool ok = true;
  Writer().WriteTo([&](const char* bytes, size_t n) {
    if (ok && std::fwrite(bytes, 1, n, file.get()) != n) ok = false;
  });
  int error = errno;
  if (std::fclose(file.release()) != 0) ok = false;
  if (!ok && errno == 0) errno = error;
  return ok;
}

}  // namespace txtppt2::bench
