// Every call releases what it made: after any conversion or probe returns,
// from a path or from memory, on a sound file or on any failure path, the
// calling thread holds no more heap blocks than before, and the call ended
// as the sample file's row says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/heap_count.h"
#include "support/sample_files.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

namespace fs = std::filesystem;

TEST(ObjectLifetimeTest, EveryCallReleasesEverythingOnEverySample) {
  const fs::path folder = fs::temp_directory_path() /
                          ("txtppt2_lifetime_" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (const auto& sample : testing::SampleFiles()) {
    const std::string path = (folder / (sample.name + ".ppt")).string();
    std::ofstream(path, std::ios::binary) << sample.bytes;
    const std::u16string wide(path.begin(), path.end());
    const char* name = sample.name.c_str();
    const std::string& bytes = sample.bytes;
    // The six conversions, by path (narrow and wide) and from memory.
    const std::function<void*(uint32_t*)> conversions[] = {
        [&](uint32_t* n) { return ConvertToUnicode(path.c_str(), n); },
        [&](uint32_t* n) { return ConvertToUnicodeW(wide.c_str(), n); },
        [&](uint32_t* n) { return ConvertToPureText(path.c_str(), n); },
        [&](uint32_t* n) { return ConvertToPureTextW(wide.c_str(), n); },
        [&](uint32_t* n) { return ConvertMemoryToUnicode(bytes.data(), 0, n); },
        [&](uint32_t* n) {
          return ConvertMemoryToPureText(bytes.data(), 0, n);
        },
    };
    for (const auto& convert : conversions) {
      const auto way = &convert - conversions;
      uint32_t count = static_cast<uint32_t>(bytes.size());
      const long before = testing::LiveHeapBlocks();
      void* result = convert(&count);
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
