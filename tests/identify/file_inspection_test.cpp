// The file verdicts of compound files made by the fixture writer: every
// kind of compound file the classification names (a Word file, an empty
// file and a PDF are test_statuses.py's, on every surface), a minimal sound
// presentation, and that presentation with each part of its structure
// broken; then the text given for PowerPoint 95 files and damaged decks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/file_text.h"
#include "fixtures/compound_file_writer.h"
#include "support/deck_records.h"
#include "identify/salvaged_text.h"
#include "identify/utf8_to_utf16.h"

namespace txtppt2 {
namespace {

using testing::CompoundFileVersion;
using testing::CompoundFileWriter;
using namespace testing::deck_records;

// The fields of a one-save document that the damage cases change.
struct Deck {
  uint32_t headerToken = 0xE391C05F;
  uint32_t offsetToCurrentEdit = 40;
  uint32_t offsetLastEdit = 0;
  uint32_t offsetPersistDirectory = 24;
  uint32_t docPersistIdRef = 1;
  uint32_t persistOffset = 0;
};

// The PowerPoint Document stream: a DocumentContainer holding one text
// atom at 0, the PersistDirectoryAtom (one entry, id 1) at 24, the
// UserEditAtom (major version 3, persistIdSeed 2) at 40.
std::string DocumentStream(const Deck& deck) {
  return Box(0x03E8, Atom(0x0FA8, "Hi, deck")) +
         Atom(0x1772, U32(1u << 20 | 1) + U32(deck.persistOffset)) +
         Atom(0x0FF5, U32(0) + U32(3u << 24) + U32(deck.offsetLastEdit) +
                          U32(deck.offsetPersistDirectory) +
                          U32(deck.docPersistIdRef) + U32(2) + U32(0));
}

std::string CurrentUserStream(const Deck& deck) {
  return Atom(0x0FF6, U32(0x14) + U32(deck.headerToken) +
                          U32(deck.offsetToCurrentEdit) + U16(0) +
                          U16(0x03F4) + U32(3));
}

std::string DeckFile(const Deck& deck, uint64_t truncateTo = 0) {
  CompoundFileWriter writer(CompoundFileVersion::k3);
  writer.AddStream(u"Current User", CurrentUserStream(deck));
  auto document =
      writer.AddStream(u"PowerPoint Document", DocumentStream(deck));
  if (truncateTo != 0) writer.DeclareStreamSize(document, truncateTo);
  return writer.Build();
}

std::string FileWithStreams(
    std::vector<std::pair<std::u16string, std::string>> streams) {
  CompoundFileWriter writer(CompoundFileVersion::k3);
  for (auto& [name, data] : streams) writer.AddStream(name, data);
  return writer.Build();
}

FileVerdict VerdictOf(const std::string& bytes,
                      std::optional<std::string> password = std::nullopt) {
  return InspectFile(MemorySource{reinterpret_cast<const BYTE*>(bytes.data()),
                                  static_cast<uint32_t>(bytes.size())},
                     password)
      .verdict;
}

TEST(FileInspectionTest, EachKindOfFileGetsItsStatusAndFormat) {
  const std::string pp95Text = "Title\rLine\vbreak\r";
  struct Case {
    const char* what;
    std::string bytes;
    FileStatus status;
    const char* format;
    const char* errorHolds;
  };
  const Case cases[] = {
      {"sound deck", DeckFile({}), FileStatus::kOk, "ppt", ""},
      {"PowerPoint 4", FileWithStreams({{u"PP40", "4.0"}}),
       FileStatus::kOldFormat, "ppt4", "PowerPoint 4.0"},
      {"Excel", FileWithStreams({{u"Workbook", "x"}}), FileStatus::kOtherFormat,
       "xls", "Excel"},
      {"Excel 5", FileWithStreams({{u"Book", "x"}}), FileStatus::kOtherFormat,
       "xls", "Excel"},
      {"Outlook", FileWithStreams({{u"__properties_version1.0", "m"}}),
       FileStatus::kOtherFormat, "msg", "Outlook"},
      {"encrypted OOXML",
       FileWithStreams({{u"EncryptionInfo", "i"}, {u"EncryptedPackage", "p"}}),
       FileStatus::kOtherFormat, "ooxml-encrypted", "encrypted Office"},
      {"other compound file", FileWithStreams({{u"Contents", "c"}}),
       FileStatus::kOtherFormat, "ole", "another program"},
      {"PowerPoint 95",
       FileWithStreams({{u"Current User", std::string("\x05\0\0\0Anne", 8)},
                        {u"PowerPoint Document", "95"},
                        {u"Text_Content", pp95Text}}),
       FileStatus::kOk, "ppt95", ""},
      {"header only", DeckFile({}).substr(0, 512), FileStatus::kDamaged, "ole",
       "damaged file"},
      {"edit past the end", DeckFile({.offsetToCurrentEdit = 4000}),
       FileStatus::kDamaged, "ppt", "user edit"},
      {"edit at the container", DeckFile({.offsetToCurrentEdit = 0}),
       FileStatus::kDamaged, "ppt", "user edit"},
      {"directory moved", DeckFile({.offsetPersistDirectory = 8}),
       FileStatus::kDamaged, "ppt", "persist directory"},
      {"edit chain loops", DeckFile({.offsetLastEdit = 40}),
       FileStatus::kDamaged, "ppt", "does not go backwards"},
      {"document not in the directory", DeckFile({.docPersistIdRef = 2}),
       FileStatus::kDamaged, "ppt", "persist object is missing"},
      {"persist object past the end", DeckFile({.persistOffset = 100}),
       FileStatus::kDamaged, "ppt", "persist object 1 runs past"},
      {"stream longer than its chain", DeckFile({}, 5000), FileStatus::kDamaged,
       "ppt", "cut short"},
      {"encrypted without a session", DeckFile({.headerToken = 0xF3D1C4DF}),
       FileStatus::kEncrypted, "ppt",
       TXTPPT2_DECRYPTION ? "cannot read" : "without a cipher library"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FileVerdict verdict = VerdictOf(c.bytes);
    EXPECT_EQ(std::string(FileStatusName(verdict.status)),
              FileStatusName(c.status));
    EXPECT_EQ(verdict.format, c.format);
    EXPECT_NE(verdict.error.find(c.errorHolds), std::string::npos)
        << verdict.error;
    EXPECT_EQ(verdict.error.empty(), c.status == FileStatus::kOk);
    EXPECT_EQ(verdict.osError, 0);  // an errno belongs to unreadable files
  }
}

FileText TextOf(const std::string& bytes, OutputMode mode) {
  return ExtractFileText(
      MemorySource{reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<uint32_t>(bytes.size())},
      mode, kExactText, std::nullopt);
}

TEST(FileInspectionTest, PowerPoint95GivesItsParagraphsInBothEncodings) {
  const std::string file = FileWithStreams(
      {{u"Text_Content", "Caf\xE9\rone\vtwo\r\r\x85 end\0ignored"}});
  EXPECT_EQ(TextOf(file, kPureText).text,
            "Caf\xE9\r\none\r\ntwo\r\n\r\n\x85 end\r\n");
  const std::u16string wide = u"Caf\u00E9\r\none\r\ntwo\r\n\r\n\u2026 end\r\n";
  EXPECT_EQ(TextOf(file, kUnicode).text, EncodeText(wide, kUnicode));
}

TEST(FileInspectionTest, DamagedDeckGivesWhatItsConverterStillReads) {
  FileText damaged = TextOf(DeckFile({.docPersistIdRef = 2}), kPureText);
  EXPECT_EQ(damaged.verdict.status, FileStatus::kDamaged);
  EXPECT_EQ(damaged.text, "Hi, deck\r\n");
}

TEST(SalvagedTextTest, TextAtomsInOrderThroughContainersAndCutEnds) {
  const std::string chars = testing::Utf16Le(u"A\rB\u20AC");
  std::string stream =
      Box(0x03E8,
             Atom(0x0FA0, chars) + Atom(0x0FBA, "xx")) +
      Atom(0x0FA8, "cd\vef") + Atom(0x0FA8, "cut off here");
  stream.resize(stream.size() - 5);  // the last atom loses its end
  std::vector<uint8_t> bytes(stream.begin(), stream.end());
  EXPECT_EQ(SalvagedText(bytes), u"A\r\nB\u20AC\r\ncd\r\nef\r\ncut off\r\n");
}

// The decoder is the code page's (CodePageTest); a password has each byte
// it cannot decode as U+FFFD, and a character past U+FFFF as a pair.
TEST(Utf8ToUtf16Test, PasswordsOfEveryWidthAndBrokenBytes) {
  EXPECT_EQ(Utf8ToUtf16("p\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"),
            u"p\u00E4\u20AC\U0001F600");
  EXPECT_EQ(Utf8ToUtf16("a\xFF\xC3(\xED\xA0\x80\xC3"),
            u"a\uFFFD\uFFFD(\uFFFD\uFFFD\uFFFD\uFFFD");
}

}  // namespace
}  // namespace txtppt2
