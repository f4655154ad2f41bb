// Writes the sample files of the test support, sound and damaged, into a
// folder as fuzzing seeds: NAME.ppt for each; and property set streams in
// both code page kinds, NAME.props; and document streams, NAME.stream.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fixtures/property_set_writer.h"
#include "fixtures/record_stream_builder.h"
#include "properties/property_set.h"
#include "support/sample_files.h"

namespace {

using namespace txtppt2::testing;

// A SummaryInformation and a DocumentSummaryInformation with its
// user-defined section, in Windows-1252 and in UTF-16.
std::vector<std::pair<std::string, std::string>> PropertySetSeeds() {
  std::vector<std::pair<std::string, std::string>> seeds;
  for (bool wide : {false, true}) {
    auto text = [wide](std::u16string_view value) {
      return wide ? LpstrUtf16Value(value)
                  : LpstrValue(std::string(value.begin(), value.end()));
    };
    int16_t codePage = wide ? 1200 : 1252;
    std::string kind = wide ? "utf16" : "cp1252";
    seeds.emplace_back(
        "summary_" + kind,
        WritePropertySet({{txtppt2::kSummaryInformationId,
                           {{1, I2Value(codePage)},
                            {2, text(u"Title")},
                            {4, LpwstrValue(u"Author")},
                            {12, FileTimeValue(128623624360000000)}}}}));
    seeds.emplace_back(
        "document_summary_" + kind,
        WritePropertySet(
            {{txtppt2::kDocumentSummaryInformationId,
              {{1, I2Value(codePage)}, {15, text(u"Company")},
               {7, I4Value(3)}}},
             {txtppt2::kUserDefinedPropertiesId,
              {{0, DictionaryValue({{2, u"Name"}, {3, u"Flag"}}, wide)},
               {1, I2Value(codePage)},
               {2, text(u"Value")},
               {3, BoolValue(true)}}}}));
  }
  return seeds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  std::filesystem::path folder(argv[1]);
  std::filesystem::create_directories(folder);
  int written = 0;
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) std::fprintf(stderr, "cannot write %s\n", name.c_str());
    written += out ? 1 : 0;
    return !out.fail();
  };
  for (const auto& file : txtppt2::testing::SampleFiles())
    if (!write(file.name + ".ppt", file.bytes)) return 1;
  // For the model's target: an edit offset, then a document stream.
  for (int slides : {1, 3})
    if (!write("records_" + std::to_string(slides) + ".stream",
               std::string(4, '\0') + PresentationRecords(slides)))
      return 1;
  for (const auto& [name, bytes] : PropertySetSeeds())
    if (!write(name + ".props", bytes)) return 1;
  std::printf("%d seeds in %s\n", written, folder.c_str());
  return 0;
}
