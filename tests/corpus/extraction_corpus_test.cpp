// Walks the "PowerPoint Document" stream of every corpus file, as read by
// python3-olefile, in both widths, and compares with the expected text.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "extract/presentation_text_extractor.h"
#include "support/memory_record_stream_reader.h"
#include "support/corpus.h"

namespace txtppt2 {
namespace {

template <typename Out>
std::string ExtractBytes(const std::string& stream) {
  MemoryRecordStreamReader reader(stream.data(),
                                  static_cast<uint32_t>(stream.size()));
  PresentationTextExtractor extractor(reader);
  Out out;
  extractor.Extract(out);
  return std::string(reinterpret_cast<const char*>(out.Data()),
                     out.Length() * sizeof(*out.Data()));
}

TEST(ExtractionCorpusTest, EveryStreamGivesTheExpectedTextInBothWidths) {
  TXTPPT2_REQUIRE_CORPUS();
  int compared = 0;
  for (const auto& file : testing::LoadCorpus()) {
    if (!file.utf16) continue;
    auto streamPath = testing::CorpusStreamsDir() / (file.name + ".stream");
    ASSERT_TRUE(std::filesystem::exists(streamPath))
        << file.name << ": no stream was prepared (did the preparation step run?)";
    std::string stream = testing::ReadFileBytes(streamPath);
    EXPECT_TRUE(ExtractBytes<WideOutputStream>(stream) == *file.utf16)
        << file.name << ": Unicode text differs";
    ASSERT_TRUE(file.ansi.has_value()) << file.name;
    EXPECT_TRUE(ExtractBytes<NarrowOutputStream>(stream) == *file.ansi)
        << file.name << ": pure text differs";
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace txtppt2
