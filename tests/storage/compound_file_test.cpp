// The compound file reader on files made by the test writer: reading
// streams of each version and placement, finding and listing the root's
// children, seeking, modes, object lifetimes, paths.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "storage/compound_file/live_objects.h"
#include "storage/compound_file_test_util.h"
#include "storage/memory_lock_bytes.h"
#include "support/compound_file_writer.h"

namespace txtppt2::testing {
namespace {

namespace fs = std::filesystem;

std::string Name(size_t size) { return "s" + std::to_string(size); }

// Sizes on both sides of every boundary the reader cares about: a mini
// sector, the mini stream cutoff, a sector of each version, the read-ahead.
const std::vector<size_t> kStreamSizes = {
    0,     1,     63,    64,    65,    4095,  4096,  4097,  8191,
    8192,  8193,  9000,  65535, 65536, 65537, 70001, 300000};

class CompoundFileStreams
    : public ::testing::TestWithParam<CompoundFileVersion> {};

TEST_P(CompoundFileStreams, ReadBackWhateverTheSizeAndReadPattern) {
  CompoundFileWriter writer(GetParam());
  for (size_t size : kStreamSizes)
    writer.AddStream(Utf16(Name(size)),
                     PatternBytes(size, static_cast<uint32_t>(size)));
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);

  // 3 bytes at a time walks the read-ahead buffer; 65536 and more read
  // straight into the caller's memory.
  for (ULONG chunk : {1u, 3u, 4096u, 8192u, 65536u, 1u << 20}) {
    for (size_t size : kStreamSizes) {
      SCOPED_TRACE(Name(size) + " in chunks of " + std::to_string(chunk));
      ComPtr<IStream> stream;
      ASSERT_EQ(OpenStream(storage.get(), Utf16(Name(size)).c_str(), &stream),
                S_OK);
      STATSTG stat;
      ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
      EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
      EXPECT_EQ(stat.cbSize.QuadPart, size);
      EXPECT_EQ(stat.pwcsName, nullptr);
      EXPECT_TRUE(SameBytes(ReadToEnd(stream.get(), chunk),
                            PatternBytes(size, static_cast<uint32_t>(size))));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, CompoundFileStreams,
                         ::testing::Values(CompoundFileVersion::k3,
                                           CompoundFileVersion::k4),
                         [](const auto& p) {
                           return p.param == CompoundFileVersion::k3
                                      ? "Version3"
                                      : "Version4";
                         });

TEST(CompoundFileTest, FatSectorsListedInDifatSectorsAreFollowed) {
  // Over 109 FAT sectors: the FAT sectors that describe the second stream
  // are listed only in a DIFAT sector.
  CompoundFileWriter writer;
  writer.AddStream(u"Filler", 7500000, PatternContent(1));
  writer.AddStream(u"PowerPoint Document", PatternBytes(20000, 2));
  ASSERT_GE(writer.Layout().difatSectors, 1u);
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"PowerPoint Document", &stream), S_OK);
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get(), 1000), PatternBytes(20000, 2)));
  ASSERT_EQ(OpenStream(storage.get(), u"Filler", &stream), S_OK);
  LARGE_INTEGER move;
  move.QuadPart = -5000;
  ASSERT_EQ(stream->Seek(move, STREAM_SEEK_END, nullptr), S_OK);
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get()),
                        PatternBytes(7500000, 1).substr(7500000 - 5000)));
}

struct NameCase {
  const char* stored;
  const char* asked;
  bool found;
};

class CompoundFileNameLookup : public ::testing::TestWithParam<SiblingTree> {};

TEST_P(CompoundFileNameLookup, NamesMatchCaseInsensitivelyAndExactlyOtherwise) {
  const NameCase cases[] = {
      {"PowerPoint Document", "powerpoint document", true},
      {"DOCUMENTSUMMARY", "DocumentSummary", true},
      {"Current User", "Current User", true},
      {"\xC3\x84rger", "\xC3\xA4RGER", true},  // Ärger, äRGER
      {"\xD0\x96\xD1\x83\xD0\xBA", "\xD0\xB6\xD0\xA3\xD0\x9A", true},  // Жук
      {"Pictures", "Picture", false},
      {"Pictures", "Pictures ", false},
      {"Summary", "Summery", false},
  };
  CompoundFileWriter writer;
  writer.SetSiblingTree(GetParam());
  // Enough siblings that a search in the wrong direction would miss.
  for (int i = 0; i < 12; ++i)
    writer.AddStream(Utf16("Other " + std::to_string(i)), "x");
  int seed = 0;
  for (const NameCase& c : cases)
    if (c.found) writer.AddStream(Utf16(c.stored), PatternBytes(50, ++seed));
  writer.AddStream(u"Pictures", "p");
  writer.AddStream(u"Summary", "s");
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string(c.stored) + " asked as " + c.asked);
    ComPtr<IStream> stream;
    HRESULT hr = OpenStream(storage.get(), Utf16(c.asked).c_str(), &stream);
    EXPECT_EQ(hr, c.found ? S_OK : STG_E_FILENOTFOUND);
    EXPECT_EQ(stream != nullptr, c.found);
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, CompoundFileNameLookup,
                         ::testing::Values(SiblingTree::kBalanced,
                                           SiblingTree::kRightChain),
                         [](const auto& p) {
                           return p.param == SiblingTree::kBalanced
                                      ? "Balanced"
                                      : "UnsortedChain";
                         });

TEST(CompoundFileTest, OnlyStreamsDirectlyUnderTheRootOpen) {
  CompoundFileWriter writer;
  CompoundFileWriter::EntryId sub = writer.AddStorage(u"Sub");
  writer.AddStream(u"Inner", "inner data", sub);
  writer.AddStream(u"Top", "top data");
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  ComPtr<IStream> stream;
  EXPECT_EQ(OpenStream(storage.get(), u"Inner", &stream), STG_E_FILENOTFOUND);
  EXPECT_EQ(OpenStream(storage.get(), u"Sub", &stream), STG_E_FILENOTFOUND);
  EXPECT_EQ(stream, nullptr);
  ASSERT_EQ(OpenStream(storage.get(), u"Top", &stream), S_OK);
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get()), "top data"));
}

// The root's children as EnumElements lists them: name to (type, size).
std::map<std::string, std::pair<DWORD, uint64_t>> Enumerate(
    IEnumSTATSTG* enumerator) {
  std::map<std::string, std::pair<DWORD, uint64_t>> elements;
  STATSTG stat;
  ULONG fetched = 0;
  while (enumerator->Next(1, &stat, &fetched) == S_OK) {
    EXPECT_EQ(fetched, 1u);
    elements[Utf8(stat.pwcsName)] = {stat.type, stat.cbSize.QuadPart};
    CoTaskMemFree(stat.pwcsName);
  }
  return elements;
}

TEST(CompoundFileTest, EnumElementsListsTheRootsChildrenOnly) {
  CompoundFileWriter writer;
  writer.AddStream(u"PowerPoint Document", PatternBytes(5000, 1));
  writer.AddStream(u"\x05SummaryInformation", PatternBytes(300, 2));
  CompoundFileWriter::EntryId sub = writer.AddStorage(u"ObjectPool");
  writer.AddStream(u"Inner", "x", sub);
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  IEnumSTATSTG* raw = nullptr;
  ASSERT_EQ(storage->EnumElements(0, nullptr, 0, &raw), S_OK);
  ComPtr<IEnumSTATSTG> enumerator(raw);

  std::map<std::string, std::pair<DWORD, uint64_t>> expected = {
      {"PowerPoint Document", {STGTY_STREAM, 5000}},
      {"\x05SummaryInformation", {STGTY_STREAM, 300}},
      {"ObjectPool", {STGTY_STORAGE, 0}}};
  EXPECT_EQ(Enumerate(enumerator.get()), expected);

  // Asking for more than is left delivers the rest with S_FALSE.
  ASSERT_EQ(enumerator->Reset(), S_OK);
  STATSTG stats[5];
  ULONG fetched = 0;
  ASSERT_EQ(enumerator->Skip(1), S_OK);
  EXPECT_EQ(enumerator->Next(5, stats, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) CoTaskMemFree(stats[i].pwcsName);
  EXPECT_EQ(enumerator->Skip(1), S_FALSE);

  // A clone starts where its original stands.
  ASSERT_EQ(enumerator->Reset(), S_OK);
  ASSERT_EQ(enumerator->Skip(2), S_OK);
  IEnumSTATSTG* rawClone = nullptr;
  ASSERT_EQ(enumerator->Clone(&rawClone), S_OK);
  ComPtr<IEnumSTATSTG> clone(rawClone);
  EXPECT_EQ(Enumerate(clone.get()).size(), 1u);
  EXPECT_EQ(Enumerate(enumerator.get()).size(), 1u);
}

TEST(CompoundFileTest, SeekAcceptsAnyPositionFromZeroOnAndReadsStopAtTheEnd) {
  const std::string data = PatternBytes(10000, 7);
  CompoundFileWriter writer;
  writer.AddStream(u"Data", data);
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"Data", &stream), S_OK);

  struct SeekCase {
    const char* what;
    int64_t move;
    DWORD origin;
    HRESULT result;
    uint64_t position;  // after the seek (unchanged on failure)
    size_t readable;    // what a Read of 100 bytes then delivers
  };
  const uint64_t kStart = 1234;  // where each case starts from
  const SeekCase cases[] = {
      {"set inside", 5000, STREAM_SEEK_SET, S_OK, 5000, 100},
      {"set to the end", 10000, STREAM_SEEK_SET, S_OK, 10000, 0},
      {"set past the end", 20000, STREAM_SEEK_SET, S_OK, 20000, 0},
      {"end minus 30", -30, STREAM_SEEK_END, S_OK, 9970, 30},
      {"end plus 1", 1, STREAM_SEEK_END, S_OK, 10001, 0},
      {"current back", -234, STREAM_SEEK_CUR, S_OK, 1000, 100},
      {"current to zero", -1234, STREAM_SEEK_CUR, S_OK, 0, 100},
      {"current before zero", -1235, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION,
       kStart, 100},
      {"set before zero", -1, STREAM_SEEK_SET, STG_E_INVALIDFUNCTION, kStart,
       100},
      {"end before zero", -10001, STREAM_SEEK_END, STG_E_INVALIDFUNCTION,
       kStart, 100},
      {"far beyond 4 GiB", int64_t{1} << 40, STREAM_SEEK_CUR, S_OK,
       kStart + (uint64_t{1} << 40), 0},
      {"unknown origin", 0, 3, STG_E_INVALIDFUNCTION, kStart, 100},
  };
  for (const SeekCase& c : cases) {
    SCOPED_TRACE(c.what);
    LARGE_INTEGER move;
    move.QuadPart = static_cast<LONGLONG>(kStart);
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
    move.QuadPart = c.move;
    ULARGE_INTEGER position;
    position.QuadPart = 0xDEAD;
    EXPECT_EQ(stream->Seek(move, c.origin, &position), c.result);
    if (c.result == S_OK) {
      EXPECT_EQ(position.QuadPart, c.position);
    }
    LARGE_INTEGER none;
    none.QuadPart = 0;
    ASSERT_EQ(stream->Seek(none, STREAM_SEEK_CUR, &position), S_OK);
    EXPECT_EQ(position.QuadPart, c.position);
    char buffer[100];
    ULONG got = 12345;
    EXPECT_EQ(stream->Read(buffer, sizeof(buffer), &got), S_OK);
    ASSERT_EQ(got, c.readable);
    if (got > 0) {
      EXPECT_EQ(std::string(buffer, got), data.substr(c.position, got));
    }
  }
  // Seeking past 2^64 fails and leaves the position alone.
  LARGE_INTEGER move;
  move.QuadPart = INT64_MAX;
  ULARGE_INTEGER position;
  ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
  ASSERT_EQ(stream->Seek(move, STREAM_SEEK_CUR, nullptr), S_OK);
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_CUR, &position),
            STG_E_INVALIDFUNCTION);
}

TEST(CompoundFileTest, ReadAcceptsANullCount) {
  CompoundFileWriter writer;
  writer.AddStream(u"Data", "abcdef");
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"Data", &stream), S_OK);
  char buffer[4];
  EXPECT_EQ(stream->Read(buffer, 4, nullptr), S_OK);
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get()), "ef"));
}

TEST(CompoundFileTest, StatNamesTheStreamAndTheStorage) {
  CompoundFileWriter writer;
  writer.AddStream(u"PowerPoint Document", "data");
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"powerpoint DOCUMENT", &stream), S_OK);
  STATSTG stat;
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_DEFAULT), S_OK);
  // The name as stored, not as asked.
  EXPECT_EQ(Utf8(stat.pwcsName), "PowerPoint Document");
  EXPECT_EQ(stat.grfMode, kReadStreamMode);
  CoTaskMemFree(stat.pwcsName);
  ASSERT_EQ(storage->Stat(&stat, STATFLAG_DEFAULT), S_OK);
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STORAGE));
  EXPECT_EQ(Utf8(stat.pwcsName), "Root Entry");
  CoTaskMemFree(stat.pwcsName);
}

TEST(CompoundFileTest, ModesAreCheckedAsStructuredStorageChecksThem) {
  CompoundFileWriter writer;
  writer.AddStream(u"Data", "data");
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  const struct {
    DWORD mode;
    HRESULT result;
  } streamModes[] = {
      {STGM_READ | STGM_SHARE_EXCLUSIVE, S_OK},
      {STGM_READ, STG_E_INVALIDFLAG},
      {STGM_READ | STGM_SHARE_DENY_WRITE, STG_E_INVALIDFLAG},
      {STGM_READ | STGM_SHARE_DENY_NONE, STG_E_INVALIDFLAG},
      {STGM_READ | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED, STG_E_INVALIDFLAG},
      {STGM_WRITE | STGM_SHARE_EXCLUSIVE, STG_E_ACCESSDENIED},
      {STGM_READWRITE | STGM_SHARE_EXCLUSIVE, STG_E_ACCESSDENIED},
      {3 | STGM_SHARE_EXCLUSIVE, STG_E_INVALIDFLAG},
  };
  for (const auto& c : streamModes) {
    SCOPED_TRACE(c.mode);
    IStream* stream = nullptr;
    EXPECT_EQ(storage->OpenStream(u"Data", nullptr, c.mode, 0, &stream),
              c.result);
    EXPECT_EQ(stream != nullptr, c.result == S_OK);
    if (stream != nullptr) stream->Release();
  }

  MemoryLockBytes* lockBytes =
      new MemoryLockBytes(reinterpret_cast<const BYTE*>(file.data()),
                          static_cast<ULONG>(file.size()));
  lockBytes->AddRef();
  for (DWORD mode : {STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                     STGM_WRITE | STGM_SHARE_DENY_WRITE}) {
    IStorage* raw = nullptr;
    EXPECT_EQ(
        StgOpenStorageOnILockBytes(lockBytes, nullptr, mode, nullptr, 0, &raw),
        STG_E_ACCESSDENIED);
    EXPECT_EQ(raw, nullptr);
  }
  lockBytes->Release();
}

TEST(CompoundFileTest, StreamKeepsTheFileReadableAfterItsStorageIsReleased) {
  const int objectsBefore = LiveCompoundFileObjects();
  const int lockBytesBefore = MemoryLockBytes::LiveCount();
  CompoundFileWriter writer;
  writer.AddStream(u"Big", PatternBytes(20000, 1));
  writer.AddStream(u"Small", PatternBytes(200, 2));
  std::string file = writer.Build();
  {
    ComPtr<IStorage> storage;
    ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
    // The creator's reference is gone; the storage holds the lock-bytes.
    EXPECT_EQ(MemoryLockBytes::LiveCount(), lockBytesBefore + 1);
    ComPtr<IStream> big;
    ComPtr<IStream> small;
    ASSERT_EQ(OpenStream(storage.get(), u"Big", &big), S_OK);
    ASSERT_EQ(OpenStream(storage.get(), u"Small", &small), S_OK);
    IEnumSTATSTG* enumerator = nullptr;
    ASSERT_EQ(storage->EnumElements(0, nullptr, 0, &enumerator), S_OK);
    EXPECT_GT(LiveCompoundFileObjects(), objectsBefore + 3);
    storage.reset();
    enumerator->Release();
    EXPECT_EQ(MemoryLockBytes::LiveCount(), lockBytesBefore + 1);
    EXPECT_TRUE(SameBytes(ReadToEnd(big.get()), PatternBytes(20000, 1)));
    EXPECT_TRUE(SameBytes(ReadToEnd(small.get()), PatternBytes(200, 2)));
  }
  EXPECT_EQ(LiveCompoundFileObjects(), objectsBefore);
  EXPECT_EQ(MemoryLockBytes::LiveCount(), lockBytesBefore);
}

TEST(CompoundFileTest, FailedOpenKeepsNothing) {
  const int objectsBefore = LiveCompoundFileObjects();
  const int lockBytesBefore = MemoryLockBytes::LiveCount();
  CompoundFileWriter writer;
  writer.AddStream(u"Data", "data");
  writer.PatchHeaderU32(kHeaderFirstDirectorySectorOffset, 0x00FFFFFF);
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  EXPECT_EQ(OpenFromMemory(file, &storage), STG_E_DOCFILECORRUPT);
  EXPECT_EQ(storage, nullptr);
  EXPECT_EQ(LiveCompoundFileObjects(), objectsBefore);
  EXPECT_EQ(MemoryLockBytes::LiveCount(), lockBytesBefore);
}

// Reads through a lock-bytes that counts its ReadAt calls.
class CountingLockBytes final : public ILockBytes {
 public:
  explicit CountingLockBytes(const std::string& bytes_) : bytes(bytes_) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override {
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --refCount; }
  HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* pv, ULONG cb,
                                   ULONG* pcbRead) override {
    ++reads;
    size_t at = std::min<size_t>(offset.QuadPart, bytes.size());
    size_t n = std::min<size_t>(cb, bytes.size() - at);
    std::copy_n(bytes.data() + at, n, static_cast<char*>(pv));
    *pcbRead = static_cast<ULONG>(n);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER, const void*, ULONG,
                                    ULONG*) override {
    return STG_E_ACCESSDENIED;
  }
  HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override {
    return STG_E_ACCESSDENIED;
  }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER,
                                       DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER,
                                         DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    *stat = STATSTG{};
    stat->cbSize.QuadPart = bytes.size();
    return S_OK;
  }

  const std::string& bytes;
  ULONG refCount = 1;
  int reads = 0;
};

TEST(CompoundFileTest, SmallReadsComeFromTheBufferAndLargeReadsAreCoalesced) {
  const std::string data = PatternBytes(1 << 20, 3);
  CompoundFileWriter writer;
  writer.AddStream(u"Data", data);
  std::string file = writer.Build();
  CountingLockBytes lockBytes(file);
  IStorage* raw = nullptr;
  ASSERT_EQ(StgOpenStorageOnILockBytes(&lockBytes, nullptr, kReadStorageMode,
                                       nullptr, 0, &raw),
            S_OK);
  ComPtr<IStorage> storage(raw);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"Data", &stream), S_OK);

  // Record headers: 2 + 2 + 4 bytes at a time over the first 64 KiB.
  lockBytes.reads = 0;
  std::string headers;
  char buffer[4];
  while (headers.size() < 65536) {
    for (ULONG n : {2u, 2u, 4u}) {
      ULONG got = 0;
      ASSERT_EQ(stream->Read(buffer, n, &got), S_OK);
      headers.append(buffer, got);
    }
  }
  EXPECT_EQ(headers, data.substr(0, 65536));
  EXPECT_LE(lockBytes.reads, 65536 / 8192 + 1);

  // The rest in one call: its sectors lie back to back.
  lockBytes.reads = 0;
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get(), 1 << 20), data.substr(65536)));
  EXPECT_LE(lockBytes.reads, 2);
  storage.reset();
  stream.reset();
  EXPECT_EQ(lockBytes.refCount, 1u);
}

class CompoundFilePathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("txtppt2_compound_file_" + std::to_string(getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder / "locked.ppt", fs::perms::owner_all, ignored);
    fs::remove_all(folder, ignored);
  }

  fs::path Write(const std::string& name, const std::string& bytes) {
    fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static HRESULT Open(const fs::path& path, ComPtr<IStorage>* out) {
    IStorage* storage = nullptr;
    HRESULT hr = StgOpenStorage(Utf16(path.string()).c_str(), nullptr,
                                kReadStorageMode, nullptr, 0, &storage);
    out->reset(storage);
    return hr;
  }

  fs::path folder;
};

TEST_F(CompoundFilePathTest, PathAndMemoryReadTheSameBytes) {
  CompoundFileWriter writer(CompoundFileVersion::k4);
  writer.AddStream(u"PowerPoint Document", PatternBytes(50000, 1));
  writer.AddStream(u"Current User", PatternBytes(60, 2));
  const std::string file = writer.Build();
  // A name that is not valid UTF-8 reaches the file system unchanged.
  fs::path path = Write("pr\xE9sentation.ppt", file);
  ComPtr<IStorage> fromPath;
  ComPtr<IStorage> fromMemory;
  ASSERT_EQ(Open(path, &fromPath), S_OK);
  ASSERT_EQ(OpenFromMemory(file, &fromMemory), S_OK);
  for (const char16_t* name : {u"PowerPoint Document", u"Current User"}) {
    ComPtr<IStream> a;
    ComPtr<IStream> b;
    ASSERT_EQ(OpenStream(fromPath.get(), name, &a), S_OK);
    ASSERT_EQ(OpenStream(fromMemory.get(), name, &b), S_OK);
    std::string bytes = ReadToEnd(a.get(), 7);
    EXPECT_FALSE(bytes.empty());
    EXPECT_TRUE(SameBytes(bytes, ReadToEnd(b.get(), 7)));
  }
}

TEST_F(CompoundFilePathTest, SectorPastFourGiBIsReadWhereItLies) {
  // A sparse file of over 4 GiB whose stream is one sector past 4 GiB (the
  // FAT does not reach it: its chain ends there). Offsets stay 64-bit in a
  // 32-bit build, from the sector number to pread.
  constexpr uint32_t kFarSector = (uint32_t{1} << 20) + 1;  // 4096-byte sectors
  constexpr off_t kFarOffset = off_t{kFarSector + 1} << 12;
  CompoundFileWriter writer(CompoundFileVersion::k4);
  writer.AddStream(u"PowerPoint Document", PatternBytes(5000, 1));
  std::string file = writer.Build();
  const std::u16string name = u"PowerPoint Document";
  size_t entry = file.find(
      std::string(reinterpret_cast<const char*>(name.data()), name.size() * 2));
  ASSERT_EQ(entry % 128, 0u);
  for (int i = 0; i < 4; ++i)  // the start sector, little-endian
    file[entry + 0x74 + i] = static_cast<char>(kFarSector >> (8 * i));
  fs::path path = Write("far.ppt", file);
  const std::string far = PatternBytes(4096, 2);
  int fd = open(path.c_str(), O_WRONLY);
  ASSERT_EQ(pwrite(fd, far.data(), far.size(), kFarOffset), 4096);
  close(fd);
  ComPtr<IStorage> storage;
  ComPtr<IStream> stream;
  ASSERT_EQ(Open(path, &storage), S_OK);
  ASSERT_EQ(OpenStream(storage.get(), name.c_str(), &stream), S_OK);
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get()), far));
}

TEST_F(CompoundFilePathTest, PathErrorsHaveTheirStorageResults) {
  CompoundFileWriter writer;
  writer.AddStream(u"Data", "data");
  fs::path good = Write("good.ppt", writer.Build());
  fs::path empty = Write("empty.ppt", "");
  fs::path short511 = Write("short.ppt", writer.Build().substr(0, 511));
  fs::create_directories(folder / "sub.ppt");
  const struct {
    const char* what;
    fs::path path;
    HRESULT result;
  } cases[] = {
      {"a compound file", good, S_OK},
      {"no such file", folder / "missing.ppt", STG_E_FILENOTFOUND},
      {"no such folder", folder / "missing" / "x.ppt", STG_E_PATHNOTFOUND},
      {"a file as a folder", good / "x.ppt", STG_E_PATHNOTFOUND},
      {"a folder", folder / "sub.ppt", STG_E_ACCESSDENIED},
      {"an empty file", empty, STG_E_FILEALREADYEXISTS},
      {"511 bytes", short511, STG_E_FILEALREADYEXISTS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ComPtr<IStorage> storage;
    EXPECT_EQ(Open(c.path, &storage), c.result);
    EXPECT_EQ(storage != nullptr, c.result == S_OK);
  }
  // A lone high surrogate has no file system bytes: no file has that name.
  std::u16string unnamable = Utf16(folder.string()) + u"/\xD800.ppt";
  IStorage* storage = nullptr;
  EXPECT_EQ(StgOpenStorage(unnamable.c_str(), nullptr, kReadStorageMode,
                           nullptr, 0, &storage),
            STG_E_FILENOTFOUND);
  EXPECT_EQ(storage, nullptr);
}

TEST_F(CompoundFilePathTest, UnreadableFileIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  CompoundFileWriter writer;
  writer.AddStream(u"Data", "data");
  fs::path path = Write("locked.ppt", writer.Build());
  fs::permissions(path, fs::perms::none);
  ComPtr<IStorage> storage;
  EXPECT_EQ(Open(path, &storage), STG_E_ACCESSDENIED);
}

TEST_F(CompoundFilePathTest, NoFreeDescriptorIsTooManyOpenFiles) {
  CompoundFileWriter writer;
  writer.AddStream(u"Data", "data");
  fs::path path = Write("good.ppt", writer.Build());
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 64);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  std::vector<int> held;
  for (int fd; (fd = dup(STDERR_FILENO)) >= 0;) held.push_back(fd);
  ComPtr<IStorage> storage;
  HRESULT hr = Open(path, &storage);
  for (int fd : held) close(fd);
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(hr, STG_E_TOOMANYOPENFILES);
}

}  // namespace
}  // namespace txtppt2::testing
