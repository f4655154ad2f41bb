// Every call releases what it made: after any conversion or probe returns,
// from a path or from memory, on a sound file or on any failure path, no
// MemoryLockBytes and no storage, stream, enumerator or file state of the
// compound file reader is left alive on the calling thread.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "storage/compound_file/live_objects.h"
#include "storage/memory_lock_bytes.h"
#include "support/sample_files.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

namespace fs = std::filesystem;

struct Live {
  int lockBytes;
  int compoundFile;
  bool operator==(const Live&) const = default;
};

Live LiveNow() {
  return {MemoryLockBytes::LiveCount(), testing::LiveCompoundFileObjects()};
}

std::ostream& operator<<(std::ostream& out, const Live& live) {
  return out << live.lockBytes << " lock-bytes, " << live.compoundFile
             << " compound file objects";
}

constexpr Live kNothingAlive{0, 0};
constexpr DWORD kStorageMode = STGM_READ | STGM_SHARE_DENY_WRITE;
constexpr DWORD kStreamMode = STGM_READ | STGM_SHARE_EXCLUSIVE;

const std::string& SampleBytes(const std::string& name) {
  static const auto samples = testing::AllSampleFiles();
  for (const auto& sample : samples)
    if (sample.name == name) return sample.bytes;
  throw std::runtime_error("no sample " + name);
}

// The counters see what is open, so that a zero below means released.
// A stream keeps the file state alive after its storage is gone.
TEST(ObjectLifetimeTest, CountersSeeOpenObjectsUntilTheLastRelease) {
  const std::string& bytes = SampleBytes("v3_regular_stream_sixty_slides");
  auto* lockBytes =
      new MemoryLockBytes(reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<ULONG>(bytes.size()));
  lockBytes->AddRef();
  IStorage* storage = nullptr;
  ASSERT_EQ(StgOpenStorageOnILockBytes(lockBytes, nullptr, kStorageMode,
                                       nullptr, 0, &storage),
            S_OK);
  lockBytes->Release();
  Live withStorage = LiveNow();
  EXPECT_EQ(withStorage.lockBytes, 1) << "the storage holds the lock-bytes";
  EXPECT_GE(withStorage.compoundFile, 2) << "the storage and the file state";

  IStream* stream = nullptr;
  ASSERT_EQ(storage->OpenStream(u"PowerPoint Document", nullptr, kStreamMode, 0,
                                &stream),
            S_OK);
  EXPECT_GT(LiveNow().compoundFile, withStorage.compoundFile);
  storage->Release();
  Live streamOnly = LiveNow();
  EXPECT_EQ(streamOnly.lockBytes, 1);
  EXPECT_GE(streamOnly.compoundFile, 2) << "the stream and the file state";
  char byte;
  ULONG read = 0;
  EXPECT_EQ(stream->Read(&byte, 1, &read), S_OK);
  EXPECT_EQ(read, 1u);
  stream->Release();
  EXPECT_EQ(LiveNow(), kNothingAlive);
}

// The sample files on disk, in a folder of their own, for the path calls.
class SampleFolder {
 public:
  SampleFolder()
      : folder(fs::temp_directory_path() /
               ("txtppt2_lifetime_" + std::to_string(getpid()))) {
    fs::create_directories(folder);
  }
  ~SampleFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  std::string Write(const testing::SampleFile& sample) const {
    fs::path path = folder / (sample.name + ".ppt");
    std::ofstream(path, std::ios::binary) << sample.bytes;
    return path.string();
  }
  std::string Path(const std::string& name) const {
    return (folder / name).string();
  }

 private:
  fs::path folder;
};

// Which way each sample file's conversions end, for the failure paths: they
// must really fail (and fail as the damage says), or the releases below
// were never tested there. Samples not named here may end either way.
const std::map<std::string, uint32_t>& ExpectedFailureCodes() {
  static const std::map<std::string, uint32_t> codes = {
      // Not a compound file.
      {"empty_input", 4},
      {"header_cut_short", 4},
      {"one_sector_only", 4},
      {"random_bytes", 4},
      {"signature_wrong", 4},
      {"major_version_five", 4},
      {"byte_order_big_endian", 4},
      {"sector_shift_too_large", 4},
      // Tables or directory that cannot be read.
      {"directory_sector_past_end", 4},
      {"first_fat_sector_past_end", 4},
      {"cut_in_fat", 4},
      {"cut_before_directory", 4},
      // No document stream under the root.
      {"no_document_stream", 1003},
      {"document_is_a_storage", 1003},
      {"document_only_below_root", 1003},
  };
  return codes;
}

void ExpectReleasedAfter(const char* call, const std::string& name) {
  EXPECT_EQ(LiveNow(), kNothingAlive) << call << " on " << name;
}

TEST(ObjectLifetimeTest, EveryCallReleasesEverythingOnEverySample) {
  SampleFolder folder;
  for (const auto& sample : testing::AllSampleFiles()) {
    std::string path = folder.Write(sample);
    std::u16string wide(path.begin(), path.end());
    const char* name = sample.name.c_str();
    auto failure = ExpectedFailureCodes().find(sample.name);
    const bool mustFail = failure != ExpectedFailureCodes().end();

    uint32_t count = 0;
    void* results[6];
    results[0] = ConvertToUnicode(path.c_str(), &count);
    ExpectReleasedAfter("ConvertToUnicode", name);
    results[1] = ConvertToUnicodeW(wide.c_str(), &count);
    ExpectReleasedAfter("ConvertToUnicodeW", name);
    results[2] = ConvertToPureText(path.c_str(), &count);
    ExpectReleasedAfter("ConvertToPureText", name);
    results[3] = ConvertToPureTextW(wide.c_str(), &count);
    ExpectReleasedAfter("ConvertToPureTextW", name);
    count = static_cast<uint32_t>(sample.bytes.size());
    results[4] = ConvertMemoryToUnicode(sample.bytes.data(), 0, &count);
    ExpectReleasedAfter("ConvertMemoryToUnicode", name);
    count = static_cast<uint32_t>(sample.bytes.size());
    results[5] = ConvertMemoryToPureText(sample.bytes.data(), 0, &count);
    ExpectReleasedAfter("ConvertMemoryToPureText", name);
    if (mustFail) {
      EXPECT_EQ(GetErrorCode(), failure->second) << name;
      for (void* result : results) EXPECT_EQ(result, nullptr) << name;
    }
    for (void* result : results) std::free(result);

    bool onDisk = IsFileSupported(path.c_str());
    ExpectReleasedAfter("IsFileSupported", name);
    EXPECT_EQ(IsFileSupportedW(wide.c_str()), onDisk) << name;
    ExpectReleasedAfter("IsFileSupportedW", name);
    EXPECT_EQ(IsMemDataSupported(sample.bytes.data(),
                                 static_cast<uint32_t>(sample.bytes.size())),
              onDisk)
        << name;
    ExpectReleasedAfter("IsMemDataSupported", name);
    if (mustFail) {
      EXPECT_FALSE(onDisk) << name;
    }
  }
}

// Paths that fail before any compound file is read.
TEST(ObjectLifetimeTest, PathFailuresReleaseEverything) {
  SampleFolder folder;
  const std::string tooLong(1500, 'x');
  const std::string paths[] = {folder.Path("missing.ppt"),
                               folder.Path("no/such/folder/file.ppt"),
                               folder.Path(""),  // the folder itself
                               tooLong, ""};
  for (const auto& path : paths) {
    uint32_t count = 0;
    EXPECT_EQ(ConvertToUnicode(path.c_str(), &count), nullptr) << path;
    EXPECT_NE(GetErrorCode(), 0u) << path;
    ExpectReleasedAfter("ConvertToUnicode", path);
    EXPECT_EQ(ConvertToPureText(path.c_str(), &count), nullptr) << path;
    ExpectReleasedAfter("ConvertToPureText", path);
    EXPECT_FALSE(IsFileSupported(path.c_str())) << path;
    ExpectReleasedAfter("IsFileSupported", path);
  }
}

}  // namespace
}  // namespace txtppt2
