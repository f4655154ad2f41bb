// The compound file reader on damaged files, each made by the test writer
// and named for the damage: files that are not compound files, tables that
// cannot be read, and streams whose own chains are broken. Each must end
// quickly with its result; an alarm turns a hang into a failure.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "platform/windows.h"
#include "storage/compound_file/live_objects.h"
#include "storage/compound_file_test_util.h"
#include "support/compound_file_writer.h"

namespace txtppt2::testing {
namespace {

class HostileCompoundFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    objectsBefore = LiveCompoundFileObjects();
    alarm(20);
  }
  void TearDown() override {
    alarm(0);
    EXPECT_EQ(LiveCompoundFileObjects(), objectsBefore);
  }

  int objectsBefore = 0;
};

struct OpenCase {
  const char* damage;
  std::function<void(CompoundFileWriter&)> apply;
  HRESULT result;
};

CompoundFileWriter SmallFile(CompoundFileVersion version) {
  CompoundFileWriter writer(version);
  writer.AddStream(u"PowerPoint Document", PatternBytes(10000, 1));
  writer.AddStream(u"Current User", PatternBytes(60, 2));
  return writer;
}

TEST_F(HostileCompoundFileTest, DamagedHeadersAndTablesFailToOpen) {
  const OpenCase cases[] = {
      {"bad signature",
       [](CompoundFileWriter& w) { w.PatchHeader(0, "\xD0\xCF\x11\xE0XXXX"); },
       STG_E_FILEALREADYEXISTS},
      {"the other version's sector shift",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU16(kHeaderSectorShiftOffset,
                          w.Layout().sectorSize == 512 ? 12 : 9);
       },
       STG_E_FILEALREADYEXISTS},
      {"sector shift 10",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU16(kHeaderSectorShiftOffset, 10);
       },
       STG_E_FILEALREADYEXISTS},
      {"version 5",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU16(kHeaderMajorVersionOffset, 5);
       },
       STG_E_FILEALREADYEXISTS},
      {"mini sector shift 7",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU16(kHeaderMiniSectorShiftOffset, 7);
       },
       STG_E_FILEALREADYEXISTS},
      {"big-endian byte order mark",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU16(kHeaderByteOrderOffset, 0xFEFF);
       },
       STG_E_FILEALREADYEXISTS},
      {"511 bytes", [](CompoundFileWriter& w) { w.TruncateTo(511); },
       STG_E_FILEALREADYEXISTS},
      {"0 bytes", [](CompoundFileWriter& w) { w.TruncateTo(0); },
       STG_E_FILEALREADYEXISTS},
      // Real files declare other cutoffs; the format fixes it at 4096.
      {"mini stream cutoff 318771200",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU32(kHeaderMiniStreamCutoffOffset, 318771200);
       },
       S_OK},
      {"no FAT sectors",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU32(kHeaderFatSectorCountOffset, 0);
       },
       STG_E_DOCFILECORRUPT},
      {"FAT sector past the end",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU32(kHeaderDifatOffset, 0x00FFFFFF);
       },
       STG_E_DOCFILECORRUPT},
      {"first FAT sector free",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU32(kHeaderDifatOffset, 0xFFFFFFFF);
       },
       STG_E_DOCFILECORRUPT},
      {"directory past the end",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU32(kHeaderFirstDirectorySectorOffset, 0x00FFFFFF);
       },
       STG_E_DOCFILECORRUPT},
      {"directory at end of chain",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU32(kHeaderFirstDirectorySectorOffset, 0xFFFFFFFE);
       },
       STG_E_DOCFILECORRUPT},
      {"root entry is the FAT sector",
       [](CompoundFileWriter& w) {
         w.PatchHeaderU32(kHeaderFirstDirectorySectorOffset, 0);
       },
       STG_E_DOCFILECORRUPT},
      {"cut inside the FAT",
       [](CompoundFileWriter& w) { w.TruncateTo(w.Layout().sectorSize + 100); },
       STG_E_DOCFILECORRUPT},
  };
  for (CompoundFileVersion version :
       {CompoundFileVersion::k3, CompoundFileVersion::k4}) {
    for (const OpenCase& c : cases) {
      SCOPED_TRACE(std::string(c.damage) +
                   (version == CompoundFileVersion::k3 ? ", v3" : ", v4"));
      CompoundFileWriter writer = SmallFile(version);
      c.apply(writer);
      std::string file = writer.Build();
      ComPtr<IStorage> storage;
      EXPECT_EQ(OpenFromMemory(file, &storage), c.result);
      EXPECT_EQ(storage != nullptr, c.result == S_OK);
    }
  }
}

TEST_F(HostileCompoundFileTest, DifatThatLeavesTheFileIsCorrupt) {
  CompoundFileWriter writer;
  writer.AddStream(u"Filler", 7500000, PatternContent(1));
  writer.AddStream(u"PowerPoint Document", PatternBytes(20000, 2));
  ASSERT_GE(writer.Layout().difatSectors, 1u);
  writer.PatchHeaderU32(kHeaderFirstDifatSectorOffset, 0x00FFFFFF);
  std::string file = writer.Build();
  ComPtr<IStorage> storage;
  EXPECT_EQ(OpenFromMemory(file, &storage), STG_E_DOCFILECORRUPT);
}

TEST_F(HostileCompoundFileTest, DifatThatLoopsEndsTheFat) {
  // The DIFAT sector names itself as the next one: the FAT it lists is
  // read once, and the file opens.
  CompoundFileWriter writer;
  writer.AddStream(u"Filler", 7500000, PatternContent(1));
  writer.AddStream(u"PowerPoint Document", PatternBytes(20000, 2));
  CompoundFileLayout layout = writer.Layout();
  ASSERT_EQ(layout.difatSectors, 1u);
  std::string file = writer.Build();
  // The DIFAT sector follows the FAT sectors; its last entry links on.
  const uint32_t difatSector = layout.fatSectors;
  const size_t linkOffset =
      (size_t{difatSector} + 1) * layout.sectorSize + layout.sectorSize - 4;
  for (size_t i = 0; i < 4; ++i)
    file[linkOffset + i] = static_cast<char>(difatSector >> (8 * i));
  ComPtr<IStorage> storage;
  ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"PowerPoint Document", &stream), S_OK);
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get()), PatternBytes(20000, 2)));
}

struct ReadCase {
  const char* damage;
  CompoundFileVersion version;
  size_t dataSize;
  std::function<void(CompoundFileWriter&, CompoundFileWriter::EntryId)> apply;
  uint64_t statSize;  // what Stat reports
  // What Read delivers: a prefix of the data and the zeros that pad its
  // last sector (a chain that ends after the data reads up to its end).
  size_t deliveredSize;
};

std::string Delivered(const ReadCase& c) {
  std::string bytes = PatternBytes(c.dataSize, 1);
  bytes.resize(std::max(bytes.size(), c.deliveredSize), '\0');
  return bytes.substr(0, c.deliveredSize);
}

TEST_F(HostileCompoundFileTest, BrokenStreamChainsOpenAndReadShort) {
  using Id = CompoundFileWriter::EntryId;
  const CompoundFileVersion v3 = CompoundFileVersion::k3;
  const CompoundFileVersion v4 = CompoundFileVersion::k4;
  const uint64_t k4GiB = uint64_t{1} << 32;
  const ReadCase cases[] = {
      {"regular chain loops to its start", v3, 10000,
       [](CompoundFileWriter& w, Id s) {
         w.LoopChainToStart(s);
         w.DeclareStreamSize(s, 1 << 20);
       },
       1 << 20, 10240},
      {"mini chain loops to its start", v4, 1000,
       [](CompoundFileWriter& w, Id s) {
         w.LoopChainToStart(s);
         w.DeclareStreamSize(s, 4000);
       },
       4000, 1024},
      {"regular chain leaves the file", v3, 10000,
       [](CompoundFileWriter& w, Id s) { w.PointChainPastEnd(s); }, 10000, 512},
      {"regular chain leaves the file", v4, 10000,
       [](CompoundFileWriter& w, Id s) { w.PointChainPastEnd(s); }, 10000,
       4096},
      {"mini chain leaves the mini stream", v3, 1000,
       [](CompoundFileWriter& w, Id s) { w.PointChainPastEnd(s); }, 1000, 64},
      {"4 GiB declared, version 4", v4, 10000,
       [=](CompoundFileWriter& w, Id s) { w.DeclareStreamSize(s, k4GiB); },
       k4GiB, 12288},
      {"largest size declared, version 4", v4, 10000,
       [](CompoundFileWriter& w, Id s) { w.DeclareStreamSize(s, UINT64_MAX); },
       UINT64_MAX, 12288},
      {"high 32 bits set, version 3", v3, 10000,
       [=](CompoundFileWriter& w, Id s) {
         w.DeclareStreamSize(s, k4GiB + 10000);
       },
       10000, 10000},
      {"high 32 bits over a mini stream, version 3", v3, 100,
       [=](CompoundFileWriter& w, Id s) {
         w.DeclareStreamSize(s, k4GiB + 100);
       },
       100, 100},
      {"cut inside the stream's last sector", v3, 10000,
       [](CompoundFileWriter& w, Id) {
         w.TruncateTo(w.Layout().fileSize - 300);
       },
       10000, 10000 - (300 - 240)},
      {"cut inside the stream", v4, 30000,
       [](CompoundFileWriter& w, Id) {
         w.TruncateTo(w.Layout().fileSize - 10000);
       },
       30000, 30000 - (10000 - 2768)},
      {"cut off the stream", v3, 10000,
       [](CompoundFileWriter& w, Id) {
         w.TruncateTo(w.Layout().fileSize - 10240);
       },
       10000, 0},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(std::string(c.damage) +
                 (c.version == CompoundFileVersion::k3 ? ", v3" : ", v4"));
    CompoundFileWriter writer(c.version);
    writer.AddStream(u"Current User", PatternBytes(60, 2));
    Id stream =
        writer.AddStream(u"PowerPoint Document", PatternBytes(c.dataSize, 1));
    c.apply(writer, stream);
    std::string file = writer.Build();
    ComPtr<IStorage> storage;
    ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
    ComPtr<IStream> opened;
    ASSERT_EQ(OpenStream(storage.get(), u"PowerPoint Document", &opened), S_OK);
    STATSTG stat;
    ASSERT_EQ(opened->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, c.statSize);
    for (ULONG chunk : {7u, 1u << 20}) {
      LARGE_INTEGER start;
      start.QuadPart = 0;
      ASSERT_EQ(opened->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
      EXPECT_TRUE(SameBytes(ReadToEnd(opened.get(), chunk), Delivered(c)));
    }
    // A Read after the short one delivers nothing, with S_OK.
    char byte;
    ULONG got = 1;
    EXPECT_EQ(opened->Read(&byte, 1, &got), S_OK);
    EXPECT_EQ(got, 0u);
  }
}

TEST_F(HostileCompoundFileTest, SiblingCycleStillFindsEveryChildOnce) {
  for (SiblingTree shape : {SiblingTree::kBalanced, SiblingTree::kRightChain}) {
    SCOPED_TRACE(shape == SiblingTree::kBalanced ? "balanced" : "chain");
    CompoundFileWriter writer;
    writer.SetSiblingTree(shape);
    const std::u16string names[] = {u"A", u"Bb", u"Ccc", u"Dddd", u"Eeeee"};
    for (const std::u16string& name : names)
      writer.AddStream(name, std::string(name.size(), 'x'));
    writer.LinkSiblingsInCycle(CompoundFileWriter::kRoot);
    std::string file = writer.Build();
    ComPtr<IStorage> storage;
    ASSERT_EQ(OpenFromMemory(file, &storage), S_OK);
    for (const std::u16string& name : names) {
      ComPtr<IStream> stream;
      ASSERT_EQ(OpenStream(storage.get(), name.c_str(), &stream), S_OK);
      EXPECT_TRUE(
          SameBytes(ReadToEnd(stream.get()), std::string(name.size(), 'x')));
    }
    ComPtr<IStream> stream;
    EXPECT_EQ(OpenStream(storage.get(), u"Missing", &stream),
              STG_E_FILENOTFOUND);
    IEnumSTATSTG* raw = nullptr;
    ASSERT_EQ(storage->EnumElements(0, nullptr, 0, &raw), S_OK);
    ComPtr<IEnumSTATSTG> enumerator(raw);
    std::multiset<std::u16string> listed;
    STATSTG stat;
    while (enumerator->Next(1, &stat, nullptr) == S_OK) {
      listed.insert(stat.pwcsName);
      CoTaskMemFree(stat.pwcsName);
    }
    EXPECT_EQ(listed, std::multiset<std::u16string>(std::begin(names),
                                                    std::end(names)));
  }
}

TEST_F(HostileCompoundFileTest, StreamCutOffInAFileOnDiskReadsShort) {
  // The same damage through pread: the path-based reader must not fault.
  CompoundFileWriter writer;
  writer.AddStream(u"PowerPoint Document", PatternBytes(10000, 1));
  writer.TruncateTo(writer.Layout().fileSize - 1000);
  std::string path =
      ::testing::TempDir() + "txtppt2_cut_" + std::to_string(getpid()) + ".ppt";
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::string file = writer.Build();
  std::fwrite(file.data(), 1, file.size(), out);
  std::fclose(out);
  std::u16string widePath(path.begin(), path.end());
  IStorage* raw = nullptr;
  ASSERT_EQ(StgOpenStorage(widePath.c_str(), nullptr, kReadStorageMode, nullptr,
                           0, &raw),
            S_OK);
  ComPtr<IStorage> storage(raw);
  ComPtr<IStream> stream;
  ASSERT_EQ(OpenStream(storage.get(), u"PowerPoint Document", &stream), S_OK);
  EXPECT_TRUE(SameBytes(ReadToEnd(stream.get(), 3),
                        PatternBytes(10000, 1).substr(0, 9240)));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace txtppt2::testing
