// Our compound file reader against python3-olefile on every corpus file:
// the names of the root's streams and the bytes of "PowerPoint Document",
// read from the path and from memory, must equal what the preparation step
// wrote from olefile. Where the two readers disagree on a damaged file, the
// difference is listed below with its reason, and checked to be exactly
// that.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "storage/compound_file/live_objects.h"
#include "storage/compound_file_test_util.h"
#include "support/corpus.h"

namespace txtppt2::testing {
namespace {

namespace fs = std::filesystem;

// A name the two readers give differently.
struct KnownNameDifference {
  const char* file;
  const char* olefileName;
  const char* ourName;
  const char* reason;
};

const KnownNameDifference kKnownNameDifferences[] = {
    {"clusterfuzz-testcase-minimized-POIHSLFFuzzer-6360479850954752.ppt",
     "\x05"
     "Docume*tSummaryInformat\xEF\xBF\xBD",
     "\x05"
     "Docume*tSummaryInformat",
     "the entry's name length field is odd (51 bytes): olefile decodes the "
     "dangling byte as U+FFFD, we take only whole UTF-16 units"},
};

// What one reader makes of a file: nothing when it cannot open it.
struct Reading {
  std::vector<std::string> streamNames;  // UTF-8, in name order
  std::optional<std::string> document;   // "PowerPoint Document"
};

// Sorted without regard to ASCII case, then bytewise: one order for both
// readers, whatever order each lists in.
void SortNames(std::vector<std::string>* names) {
  auto key = [](std::string name) {
    for (char& c : name)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
  };
  std::sort(names->begin(), names->end(),
            [&](const std::string& a, const std::string& b) {
              std::string ka = key(a);
              std::string kb = key(b);
              return ka != kb ? ka < kb : a < b;
            });
}

// Reads the storage's stream names and its document stream; the stream
// is read in pieces of 2, 2 and 4 bytes, as the converter reads record
// headers, with a large read now and then.
Reading ReadStorage(IStorage* storage) {
  Reading reading;
  IEnumSTATSTG* raw = nullptr;
  EXPECT_EQ(storage->EnumElements(0, nullptr, 0, &raw), S_OK);
  ComPtr<IEnumSTATSTG> enumerator(raw);
  STATSTG stat;
  while (enumerator && enumerator->Next(1, &stat, nullptr) == S_OK) {
    if (stat.type == STGTY_STREAM)
      reading.streamNames.push_back(Utf8(stat.pwcsName));
    CoTaskMemFree(stat.pwcsName);
  }
  SortNames(&reading.streamNames);

  ComPtr<IStream> stream;
  HRESULT hr = OpenStream(storage, u"PowerPoint Document", &stream);
  if (hr == STG_E_FILENOTFOUND) return reading;
  EXPECT_EQ(hr, S_OK);
  if (!stream) return reading;
  std::string bytes;
  std::vector<char> buffer(100000);
  const ULONG pattern[] = {2, 2, 4, 2, 2, 4, 100000};
  for (size_t i = 0;; ++i) {
    ULONG want = pattern[i % std::size(pattern)];
    ULONG got = 0;
    EXPECT_EQ(stream->Read(buffer.data(), want, &got), S_OK);
    if (got == 0 || got > want) break;
    bytes.append(buffer.data(), got);
  }
  reading.document = std::move(bytes);
  return reading;
}

std::optional<Reading> ReadFromPath(const fs::path& path) {
  IStorage* raw = nullptr;
  if (FAILED(StgOpenStorage(Utf16(path.string()).c_str(), nullptr,
                            kReadStorageMode, nullptr, 0, &raw)))
    return std::nullopt;
  ComPtr<IStorage> storage(raw);
  return ReadStorage(storage.get());
}

std::optional<Reading> ReadFromMemory(const std::string& file) {
  ComPtr<IStorage> storage;
  if (FAILED(OpenFromMemory(file, &storage))) return std::nullopt;
  return ReadStorage(storage.get());
}

// What the preparation step wrote from olefile; nothing when olefile
// rejected the file.
std::optional<Reading> OlefileReading(const std::string& name) {
  const fs::path dir = CorpusStreamsDir();
  if (fs::exists(dir / (name + ".olefail"))) return std::nullopt;
  Reading reading;
  std::istringstream lines(ReadFileBytes(dir / (name + ".names")));
  for (std::string line; std::getline(lines, line);)
    reading.streamNames.push_back(line);
  SortNames(&reading.streamNames);
  if (fs::exists(dir / (name + ".stream")))
    reading.document = ReadFileBytes(dir / (name + ".stream"));
  return reading;
}

// olefile's reading with the known differences of this file applied.
std::optional<Reading> ExpectedReading(const std::string& name) {
  std::optional<Reading> expected = OlefileReading(name);
  if (!expected) return expected;
  for (const KnownNameDifference& known : kKnownNameDifferences) {
    if (name != known.file) continue;
    auto at = std::find(expected->streamNames.begin(),
                        expected->streamNames.end(), known.olefileName);
    EXPECT_NE(at, expected->streamNames.end())
        << name << ": olefile no longer lists " << known.olefileName;
    if (at != expected->streamNames.end()) *at = known.ourName;
    SortNames(&expected->streamNames);
  }
  return expected;
}

::testing::AssertionResult SameReading(const std::optional<Reading>& ours,
                                       const std::optional<Reading>& theirs) {
  if (ours.has_value() != theirs.has_value())
    return ::testing::AssertionFailure()
           << (ours ? "we open it, olefile does not"
                    : "olefile opens it, we do not");
  if (!ours) return ::testing::AssertionSuccess();
  if (ours->streamNames != theirs->streamNames) {
    auto failure = ::testing::AssertionFailure() << "stream names differ:";
    for (const std::string& n : ours->streamNames)
      failure << " ours[" << n << "]";
    for (const std::string& n : theirs->streamNames)
      failure << " olefile[" << n << "]";
    return failure;
  }
  if (ours->document.has_value() != theirs->document.has_value())
    return ::testing::AssertionFailure()
           << "the document stream is found by "
           << (ours->document ? "us only" : "olefile only");
  if (ours->document && *ours->document != *theirs->document)
    return ::testing::AssertionFailure()
           << "the document stream differs: " << ours->document->size()
           << " bytes, olefile " << theirs->document->size();
  return ::testing::AssertionSuccess();
}

TEST(CompoundFileCorpusTest, EveryFileReadsAsOlefileReadsIt) {
  TXTPPT2_REQUIRE_CORPUS();
  const int objectsBefore = LiveCompoundFileObjects();
  int files = 0;
  int identical = 0;
  for (const CorpusFile& file : LoadCorpus()) {
    ++files;
    SCOPED_TRACE(file.name);
    ASSERT_TRUE(fs::exists(CorpusStreamsDir() / (file.name + ".names")) ||
                fs::exists(CorpusStreamsDir() / (file.name + ".olefail")))
        << "nothing was prepared (did the preparation step run?)";
    std::optional<Reading> expected = ExpectedReading(file.name);
    std::optional<Reading> fromPath = ReadFromPath(file.path);
    std::optional<Reading> fromMemory =
        ReadFromMemory(ReadFileBytes(file.path));
    EXPECT_TRUE(SameReading(fromPath, expected)) << "from the path";
    EXPECT_TRUE(SameReading(fromMemory, expected)) << "from memory";
    if (SameReading(fromPath, OlefileReading(file.name))) ++identical;
  }
  EXPECT_GT(files, 100);
  EXPECT_EQ(LiveCompoundFileObjects(), objectsBefore);
  std::cout << identical << "/" << files
            << " files read exactly as olefile reads them; the others differ "
               "only as listed\n";
}

}  // namespace
}  // namespace txtppt2::testing
