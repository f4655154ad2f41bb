// The property set reader and the document's properties, over streams the
// fixture writer builds: code pages, value types, dictionaries, and damage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/property_set_writer.h"
#include "properties/document_properties_reader.h"
#include "properties/file_time.h"
#include "properties/property_set.h"
#include "properties/property_set_extent.h"
#include "support/deck_records.h"
#include "support/utf8_check.h"

namespace txtppt2 {
namespace {

using testing::BoolValue;
using testing::DictionaryValue;
using testing::FileTimeValue;
using testing::I2Value;
using testing::I4Value;
using testing::IsValidUtf8;
using testing::LpstrUtf16Value;
using testing::LpstrValue;
using testing::LpwstrValue;
using testing::R8Value;
using testing::StoredSection;
using testing::WritePropertySet;
using testing::deck_records::U32;

using Texts = std::vector<std::optional<std::string>>;

// FILETIME ticks computed with Python's datetime from 1601-01-01.
constexpr uint64_t kTicks2008 = 128623624360000000;  // 2008-08-04 22:27:16
constexpr uint64_t kTicksLeapDay = 125963423990000000;  // 2000-02-29 23:59:59

TEST(FileTimeTest, TicksAndDatesBecomeIsoText) {
  struct Case {
    uint64_t ticks;
    const char* iso;  // null: absent
  } cases[] = {
      {0, nullptr},
      {1, "1601-01-01T00:00:00Z"},
      {kTicks2008, "2008-08-04T22:27:16Z"},
      {kTicks2008 + 9'999'999, "2008-08-04T22:27:16Z"},  // fraction dropped
      {kTicksLeapDay, "2000-02-29T23:59:59Z"},
      {116444736000000000, "1970-01-01T00:00:00Z"},
      {2650467743990000000, "9999-12-31T23:59:59Z"},
      {2650467743990000000 + 10'000'000, nullptr},  // year 10000
      {UINT64_MAX, nullptr},
  };
  for (const Case& c : cases) {
    auto iso = FileTimeToIso(c.ticks);
    if (c.iso == nullptr)
      EXPECT_FALSE(iso) << c.ticks;
    else
      EXPECT_EQ(iso.value_or("(none)"), c.iso) << c.ticks;
  }
  // 39664.9356018... days after 1899-12-30 is the same moment.
  EXPECT_EQ(OleDateToIso(39664.93560185185).value_or(""),
            "2008-08-04T22:27:16Z");
  EXPECT_FALSE(OleDateToIso(0.0 / 0.0));
  EXPECT_FALSE(OleDateToIso(1e300));
  EXPECT_FALSE(CalendarTimeToIso(2008, 13, 1, 0, 0, 0));
  EXPECT_FALSE(CalendarTimeToIso(2008, 1, 1, 24, 0, 0));
}

// One SummaryInformation per code page; the same texts must come out.
TEST(DocumentPropertiesTest, SummaryInformationInEachCodePage) {
  std::vector<StoredSection> windows1252{
      {kSummaryInformationId,
       {{1, I2Value(1252)},
        {2, LpstrValue("Caf\xE9 \x80")},  // é and the euro sign
        {4, LpstrValue("Ann")},
        {8, LpstrValue("Bob")},
        {9, LpstrValue("7")},
        {12, FileTimeValue(kTicks2008)},
        {13, FileTimeValue(kTicksLeapDay)},
        {18, LpstrValue("Microsoft PowerPoint")},
        {3, LpstrValue("")}}}};  // empty: absent
  std::vector<StoredSection> textForDates{
      {kSummaryInformationId,
       {{12, LpstrValue("2008")}, {13, I4Value(7)}}}};  // dates of no date
  std::vector<StoredSection> utf16{
      {kSummaryInformationId,
       {{2, LpstrUtf16Value(u"Caf\u00E9 \u20AC")},
        {4, LpwstrValue(u"Ann")},
        {8, LpstrUtf16Value(u"Bob")},
        {9, LpstrUtf16Value(u"7")},
        {12, FileTimeValue(kTicks2008)},
        {13, FileTimeValue(kTicksLeapDay)},
        {18, LpstrUtf16Value(u"Microsoft PowerPoint")},
        {1, I2Value(1200)}}}};  // the code page after the texts it governs
  for (const auto& sections : {windows1252, utf16}) {
    DocumentProperties p;
    ReadSummaryInformation(WritePropertySet(sections), p);
    // The subject is empty; the company is not SummaryInformation's.
    EXPECT_EQ((Texts{p.title, p.author, p.lastSavedBy, p.revision, p.created,
                     p.modified, p.application, p.subject, p.company}),
              (Texts{"Caf\u00E9 \u20AC", "Ann", "Bob", "7",
                     "2008-08-04T22:27:16Z", "2000-02-29T23:59:59Z",
                     "Microsoft PowerPoint", std::nullopt, std::nullopt}));
  }
  DocumentProperties noDates;
  ReadSummaryInformation(WritePropertySet(textForDates), noDates);
  EXPECT_FALSE(noDates.created);
  EXPECT_FALSE(noDates.modified);
}

TEST(DocumentPropertiesTest, DocumentSummaryAndUserDefinedSections) {
  for (bool wide : {false, true}) {
    auto text = [wide](std::u16string_view value) {
      std::string narrow(value.begin(), value.end());
      return wide ? LpstrUtf16Value(value) : LpstrValue(narrow);
    };
    int16_t codePage = wide ? 1200 : 1252;
    std::vector<StoredSection> sections{
        {kDocumentSummaryInformationId,
         {{1, I2Value(codePage)},
          {2, text(u"Talks")},
          {7, I4Value(12)},
          {8, I4Value(3)},
          {9, I4Value(1)},
          {14, text(u"Mia")},
          {15, text(u"ACME")}}},
        {kUserDefinedPropertiesId,
         {{0, DictionaryValue({{2, u"Client"},
                               {3, u"Approved"},
                               {4, u"Budget"},
                               {5, u"Due"},
                               {6, u"Pages"},
                               {7, u"Note"},
                               {8, u"_PID_HLINKS"},
                               {2, u"Shadowed"}},
                              wide)},
          {1, I2Value(codePage)},
          {2, text(u"Initech")},
          {3, BoolValue(true)},
          {4, R8Value(2.5)},
          {5, FileTimeValue(kTicks2008)},
          {6, I4Value(-4)},
          {7, LpwstrValue(u"\u00FCber")},
          {8, I4Value(5)},  // Office's own
          {9, I4Value(99)},  // no name: not listed
          {0x80000000, I4Value(1033)}}}};
    DocumentProperties p;
    ReadDocumentSummaryInformation(WritePropertySet(sections), p);
    EXPECT_EQ((Texts{p.category, p.manager, p.company}),
              (Texts{"Talks", "Mia", "ACME"}));
    EXPECT_EQ((std::vector<std::optional<int64_t>>{p.slides, p.notes,
                                                p.hiddenSlides}),
              (std::vector<std::optional<int64_t>>{12, 3, 1}));
    std::vector<std::pair<std::string, PropertyValue>> custom;
    for (const CustomProperty& c : p.custom) custom.emplace_back(c.name, c.value);
    EXPECT_EQ(custom, (decltype(custom){
                          {"Client", std::string("Initech")},
                          {"Approved", true},
                          {"Budget", 2.5},
                          {"Due", std::string("2008-08-04T22:27:16Z")},
                          {"Pages", int64_t{-4}},
                          {"Note", std::string("\xC3\xBC" "ber")}}))
        << wide;
  }
}

// 8-bit texts in other code pages: single-byte, double-byte, and one no
// converter knows (read as Windows-1252).
TEST(DocumentPropertiesTest, TextsInOtherCodePages) {
  struct Case {
    int16_t codePage;
    const char* bytes;
    const char* utf8;
  } cases[] = {
      {1251, "\xCF\xF0\xE8\xE2\xE5\xF2",
       "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},  // Привет
      {932, "\x83\x58\x83\x89\x83\x43\x83\x68",
       "\xE3\x82\xB9\xE3\x83\xA9\xE3\x82\xA4\xE3\x83\x89"},  // スライド
      {static_cast<int16_t>(65001), "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
      {12345, "Caf\xE9", "Caf\xC3\xA9"},
  };
  for (const Case& c : cases) {
    DocumentProperties properties;
    ReadSummaryInformation(
        WritePropertySet({{kSummaryInformationId,
                           {{1, I2Value(c.codePage)},
                            {2, LpstrValue(c.bytes)},
                            {4, LpstrValue(c.bytes)}}}}),
        properties);
    EXPECT_EQ(properties.title.value_or(""), c.utf8) << c.codePage;
    EXPECT_EQ(properties.author.value_or(""), c.utf8) << c.codePage;
  }
}

// Lone surrogates become U+FFFD; pairs become one code point.
TEST(PropertySetTest, UnicodeStringsKeepPairsAndReplaceLoneSurrogates) {
  std::vector<StoredSection> sections{
      {kSummaryInformationId,
       {{2, LpwstrValue(u"a\xD83D\xDE00" "b")},
        {3, LpwstrValue(u"\xD83D" "x\xDE00")},
        {4, LpwstrValue(u"cut\0after")}}}};
  auto read = ReadPropertySet(WritePropertySet(sections));
  ASSERT_EQ(read.size(), 1u);
  ASSERT_EQ(read[0].properties.size(), 3u);
  EXPECT_EQ(std::get<std::string>(read[0].properties[0].value),
            "a\xF0\x9F\x98\x80" "b");
  EXPECT_EQ(std::get<std::string>(read[0].properties[1].value),
            "\xEF\xBF\xBDx\xEF\xBF\xBD");
  EXPECT_EQ(std::get<std::string>(read[0].properties[2].value), "cut");
}

// Every prefix of a sound stream and every byte of it set to 0xFF: no read
// outside the bytes (the sanitizers watch), valid UTF-8, and no more text
// than a small multiple of the input.
TEST(PropertySetTest, TruncatedAndDamagedStreamsStayBounded) {
  std::vector<StoredSection> sections{
      {kDocumentSummaryInformationId,
       {{1, I2Value(1252)}, {2, LpstrValue("Talks\xE9")}, {7, I4Value(3)}}},
      {kUserDefinedPropertiesId,
       {{0, DictionaryValue({{2, u"Client"}}, false)},
        {2, LpwstrValue(u"\xD800zz")}}}};
  const std::string sound = WritePropertySet(sections);
  auto check = [](const std::string& stream) {
    size_t textBytes = 0;
    for (const PropertySection& section : ReadPropertySet(stream)) {
      for (const auto& entry : section.dictionary) {
        EXPECT_TRUE(IsValidUtf8(entry.name));
        textBytes += entry.name.size();
      }
      for (const auto& entry : section.properties)
        if (const auto* text = std::get_if<std::string>(&entry.value)) {
          EXPECT_TRUE(IsValidUtf8(*text));
          textBytes += text->size();
        }
    }
    EXPECT_LE(textBytes, 6 * stream.size() + 3 * 4096 * 2);
  };
  for (size_t length = 0; length <= sound.size(); ++length)
    check(sound.substr(0, length));
  for (size_t at = 0; at < sound.size(); ++at) {
    std::string damaged = sound;
    damaged[at] = '\xFF';
    check(damaged);
  }
  // A sound stream reads whole.
  auto whole = ReadPropertySet(sound);
  ASSERT_EQ(whole.size(), 2u);
  EXPECT_EQ(whole[1].dictionary.size(), 1u);
}

// Many property ids sharing one long string cost its length once per id
// only up to the section's decode budget.
TEST(PropertySetTest, SharedValuesDoNotMultiplyTheOutput) {
  std::string longText(60000, 'x');
  StoredSection section{kSummaryInformationId, {{2, LpstrValue(longText)}}};
  std::string stream = WritePropertySet({section});
  // The stream's header and section list (48 bytes) kept, then a section
  // written by hand whose 1000 table entries all point at one value.
  const uint32_t count = 1000;
  const uint32_t valueOffset = 8 + 8 * count;
  std::string value = LpstrValue(longText);
  std::string table =
      U32(valueOffset + static_cast<uint32_t>(value.size())) + U32(count);
  for (uint32_t i = 0; i < count; ++i) table += U32(2 + i) + U32(valueOffset);
  std::string crafted = stream.substr(0, 48) + table + value;
  auto read = ReadPropertySet(crafted);
  ASSERT_EQ(read.size(), 1u);
  size_t textBytes = 0;
  for (const auto& entry : read[0].properties)
    if (const auto* text = std::get_if<std::string>(&entry.value))
      textBytes += text->size();
  EXPECT_GE(textBytes, longText.size());  // the first ones are read
  EXPECT_LE(textBytes, 3 * crafted.size() + 4096);
}

// The bytes the properties need, told from a window of the stream's start:
// a thumbnail (VT_CF) at a section's end is left unread, a text after one
// is not, and the first extent bytes give the whole stream's properties.
TEST(PropertySetTest, ExtentLeavesTheThumbnailUnread) {
  const std::string thumbnail =
      std::string("\x47\0\0\0", 4) + std::string(9000, 'x');
  struct Case {
    std::vector<StoredSection> sections;
    size_t unread;  // bytes at least left past the extent
  } cases[] = {
      {{{kSummaryInformationId,
         {{1, I2Value(1252)}, {2, LpstrValue("Title")}, {17, thumbnail}}}},
       8990},
      {{{kUserDefinedPropertiesId,
         {{0, DictionaryValue({{2, u"Client"}}, false)},
          {2, LpstrValue("Acme")}}},
        {kSummaryInformationId, {{17, thumbnail}, {4, LpstrValue("Ann")}}}},
       0},
      {{{kSummaryInformationId,  // the table itself past the window
         std::vector<testing::StoredProperty>(40, {2, LpstrValue("Title")})}},
       0},
  };
  for (const Case& c : cases) {
    const std::string stream = WritePropertySet(c.sections);
    uint64_t extent = PropertySetExtent(
        std::string_view(stream).substr(0, 256), stream.size());
    EXPECT_LE(extent + c.unread, stream.size());
    auto whole = ReadPropertySet(stream);
    auto part = ReadPropertySet(std::string_view(stream).substr(0, extent));
    ASSERT_EQ(part.size(), whole.size());
    for (size_t i = 0; i < whole.size(); ++i) {
      ASSERT_EQ(part[i].properties.size(), whole[i].properties.size());
      for (size_t j = 0; j < whole[i].properties.size(); ++j) {
        EXPECT_EQ(part[i].properties[j].type, whole[i].properties[j].type);
        EXPECT_EQ(part[i].properties[j].value, whole[i].properties[j].value);
      }
      EXPECT_EQ(part[i].dictionary.size(), whole[i].dictionary.size());
    }
  }
}

}  // namespace
}  // namespace txtppt2
