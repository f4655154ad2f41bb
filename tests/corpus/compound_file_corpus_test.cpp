// Our compound file reader against python3-olefile on every corpus file,
// from the path and from memory: the files olefile opens open, each stream
// olefile lists under the root opens by that name, and "PowerPoint
// Document" holds the bytes olefile read.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "storage/compound_file_test_util.h"
#include "support/corpus.h"

namespace txtppt2::testing {
namespace {

namespace fs = std::filesystem;

// olefile decodes the dangling byte of an odd name length as U+FFFD; we
// take only whole UTF-16 units.
std::string OurName(std::string name) {
  const std::string replacement = "\xEF\xBF\xBD";
  if (name.ends_with(replacement)) name.resize(name.size() - 3);
  return name;
}

// The document read in pieces of 2, 2 and 4 bytes, as the converter reads
// record headers, with a large read now and then.
std::string ReadDocument(IStream* stream) {
  std::string bytes;
  std::vector<char> buffer(100000);
  const ULONG pattern[] = {2, 2, 4, 2, 2, 4, 100000};
  for (size_t i = 0;; ++i) {
    ULONG want = pattern[i % std::size(pattern)];
    ULONG got = 0;
    EXPECT_EQ(stream->Read(buffer.data(), want, &got), S_OK);
    if (got == 0 || got > want) return bytes;
    bytes.append(buffer.data(), got);
  }
}

void ExpectReadsAsOlefile(const CorpusFile& file, IStorage* storage) {
  const fs::path dir = CorpusStreamsDir();
  std::istringstream names(ReadFileBytes(dir / (file.name + ".names")));
  for (std::string name; std::getline(names, name);) {
    ComPtr<IStream> stream;
    EXPECT_EQ(OpenStream(storage, Utf16(OurName(name)).c_str(), &stream), S_OK)
        << name;
  }
  ComPtr<IStream> document;
  HRESULT hr = OpenStream(storage, u"PowerPoint Document", &document);
  if (!fs::exists(dir / (file.name + ".stream"))) {
    EXPECT_EQ(hr, STG_E_FILENOTFOUND);
    return;
  }
  ASSERT_EQ(hr, S_OK);
  EXPECT_TRUE(SameBytes(ReadDocument(document.get()),
                        ReadFileBytes(dir / (file.name + ".stream"))));
}

TEST(CompoundFileCorpusTest, EveryFileReadsAsOlefileReadsIt) {
  TXTPPT2_REQUIRE_CORPUS();
  int files = 0;
  for (const CorpusFile& file : LoadCorpus()) {
    ++files;
    SCOPED_TRACE(file.name);
    const fs::path prepared = CorpusStreamsDir() / file.name;
    const bool olefileOpens = fs::exists(prepared.string() + ".names");
    ASSERT_TRUE(olefileOpens || fs::exists(prepared.string() + ".olefail"))
        << "nothing was prepared (did the preparation step run?)";
    IStorage* raw = nullptr;
    HRESULT hr = StgOpenStorage(Utf16(file.path.string()).c_str(), nullptr,
                                kReadStorageMode, nullptr, 0, &raw);
    ComPtr<IStorage> fromPath(raw);
    ComPtr<IStorage> fromMemory;
    const std::string bytes = ReadFileBytes(file.path);
    EXPECT_EQ(OpenFromMemory(bytes, &fromMemory), hr);
    EXPECT_EQ(SUCCEEDED(hr), olefileOpens);
    if (!fromPath || !fromMemory) continue;
    ExpectReadsAsOlefile(file, fromPath.get());
    ExpectReadsAsOlefile(file, fromMemory.get());
  }
  EXPECT_GT(files, 100);
}

}  // namespace
}  // namespace txtppt2::testing
