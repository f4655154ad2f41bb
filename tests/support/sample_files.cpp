#include "support/sample_files.h"

#include <algorithm>
#include <functional>
#include <string>

#include "fixtures/compound_file_writer.h"
#include "fixtures/record_stream_builder.h"

namespace txtppt2::testing {

namespace {

using Id = CompoundFileWriter::EntryId;
using Damage = std::function<void(CompoundFileWriter&, Id document)>;
constexpr auto v3 = CompoundFileVersion::k3;
constexpr auto v4 = CompoundFileVersion::k4;

constexpr std::u16string_view kDocumentStream = u"PowerPoint Document";
constexpr uint32_t kNotAPresentation = 1003;  // no document stream
constexpr uint32_t kFailed = 4;               // the storage cannot be read
constexpr HRESULT kNotCompound = STG_E_FILEALREADYEXISTS;
constexpr HRESULT kCorrupt = STG_E_DOCFILECORRUPT;
constexpr size_t kHeaderFirstMiniFatSectorOffset = 0x3C;

// A file with a small stream beside the document, damaged by damage.
std::string Make(CompoundFileVersion version, const std::string& document,
                 const Damage& damage = nullptr) {
  CompoundFileWriter writer(version);
  writer.AddStream(u"Current User", PatternBytes(60, 2));
  Id id = writer.AddStream(kDocumentStream, document);
  if (damage) damage(writer, id);
  return writer.Build();
}

// The first n bytes of data, with the zeros that pad its last unit when n
// reaches past it.
std::string Prefix(const std::string& data, size_t n) {
  std::string bytes = data;
  bytes.resize(std::max(bytes.size(), n), '\0');
  return bytes.substr(0, n);
}

// A version 3 file whose FAT or MiniFAT (the 512-byte block table of the
// file, the header being block 0) is copied to the last sector, which the
// header field at headerOffset then names and the end of the file cuts
// after kept bytes.
std::string WithTableCutShort(const std::string& document, size_t filler,
                              size_t headerOffset, size_t table, size_t kept) {
  CompoundFileWriter writer;
  writer.AddStream(u"Current User", PatternBytes(60, 2));
  writer.AddStream(kDocumentStream, document);
  writer.AddStream(u"Filler", PatternBytes(filler, 3));
  const size_t last = writer.Layout().totalSectors;  // after the header
  writer.PatchHeaderU32(headerOffset, static_cast<uint32_t>(last - 1));
  std::string file = writer.Build();
  file.replace(last * 512, 512, file, table * 512, 512);
  file.resize(last * 512 + kept);
  return file;
}

std::u16string Utf16(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

void AddSoundFiles(std::vector<SampleFile>& files) {
  for (auto [version, slides] :
       {std::pair{v3, 2}, {v3, 60}, {v4, 3}, {v4, 60}}) {
    std::string records = PresentationRecords(slides);
    files.push_back({std::string(version == v3 ? "v3_" : "v4_") +
                         (slides < 10 ? "mini_stream" : "regular_stream"),
                     Make(version, records), S_OK, records});
  }
  {
    CompoundFileWriter writer;
    writer.SetSiblingTree(SiblingTree::kRightChain);
    writer.AddStream(u"\u0005SummaryInformation", PatternBytes(300, 1));
    writer.AddStream(u"Contents", PatternBytes(5000, 2),
                     writer.AddStorage(u"ObjectPool"));
    writer.AddStream(u"Pictures", PatternBytes(9000, 3));
    writer.AddStream(kDocumentStream, PresentationRecords(12));
    files.push_back({"other_streams_and_storages", writer.Build(), S_OK,
                     PresentationRecords(12)});
  }
  {
    CompoundFileWriter writer;
    writer.AddStream(u"POWERPOINT document", PresentationRecords(4));
    files.push_back({"document_name_in_other_case", writer.Build(), S_OK,
                     PresentationRecords(4)});
  }
  std::string text = RecordStreamBuilder()
                         .Container(kRtSlideListWithText)
                         .TextChars(u"a\rb\vc\r\nd")
                         .TextBytes(std::string("x\ry\0z", 5))
                         .CString(u"cs\0tring")
                         .Bytes();
  files.push_back({"text_with_nul_lone_cr_and_vt", Make(v3, text), S_OK, text});
  // Two slides of mixed scripts (one character with only a best fit in
  // Windows-1252, a lone surrogate), with line and soft breaks.
  RecordStreamBuilder mixed;
  mixed.Container(kRtDocument).Container(kRtSlideListWithText);
  mixed.TextChars(u"Café crème à 3 € čĊ").TextChars(u"日本 \U0001F600 \xD800!");
  mixed.TextBytes("Line one\rLine two").TextChars(u"soft\vbreak");
  mixed.Container(kRtSlide).Container(kRtSlide);
  mixed.Container(kOfficeArtSpContainer).Container(kOfficeArtClientTextbox);
  mixed.TextChars(u"Second slide");
  files.push_back(
      {"mixed_scripts", Make(v3, mixed.Bytes()), S_OK, mixed.Bytes()});
  files.push_back({"empty_document_stream", Make(v3, ""), S_OK, ""});
}

void AddDamagedHeaders(std::vector<SampleFile>& files) {
  const std::string records = PresentationRecords(60);
  const struct {
    const char* name;
    size_t offset;
    uint32_t value;
    int width;  // bytes
    HRESULT opens;
  } damages[] = {
      {"signature_wrong", 0, 0x04034B50, 4, kNotCompound},
      {"major_version_five", kHeaderMajorVersionOffset, 5, 2, kNotCompound},
      {"byte_order_big_endian", kHeaderByteOrderOffset, 0xFEFF, 2,
       kNotCompound},
      {"sector_shift_of_other_version", kHeaderSectorShiftOffset, 0, 2,
       kNotCompound},
      {"mini_sector_shift_seven", kHeaderMiniSectorShiftOffset, 7, 2,
       kNotCompound},
      {"fat_sector_count_zero", kHeaderFatSectorCountOffset, 0, 4, kCorrupt},
      {"first_fat_sector_past_end", kHeaderDifatOffset, 0x00FFFFF0, 4,
       kCorrupt},
      {"first_fat_sector_just_past_end", kHeaderDifatOffset, 0, 4, kCorrupt},
      {"first_fat_sector_is_free", kHeaderDifatOffset, 0xFFFFFFFF, 4, kCorrupt},
      {"directory_sector_past_end", kHeaderFirstDirectorySectorOffset,
       0x00FFFFF0, 4, kCorrupt},
      {"directory_starts_at_end_of_chain", kHeaderFirstDirectorySectorOffset,
       0xFFFFFFFE, 4, kCorrupt},
      {"root_entry_is_the_fat_sector", kHeaderFirstDirectorySectorOffset, 0, 4,
       kCorrupt},
      // The FAT count is believed only as far as the file reaches.
      {"fat_sector_count_huge", kHeaderFatSectorCountOffset, 0xFFFFFFF0, 4,
       S_OK},
      // The cutoff is fixed at 4096 whatever the header says.
      {"mini_stream_cutoff_zero", kHeaderMiniStreamCutoffOffset, 0, 4, S_OK},
      {"mini_stream_cutoff_huge", kHeaderMiniStreamCutoffOffset, 0xFFFFFFFF, 4,
       S_OK},
  };
  for (CompoundFileVersion version : {v3, v4}) {
    const uint32_t sectorSize = version == v3 ? 512 : 4096;
    const size_t sectors = Make(version, records).size() / sectorSize - 1;
    for (const auto& d : damages) {
      uint32_t value = d.value;
      if (std::string_view(d.name) == "sector_shift_of_other_version")
        value = version == v3 ? 12 : 9;
      if (std::string_view(d.name) == "first_fat_sector_just_past_end")
        value = static_cast<uint32_t>(sectors);
      std::string file = Make(version, records, [&](auto& w, Id) {
        if (d.width == 2)
          w.PatchHeaderU16(d.offset, static_cast<uint16_t>(value));
        else
          w.PatchHeaderU32(d.offset, value);
      });
      bool opens = d.opens == S_OK;
      files.push_back(
          {(version == v3 ? "v3_" : "v4_") + std::string(d.name), file, d.opens,
           opens ? std::optional<std::string>(records) : std::nullopt,
           opens ? 0 : kFailed});
    }
  }
  // More FAT sectors claimed than the header's DIFAT lists: the list ends
  // at its first free entry, and the sectors past the FAT's reach are
  // bytes no chain uses.
  std::string file = Make(v3, records, [](auto& w, Id) {
    w.PatchHeaderU32(kHeaderFatSectorCountOffset, 2);
  });
  files.push_back({"fat_sector_count_beyond_difat",
                   file + std::string(128 * 512, '\0'), S_OK, records});
}

void AddDamagedTables(std::vector<SampleFile>& files) {
  const std::string records = PresentationRecords(60);
  const std::string sound = Make(v3, records);
  // Header, FAT, MiniFAT, then the directory.
  const size_t directory = 3 * 512;
  const struct {
    const char* name;
    std::string bytes;
    HRESULT opens;
  } unreadable[] = {
      {"empty_input", "", kNotCompound},
      {"header_cut_short", sound.substr(0, 300), kNotCompound},
      {"random_bytes", PatternBytes(4096, 99), kNotCompound},
      {"header_only", sound.substr(0, 512), kCorrupt},
      {"cut_in_fat", sound.substr(0, 600), kCorrupt},
      {"cut_before_directory", sound.substr(0, directory), kCorrupt},
      {"cut_in_root_entry", sound.substr(0, directory + 100), kCorrupt},
  };
  for (const auto& u : unreadable)
    files.push_back({u.name, u.bytes, u.opens, {}, kFailed});
  {
    // The document's entry, the fifth, is cut after its name and type:
    // an entry the file does not hold whole is not there.
    CompoundFileWriter writer;
    for (const char16_t* name : {u"A", u"B", u"C"}) writer.AddStream(name, "x");
    writer.AddStream(kDocumentStream, PresentationRecords(2));
    files.push_back({"directory_entry_cut_by_end_of_file",
                     writer.Build().substr(0, directory + 512 + 0x50),
                     S_OK,
                     {},
                     kNotAPresentation});
  }
  // The MiniFAT moved to the file's last sector, which the end of the file
  // cuts after two entries: the document's mini chain, which starts at mini
  // sector 1, ends with the second.
  files.push_back({"minifat_cut_by_end_of_file",
                   WithTableCutShort(PresentationRecords(2), 2048,
                                     kHeaderFirstMiniFatSectorOffset, 2, 8),
                   S_OK, PresentationRecords(2).substr(0, 128)});
  // The FAT moved to the file's last sector, which the end of the file cuts
  // after 7 entries: sectors past those are free, and the document's chain
  // (from sector 4) ends at sector 7.
  files.push_back(
      {"fat_cut_by_end_of_file",
       WithTableCutShort(records, 5000, kHeaderDifatOffset, 1, 7 * 4), S_OK,
       records.substr(0, 4 * 512)});
  // The document's data is the last in the file, padded to a sector.
  const size_t padding = (512 - records.size() % 512) % 512;
  for (size_t cut : {size_t{1}, size_t{1500}}) {
    files.push_back(
        {"cut_" + std::to_string(cut) + "_bytes_short",
         sound.substr(0, sound.size() - cut), S_OK,
         records.substr(
             0, std::min(records.size(), records.size() + padding - cut)),
         0});
  }
  // Files without a "PowerPoint Document" stream under the root.
  CompoundFileWriter noDocument, documentIsAStorage, documentBelowRoot;
  noDocument.AddStream(u"Current User", PatternBytes(40, 5));
  noDocument.AddStream(u"WordDocument", PatternBytes(6000, 6));
  documentIsAStorage.AddStream(u"Inner", PresentationRecords(2),
                               documentIsAStorage.AddStorage(kDocumentStream));
  documentBelowRoot.AddStream(kDocumentStream, PresentationRecords(2),
                              documentBelowRoot.AddStorage(u"Nested"));
  for (auto [name, writer] : {std::pair{"no_document_stream", &noDocument},
                              {"document_is_a_storage", &documentIsAStorage},
                              {"document_only_below_root", &documentBelowRoot}})
    files.push_back({name, writer->Build(), S_OK, {}, kNotAPresentation});
  files.push_back({"root_siblings_in_cycle",
                   Make(v3, records,
                        [](auto& w, Id) {
                          w.SetSiblingTree(SiblingTree::kRightChain);
                          w.AddStream(u"Pictures", PatternBytes(100, 8));
                          w.LinkSiblingsInCycle(CompoundFileWriter::kRoot);
                        }),
                   S_OK, records});
  {
    CompoundFileWriter writer;
    Id parent = CompoundFileWriter::kRoot;
    for (int depth = 0; depth < 200; ++depth)
      parent = writer.AddStorage(u"level", parent);
    writer.SetSiblingTree(SiblingTree::kRightChain);
    for (int i = 0; i < 300; ++i)
      writer.AddStream(u"s" + Utf16(std::to_string(i)), "");
    writer.AddStream(kDocumentStream, PresentationRecords(2));
    writer.LinkSiblingsInCycle(CompoundFileWriter::kRoot);
    files.push_back({"deep_storages_long_sibling_cycle", writer.Build(), S_OK,
                     PresentationRecords(2)});
  }
}

// The document's own chain and size: what Read delivers is data up to the
// size, or up to where the chain or the file ends, with the zeros that pad
// the last unit read.
void AddDamagedChains(std::vector<SampleFile>& files) {
  const uint64_t k4GiB = uint64_t{1} << 32;
  auto declare = [](uint64_t size) -> Damage {
    return [=](auto& w, Id s) { w.DeclareStreamSize(s, size); };
  };
  auto loop = [](uint64_t size) -> Damage {
    return [=](auto& w, Id s) {
      w.LoopChainToStart(s);
      w.DeclareStreamSize(s, size);
    };
  };
  auto cutBy = [](size_t bytes) -> Damage {
    return [=](auto& w, Id) { w.TruncateTo(w.Layout().fileSize - bytes); };
  };
  const Damage pastEnd = [](auto& w, Id s) { w.PointChainPastEnd(s); };
  const struct {
    const char* name;
    CompoundFileVersion version;
    size_t dataSize;
    Damage damage;
    size_t delivered;
  } chains[] = {
      {"v3_regular_chain_loops_to_start", v3, 10000, loop(1 << 20), 10240},
      {"v4_mini_chain_loops_to_start", v4, 1000, loop(4000), 1024},
      {"v3_regular_chain_leaves_the_file", v3, 10000, pastEnd, 512},
      {"v4_regular_chain_leaves_the_file", v4, 10000, pastEnd, 4096},
      {"v3_mini_chain_leaves_the_mini_stream", v3, 1000, pastEnd, 64},
      {"v4_size_declares_4gib", v4, 10000, declare(k4GiB), 12288},
      {"v4_size_declares_largest", v4, 10000, declare(UINT64_MAX), 12288},
      {"v3_size_high_bits_set", v3, 10000, declare(k4GiB + 10000), 10000},
      {"v3_mini_size_high_bits_set", v3, 100, declare(k4GiB + 100), 100},
      {"v3_cut_in_last_sector", v3, 10000, cutBy(300), 10000 - (300 - 240)},
      {"v4_cut_in_stream", v4, 30000, cutBy(10000), 30000 - (10000 - 2768)},
      {"v3_cut_off_stream", v3, 10000, cutBy(10240), 0},
  };
  for (const auto& c : chains) {
    std::string data = PatternBytes(c.dataSize, 1);
    files.push_back({c.name, Make(c.version, data, c.damage), S_OK,
                     Prefix(data, c.delivered)});
  }
}

void AddDamagedRecords(std::vector<SampleFile>& files) {
  auto add = [&](const char* name, const std::string& records) {
    files.push_back({name, Make(v3, records), S_OK, records});
  };
  auto slides = [] {
    return RecordStreamBuilder().Container(kRtSlideListWithText);
  };
  // An atom whose header declares more than the bytes that follow it.
  auto addLong = [&](const char* name, uint16_t type, uint32_t declared,
                     const std::string& following) {
    add(name, slides().AtomHeader(type, declared).Raw(following).Bytes());
  };
  addLong("text_chars_atom_declares_4gib", kRtTextCharsAtom, ~0u,
          Utf16Le(u"only this"));
  addLong("text_bytes_atom_declares_4gib", kRtTextBytesAtom, ~0u,
          PatternBytes(20000, 11));
  addLong("text_atom_two_megabytes_short", kRtTextCharsAtom, 3u << 20,
          PatternBytes(1u << 20, 12));
  addLong("skip_far_past_end", kUnknownAtom, 0xFFFFFFF0,
          RecordStreamBuilder().TextBytes("never reached").Bytes());
  add("text_chars_atom_odd_length",
      slides().Atom(kRtTextCharsAtom, "abcde").Bytes());
  add("record_header_cut", PresentationRecords(3) + "\x0f\x00\xf0");
  RecordStreamBuilder atoms = slides();
  for (int i = 0; i < 20000; ++i) atoms.Atom(kRtTextBytesAtom, "");
  add("many_empty_text_atoms", atoms.Bytes());
  RecordStreamBuilder containers;
  for (int i = 0; i < 20000; ++i)
    containers.Container(i % 2 ? kRtSlide : kOfficeArtClientTextbox);
  add("many_containers", containers.Bytes());
}

}  // namespace

const std::vector<SampleFile>& SampleFiles() {
  static const std::vector<SampleFile> files = [] {
    std::vector<SampleFile> all;
    AddSoundFiles(all);
    AddDamagedHeaders(all);
    AddDamagedTables(all);
    AddDamagedChains(all);
    AddDamagedRecords(all);
    return all;
  }();
  return files;
}

}  // namespace txtppt2::testing
