// Every call releases what it made: after any conversion or probe returns,
// from a path or from memory, on a sound file or on any failure path, the
// calling thread holds no more heap blocks than before, and the call ended
// as the sample file's row says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/heap_count.h"
#include "support/sample_files.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

namespace fs = std::filesystem;

// The six conversions, by path (narrow and wide) and from memory.
void* Convert(int way, const std::string& path, const std::u16string& wide,
              const std::string& bytes) {
  uint32_t count = static_cast<uint32_t>(bytes.size());
  switch (way) {
    case 0:
      return ConvertToUnicode(path.c_str(), &count);
    case 1:
      return ConvertToUnicodeW(wide.c_str(), &count);
    case 2:
      return ConvertToPureText(path.c_str(), &count);
    case 3:
      return ConvertToPureTextW(wide.c_str(), &count);
    case 4:
      return ConvertMemoryToUnicode(bytes.data(), 0, &count);
    default:
      return ConvertMemoryToPureText(bytes.data(), 0, &count);
  }
}

TEST(ObjectLifetimeTest, EveryCallReleasesEverythingOnEverySample) {
  const fs::path folder = fs::temp_directory_path() /
                          ("txtppt2_lifetime_" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (const auto& sample : testing::SampleFiles()) {
    const std::string path = (folder / (sample.name + ".ppt")).string();
    std::ofstream(path, std::ios::binary) << sample.bytes;
    const std::u16string wide(path.begin(), path.end());
    const char* name = sample.name.c_str();
    for (int way = 0; way < 6; ++way) {
      const long before = testing::LiveHeapBlocks();
      void* result = Convert(way, path, wide, sample.bytes);
      EXPECT_EQ(testing::LiveHeapBlocks(), before) << name << ", way " << way;
      EXPECT_EQ(GetErrorCode(), sample.errorCode) << name << ", way " << way;
      EXPECT_EQ(result != nullptr, sample.errorCode == 0) << name;
      std::free(result);
    }
    const long before = testing::LiveHeapBlocks();
    const bool supported = sample.errorCode == 0;
    EXPECT_EQ(IsFileSupported(path.c_str()), supported) << name;
    EXPECT_EQ(IsFileSupportedW(wide.c_str()), supported) << name;
    EXPECT_EQ(IsMemDataSupported(sample.bytes.data(),
                                 static_cast<uint32_t>(sample.bytes.size())),
              supported)
        << name;
    EXPECT_EQ(testing::LiveHeapBlocks(), before) << name << ", probes";
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace txtppt2
