// The compound file reader on files made by the fixture writer: streams of
// every size and placement, the sample files (sound and damaged), the DIFAT,
// names, seeking, and the results of opening by path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/conversion_driver.h"
#include "fixtures/compound_file_writer.h"
#include "fixtures/record_stream_builder.h"
#include "interface/conversion_error_state.h"
#include "platform/compound_file_test_util.h"
#include "support/deck_records.h"
#include "support/live_allocations.h"
#include "support/sample_files.h"
#include "txtppt2.h"

namespace txtppt2::testing {
namespace {

namespace fs = std::filesystem;

// Sizes on both sides of every boundary the reader cares about: a mini
// sector, the mini stream cutoff, a sector of each version, the read-ahead;
// the small ones take 140 mini sectors: a MiniFAT of 1.1 sectors (v3).
TEST(CompoundFileTest, StreamsOfEverySizeReadBackInAnyChunks) {
  const size_t sizes[] = {0,    1,    63,   64,   65,    3000,  1500,  4095,
                          4096, 4097, 8192, 9000, 16383, 16384, 16385, 300000};
  for (auto version : {CompoundFileVersion::k3, CompoundFileVersion::k4}) {
    CompoundFileWriter writer(version);
    for (size_t size : sizes)
      writer.AddStream(Utf16("s" + std::to_string(size)),
                       PatternBytes(size, static_cast<uint32_t>(size)));
    std::string file = writer.Build();
    ComPtr<IStorage> storage;
    ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
    for (ULONG chunk : {3u, 4096u, 16384u, 1u << 20}) {
      for (size_t size : sizes) {
        SCOPED_TRACE(std::to_string(size) + " bytes in chunks of " +
                     std::to_string(chunk));
        ComPtr<IStream> stream;
        ASSERT_EQ(
            OpenStream(storage.get(), Utf16("s" + std::to_string(size)).c_str(),
                       &stream),
            S_OK);
        STATSTG stat;
        ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
        EXPECT_EQ(stat.cbSize.QuadPart, size);
        EXPECT_TRUE(SameBytes(ReadToEnd(stream.get(), chunk),
                              PatternBytes(size, static_cast<uint32_t>(size))));
      }
    }
  }
}

TEST(CompoundFileTest, SampleFilesOpenAndReadAsTheirTableSays) {
  for (const SampleFile& sample : SampleFiles()) {
    SCOPED_TRACE(sample.name);
    ComPtr<IStorage> storage;
    ASSERT_EQ(OpenFromMemory(sample.bytes, &storage), sample.opens);
    if (sample.opens != S_OK) continue;
    ComPtr<IStream> stream;
    ASSERT_EQ(OpenStream(storage.get(), u"PowerPoint Document", &stream),
              sample.document ? S_OK : STG_E_FILENOTFOUND);
    if (!sample.document) continue;
    // The file state outlives the storage for as long as a stream needs it.
    storage.reset();
    for (ULONG chunk : {7u, 1u << 20}) {
      LARGE_INTEGER start{};
      ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
      EXPECT_TRUE(SameBytes(ReadToEnd(stream.get(), chunk), *sample.document));
    }
    // Past the end a Read delivers nothing, with S_OK; a Write is refused.
    char byte;
    ULONG got = 1, written = 1;
    EXPECT_EQ(stream->Read(&byte, 1, &got), S_OK);
    EXPECT_EQ(stream->Write(&byte, 1, &written), STG_E_ACCESSDENIED);
    EXPECT_EQ(got + written, 0u);
  }
}

// Every memory conversion and probe releases all it makes (storages,
// streams, lock-bytes, buffers), however the file is damaged.
TEST(CompoundFileTest, MemoryCallsLeaveNoAllocationBehind) {
  const auto& samples = SampleFiles();
  uint32_t count = 0;
  // The first call makes the thread's error record, which stays.
  GlobalFree(ConvertMemoryToUnicode(samples[0].bytes.data(), 0, &count));
  for (const SampleFile& sample : samples) {
    const long live = LiveAllocations();
    const auto* data = reinterpret_cast<const BYTE*>(sample.bytes.data());
    const auto size = static_cast<uint32_t>(sample.bytes.size());
    for (auto convert : {ConvertMemoryToUnicode, ConvertMemoryToPureText}) {
      count = size;
      GlobalFree(convert(data, 0, &count));
    }
    IsMemDataSupported(data, size);  // its answers: the stress test's
    ConversionErrorState outcome;
    count = size;
    GlobalFree(ConvertMemory(data, kUnicode, &count, outcome, kCompleteText));
    EXPECT_EQ(LiveAllocations(), live) << sample.name;
  }
}

// Over 236 FAT sectors: those past the header's 109 are listed in two
// DIFAT sectors, which follow the FAT sectors; those that describe the
// document only in the second.
TEST(CompoundFileTest, DifatSectorsListTheFatBeyondTheHeader) {
  CompoundFileWriter writer;
  writer.AddStream(u"Filler", 15600000, PatternContent(1));
  writer.AddStream(u"PowerPoint Document", PatternBytes(20000, 2));
  const CompoundFileLayout layout = writer.Layout();
  ASSERT_EQ(layout.difatSectors, 2u);
  const std::string sound = writer.Build();
  const size_t difatLink = (size_t{layout.fatSectors} + 2) * 512 - 4;
  auto patch = [](std::string file, size_t offset, uint32_t value) {
    return file.replace(offset, 4, deck_records::U32(value));
  };
  const struct {
    const char* damage;
    std::string file;
    HRESULT opens;
    size_t delivered;  // of the document
  } cases[] = {
      {"none", sound, S_OK, 20000},
      // The first DIFAT sector names itself as the next: it is read once,
      // and the document's first sector is all that is left of its chain.
      {"DIFAT loops", patch(sound, difatLink, layout.fatSectors), S_OK, 512},
      {"DIFAT beyond the file", patch(sound, 0x44, 0x00FFFFFF),
       STG_E_DOCFILECORRUPT, 0},
      {"DIFAT just past the end", patch(sound, 0x44, layout.totalSectors),
       STG_E_DOCFILECORRUPT, 0},
      // The header's count ends the DIFAT: the document's first sector is
      // all that is left of its chain.
      {"DIFAT count zero", patch(sound, 0x48, 0), S_OK, 512},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.damage);
    ComPtr<IStorage> storage;
    ASSERT_EQ(OpenFromMemory(c.file, &storage), c.opens);
    if (c.opens != S_OK) continue;
    ComPtr<IStream> stream;
    ASSERT_EQ(OpenStream(storage.get(), u"PowerPoint Document", &stream), S_OK);
    EXPECT_TRUE(SameBytes(ReadToEnd(stream.get(), 1000),
                          PatternBytes(20000, 2).substr(0, c.delivered)));
  }
}

// Names compare with the case folding of the format: ASCII, Latin-1, Latin
// Extended-A (whose capitals sit at even code points in some blocks and at
// odd ones in others), Greek (final sigma too), Cyrillic, full width Latin;
// nothing else is equal.
TEST(CompoundFileTest, NamesMatchWithCaseFoldingAndExactlyOtherwise) {
  const struct {
    std::u16string stored;
    std::u16string asked;
    bool found;
  } cases[] = {
      {u"PowerPoint Document", u"powerpoint DOCUMENT", true},
      {u"Zz", u"zZ", true},
      {u"\u00C4rger \u00C0", u"\u00E4RGER \u00E0", true},
      {u"\u0100\u0139\u0147\u0179\u017D", u"\u0101\u013A\u0148\u017A\u017E",
       true},
      {u"\u0416\u0423\u041A\u0400\u040F", u"\u0436\u0443\u043A\u0450\u045F",
       true},
      // The longest name an entry holds (the length fields of this case,
      // the first and the last are damaged below).
      {u"abcdefghijklmnopqrstuvwxyz12345", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ12345",
       true},
      {u"Pictures", u"Picture", false},
      {u"Summary", u"Summery", false},
      {u"\u0138x", u"\u0139x", false},
      {u"Truncated", u"truncate", true},
      {u"\u0178\u00DE\u039C", u"\u00FF\u00FE\u00B5", true},  // y, thorn, micro
      {u"\u0386\u0388\u038A\u03A3\u03A3\u0391\u03AB\u038C\u038E\u038F\uFF21",
       u"\u03AC\u03AD\u03AF\u03C2\u03C3\u03B1\u03CB\u03CC\u03CD\u03CE\uFF41", true},
  };
  for (SiblingTree tree : {SiblingTree::kBalanced, SiblingTree::kRightChain}) {
    CompoundFileWriter writer;
    writer.SetSiblingTree(tree);
    // Enough siblings that a search in the wrong direction would miss.
    for (int i = 0; i < 12; ++i)
      writer.AddStream(Utf16("Other " + std::to_string(i)), "x");
    for (const auto& c : cases) writer.AddStream(c.stored, "data");
    std::string file = writer.Build();
    // Name length fields past the names' 64 bytes: a name still ends at
    // its first NUL unit, and at the 31 units an entry holds. One that
    // counts no terminator: the name's last unit is taken for it.
    for (auto [i, length] : {std::pair{0, 0xFFFF}, {5, 0xFFFF}, {9, 2 * 9}}) {
      const size_t name = file.find(Utf16Le(cases[i].stored));
      ASSERT_NE(name, std::string::npos);
      file[name + 0x40] = static_cast<char>(length);
      file[name + 0x41] = static_cast<char>(length >> 8);
    }
    ComPtr<IStorage> storage;
    ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
    for (const auto& c : cases) {
      SCOPED_TRACE(&c - cases);
      ComPtr<IStream> stream;
      EXPECT_EQ(OpenStream(storage.get(), c.asked.c_str(), &stream),
                c.found ? S_OK : STG_E_FILENOTFOUND);
      if (c.found) {
        EXPECT_EQ(ReadToEnd(stream.get()), "data");
      }
    }
  }
}

TEST(CompoundFileTest, SeekMovesFromAnyOriginToAnyPositionFromZeroOn) {
  const std::string data = PatternBytes(10000, 7);
  CompoundFileWriter writer;
  writer.AddStream(u"Data", data);
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"Data", &stream), S_OK);
  void* same = nullptr;  // the stream is its own IStream
  ASSERT_EQ(stream->QueryInterface(IID_IStream, &same), S_OK);
  EXPECT_EQ(same, stream.get());
  stream->Release();  // the reference QueryInterface added
  const uint64_t kStart = 1234;  // where each case starts from
  const struct {
    int64_t move;
    DWORD origin;
    HRESULT result;
    uint64_t position;  // after the seek (unchanged on failure)
  } cases[] = {
      {5000, STREAM_SEEK_SET, S_OK, 5000},
      {20000, STREAM_SEEK_SET, S_OK, 20000},
      {-30, STREAM_SEEK_END, S_OK, 9970},
      {-234, STREAM_SEEK_CUR, S_OK, 1000},
      {-1234, STREAM_SEEK_CUR, S_OK, 0},
      {-1235, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, kStart},
      {-1, STREAM_SEEK_SET, STG_E_INVALIDFUNCTION, kStart},
      {0, 3, STG_E_INVALIDFUNCTION, kStart},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.move) + " from " + std::to_string(c.origin));
    LARGE_INTEGER move;
    move.QuadPart = static_cast<LONGLONG>(kStart);
    ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
    move.QuadPart = c.move;
    EXPECT_EQ(stream->Seek(move, c.origin, nullptr), c.result);
    char buffer[100];
    ULONG got = 0;
    EXPECT_EQ(stream->Read(buffer, sizeof(buffer), &got), S_OK);
    const size_t at = std::min<size_t>(c.position, data.size());
    ASSERT_EQ(got, std::min<size_t>(100, data.size() - at));
    EXPECT_EQ(std::string(buffer, got), data.substr(at, got));
  }
}

HRESULT OpenPath(const fs::path& path) {
  IStorage* storage = reinterpret_cast<IStorage*>(&storage);  // to be set
  HRESULT hr = StgOpenStorage(Utf16(path.string()).c_str(), nullptr,
                              kReadStorageMode, nullptr, 0, &storage);
  if ((storage != nullptr) != (hr == S_OK))
    return E_FAIL;  // a storage without S_OK, or none with it
  if (storage != nullptr) storage->Release();
  return hr;
}

// What opening by path answers, in a child process where the case needs
// one: a file the caller may read but not write, or not read at all (as an
// unprivileged user, so that it holds under root too), and no free
// descriptor.
TEST(CompoundFileTest, PathsOpenWithTheirStorageResults) {
  const fs::path folder =
      fs::temp_directory_path() / ("txtppt2_paths_" + std::to_string(getpid()));
  fs::create_directories(folder / "sub.ppt");
  CompoundFileWriter writer;
  writer.AddStream(u"Data", "data");
  const std::string file = writer.Build();
  auto write = [&](const char* name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
    return folder / name;
  };
  // A name that is not UTF-8 reaches the file system unchanged.
  const fs::path good = write("pr\xE9sentation.ppt", file);
  const fs::path locked = write("locked.ppt", file);
  fs::permissions(locked, fs::perms::none);
  enum class In { kThisProcess, kUnprivilegedChild, kChildWithoutDescriptors };
  const struct {
    const char* what;
    fs::path path;
    In in;
    HRESULT result;
  } cases[] = {
      {"a compound file", good, In::kThisProcess, S_OK},
      {"no such file", folder / "missing.ppt", In::kThisProcess,
       STG_E_FILENOTFOUND},
      {"no such folder", folder / "missing" / "x.ppt", In::kThisProcess,
       STG_E_PATHNOTFOUND},
      {"no such file, with a trailing slash", folder / "missing.ppt/",
       In::kThisProcess, STG_E_FILENOTFOUND},
      {"a file as a folder", good / "x.ppt", In::kThisProcess,
       STG_E_PATHNOTFOUND},
      {"a folder", folder / "sub.ppt", In::kThisProcess, STG_E_ACCESSDENIED},
      {"511 bytes", write("short.ppt", file.substr(0, 511)), In::kThisProcess,
       STG_E_FILEALREADYEXISTS},
      {"a file only its owner reads", locked, In::kUnprivilegedChild,
       STG_E_ACCESSDENIED},
      {"a file others read, not write", good, In::kUnprivilegedChild, S_OK},
      {"no free descriptor", good, In::kChildWithoutDescriptors,
       STG_E_TOOMANYOPENFILES},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.in == In::kThisProcess) {
      EXPECT_EQ(OpenPath(c.path), c.result);
      continue;
    }
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (c.in == In::kUnprivilegedChild && geteuid() == 0 &&
          (setgid(65534) != 0 || setuid(65534) != 0))
        _exit(2);
      if (c.in == In::kChildWithoutDescriptors) {
        rlimit low{16, 16};
        if (setrlimit(RLIMIT_NOFILE, &low) != 0) _exit(2);
        while (dup(STDERR_FILENO) >= 0) {
        }
      }
      _exit(OpenPath(c.path) == c.result ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  // A lone high surrogate has no file system bytes: no file has that name.
  std::u16string unnamable = Utf16(folder.string()) + u"/\xD800.ppt";
  IStorage* storage = nullptr;
  EXPECT_EQ(StgOpenStorage(unnamable.c_str(), nullptr, kReadStorageMode,
                           nullptr, 0, &storage),
            STG_E_FILENOTFOUND);
  fs::remove_all(folder);
}

TEST(CompoundFileTest, SectorPastFourGiBIsReadWhereItLies) {
  // A sparse file of over 4 GiB whose stream is one sector past 4 GiB (the
  // FAT does not reach it: its chain ends there). Offsets stay 64-bit in a
  // 32-bit build, from the sector number to pread.
  constexpr uint32_t kFarSector = (uint32_t{1} << 20) + 1;  // 4096-byte sectors
  constexpr off_t kFarOffset = off_t{kFarSector + 1} << 12;
  CompoundFileWriter writer(CompoundFileVersion::k4);
  writer.AddStream(u"PowerPoint Document", PatternBytes(5000, 1));
  std::string file = writer.Build();
  const std::u16string name = u"PowerPoint Document";
  size_t entry = file.find(Utf16Le(name));
  ASSERT_EQ(entry % 128, 0u);
  file.replace(entry + 0x74, 4, deck_records::U32(kFarSector));  // its start
  const fs::path path = fs::temp_directory_path() /
                        ("txtppt2_far_" + std::to_string(getpid()) + ".ppt");
  std::ofstream(path, std::ios::binary) << file;
  const std::string far = PatternBytes(4096, 2);
  int fd = open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(pwrite(fd, far.data(), far.size(), kFarOffset), 4096);
  close(fd);
  IStorage* opened = nullptr;
  ASSERT_EQ(StgOpenStorage(Utf16(path.string()).c_str(), nullptr,
                           kReadStorageMode, nullptr, 0, &opened),
            S_OK);
  ComPtr<IStorage> storage(opened);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), name.c_str(), &stream), S_OK);
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get()), far));
  fs::remove(path);
}

}  // namespace
}  // namespace txtppt2::testing
