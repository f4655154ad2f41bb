#include "support/sample_files.h"

#include <cstdint>
#include <string>

#include "support/compound_file_writer.h"
#include "support/record_stream_builder.h"

namespace txtppt2::testing {

namespace {

constexpr std::u16string_view kDocumentStream = u"PowerPoint Document";

using namespace txtppt2::testing::record_types;

// The header field after the first DIFAT sector: how many there are.
constexpr size_t kHeaderDifatSectorCountOffset = 0x48;

std::u16string Widen(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// A file whose only damage is in the document's records.
std::string WithDocument(std::string records) {
  CompoundFileWriter writer;
  writer.AddStream(kDocumentStream, std::move(records));
  return writer.Build();
}

// A sound presentation in a regular (not mini) stream, damaged by damage.
template <typename Damage>
std::string Damaged(Damage damage,
                    CompoundFileVersion version = CompoundFileVersion::k3,
                    int slides = 60) {
  CompoundFileWriter writer(version);
  writer.AddStream(u"Current User", PatternBytes(40, 7));
  auto document = writer.AddStream(kDocumentStream, PresentationRecords(slides));
  damage(writer, document);
  return writer.Build();
}

// Offset of the directory's first byte in files the writer lays out: the
// header takes one sector, and the FAT, DIFAT and MiniFAT come first.
uint64_t DirectoryOffset(const CompoundFileLayout& layout) {
  return layout.sectorSize * (1 + uint64_t{layout.fatSectors} +
                              layout.difatSectors + layout.miniFatSectors);
}

}  // namespace

std::string PresentationRecords(int slides) {
  RecordStreamBuilder b;
  b.Container(kDocument).Container(kSlideListWithText);
  for (int s = 1; s <= slides; ++s) {
    std::string n = std::to_string(s);
    b.Atom(kSlidePersistAtom, std::string(20, '\0'))
        .Atom(kTextHeaderAtom, std::string(4, '\0'))
        .TextChars(u"Title " + Widen(n) + u" \u00e9\u20ac\u0301")
        .Atom(kTextHeaderAtom, std::string("\1\0\0\0", 4))
        .TextBytes("Body of slide " + n + "\rsecond line\x0bthird\x93q\x94");
  }
  for (int s = 1; s <= slides; ++s) {
    b.Container(kSlide)
        .Container(kDrawing)
        .Container(kDrawingContainer)
        .Container(kShapeContainer)
        .Container(kClientTextbox)
        .TextChars(u"Shape text " + Widen(std::to_string(s)));
  }
  return b.Bytes();
}

std::vector<SampleFile> SoundPresentations() {
  std::vector<SampleFile> files;
  {
    CompoundFileWriter writer;
    writer.AddStream(kDocumentStream, PresentationRecords(2));
    files.push_back({"v3_mini_stream_two_slides", writer.Build()});
  }
  {
    CompoundFileWriter writer;
    writer.AddStream(kDocumentStream, PresentationRecords(60));
    files.push_back({"v3_regular_stream_sixty_slides", writer.Build()});
  }
  {
    CompoundFileWriter writer(CompoundFileVersion::k4);
    writer.AddStream(kDocumentStream, PresentationRecords(60));
    files.push_back({"v4_regular_stream_sixty_slides", writer.Build()});
  }
  {
    CompoundFileWriter writer(CompoundFileVersion::k4);
    writer.AddStream(kDocumentStream, PresentationRecords(3));
    files.push_back({"v4_mini_stream_three_slides", writer.Build()});
  }
  {
    CompoundFileWriter writer;
    writer.SetSiblingTree(SiblingTree::kRightChain);
    writer.AddStream(u"\u0005SummaryInformation", PatternBytes(300, 1));
    auto pool = writer.AddStorage(u"ObjectPool");
    writer.AddStream(u"Contents", PatternBytes(5000, 2), pool);
    writer.AddStream(u"Pictures", PatternBytes(9000, 3));
    writer.AddStream(kDocumentStream, PresentationRecords(12));
    writer.AddStream(u"Current User", PatternBytes(40, 4));
    files.push_back({"other_streams_and_storages", writer.Build()});
  }
  {
    CompoundFileWriter writer;
    writer.AddStream(u"POWERPOINT document", PresentationRecords(4));
    files.push_back({"document_name_in_other_case", writer.Build()});
  }
  files.push_back({"empty_document_stream", WithDocument("")});
  files.push_back({"text_with_nul_lone_cr_and_vt",
                   WithDocument(RecordStreamBuilder()
                                    .Container(kSlideListWithText)
                                    .TextChars(u"a\rb\vc\r\nd")
                                    .TextBytes(std::string("x\ry\0z", 5))
                                    .CString(u"cs\0tring")
                                    .Bytes())});
  return files;
}

std::vector<SampleFile> DamagedFiles() {
  std::vector<SampleFile> files;
  std::string sound;
  {
    CompoundFileWriter writer;
    writer.AddStream(kDocumentStream, PresentationRecords(60));
    sound = writer.Build();
  }

  // Not a compound file at all.
  files.push_back({"empty_input", ""});
  files.push_back({"header_cut_short", sound.substr(0, 300)});
  files.push_back({"one_sector_only", sound.substr(0, 512)});
  files.push_back({"random_bytes", PatternBytes(4096, 99)});

  // Compound files without a readable document.
  {
    CompoundFileWriter writer;
    writer.AddStream(u"Current User", PatternBytes(40, 5));
    writer.AddStream(u"WordDocument", PatternBytes(6000, 6));
    files.push_back({"no_document_stream", writer.Build()});
  }
  {
    CompoundFileWriter writer;
    auto storage = writer.AddStorage(kDocumentStream);
    writer.AddStream(u"Inner", PresentationRecords(2), storage);
    files.push_back({"document_is_a_storage", writer.Build()});
  }
  {
    CompoundFileWriter writer;
    auto storage = writer.AddStorage(u"Nested");
    writer.AddStream(kDocumentStream, PresentationRecords(2), storage);
    files.push_back({"document_only_below_root", writer.Build()});
  }

  // The header.
  struct HeaderDamage {
    const char* name;
    size_t offset;
    uint32_t value;
    int width;  // bytes
  };
  const HeaderDamage headerDamage[] = {
      {"signature_wrong", 0, 0x04034B50, 4},  // "PK\3\4"
      {"major_version_five", kHeaderMajorVersionOffset, 5, 2},
      {"byte_order_big_endian", kHeaderByteOrderOffset, 0xFEFF, 2},
      {"sector_shift_too_large", kHeaderSectorShiftOffset, 0x20, 2},
      {"sector_shift_zero", kHeaderSectorShiftOffset, 0, 2},
      {"mini_sector_shift_too_large", kHeaderMiniSectorShiftOffset, 0x10, 2},
      {"fat_sector_count_huge", kHeaderFatSectorCountOffset, 0xFFFFFFF0, 4},
      {"fat_sector_count_zero", kHeaderFatSectorCountOffset, 0, 4},
      {"directory_sector_past_end", kHeaderFirstDirectorySectorOffset,
       0x00FFFFF0, 4},
      {"directory_starts_at_end_of_chain", kHeaderFirstDirectorySectorOffset,
       0xFFFFFFFE, 4},
      {"first_fat_sector_past_end", kHeaderDifatOffset, 0x00FFFFF0, 4},
      {"first_fat_sector_is_free", kHeaderDifatOffset, 0xFFFFFFFF, 4},
      {"mini_stream_cutoff_zero", kHeaderMiniStreamCutoffOffset, 0, 4},
      {"mini_stream_cutoff_huge", kHeaderMiniStreamCutoffOffset, 0xFFFFFFFF, 4},
      {"difat_points_into_fat", kHeaderFirstDifatSectorOffset, 0, 4},
  };
  for (const auto& d : headerDamage) {
    files.push_back({d.name, Damaged([&](CompoundFileWriter& w, auto) {
                       if (d.width == 2)
                         w.PatchHeaderU16(d.offset,
                                          static_cast<uint16_t>(d.value));
                       else
                         w.PatchHeaderU32(d.offset, d.value);
                       if (d.offset == kHeaderFirstDifatSectorOffset) {
                         w.PatchHeaderU32(kHeaderDifatSectorCountOffset, 1);
                         w.PatchHeaderU32(kHeaderFatSectorCountOffset, 200);
                       }
                     })});
  }

  // The stream's chain and declared size.
  using Version = CompoundFileVersion;
  for (Version version : {Version::k3, Version::k4}) {
    std::string v = version == Version::k3 ? "v3_" : "v4_";
    for (int slides : {2, 60}) {
      std::string where = slides == 2 ? "mini_" : "regular_";
      files.push_back(
          {v + where + "chain_loops_to_start",
           Damaged([](auto& w, auto doc) { w.LoopChainToStart(doc); }, version,
                   slides)});
      files.push_back(
          {v + where + "chain_points_past_end",
           Damaged([](auto& w, auto doc) { w.PointChainPastEnd(doc); }, version,
                   slides)});
      files.push_back(
          {v + where + "size_declares_4gib",
           Damaged(
               [](auto& w, auto doc) { w.DeclareStreamSize(doc, 0xFFFFFFFF); },
               version, slides)});
      files.push_back({v + where + "size_high_bits_set",
                       Damaged(
                           [](auto& w, auto doc) {
                             w.DeclareStreamSize(doc,
                                                 (uint64_t{1} << 32) | 4000);
                           },
                           version, slides)});
      files.push_back({v + where + "size_declares_double",
                       Damaged(
                           [slides](auto& w, auto doc) {
                             w.DeclareStreamSize(
                                 doc, PresentationRecords(slides).size() * 2);
                           },
                           version, slides)});
    }
  }

  // The directory.
  files.push_back({"root_siblings_in_cycle", Damaged([](auto& w, auto) {
                     w.SetSiblingTree(SiblingTree::kRightChain);
                     w.AddStream(u"Pictures", PatternBytes(100, 8));
                     w.LinkSiblingsInCycle(CompoundFileWriter::kRoot);
                   })});
  {
    // Deep: a chain of nested storages, and many siblings.
    CompoundFileWriter writer;
    auto parent = CompoundFileWriter::kRoot;
    for (int depth = 0; depth < 200; ++depth)
      parent = writer.AddStorage(u"level", parent);
    writer.SetSiblingTree(SiblingTree::kRightChain);
    for (int i = 0; i < 300; ++i)
      writer.AddStream(u"s" + Widen(std::to_string(i)), "");
    writer.AddStream(kDocumentStream, PresentationRecords(2));
    writer.LinkSiblingsInCycle(CompoundFileWriter::kRoot);
    files.push_back({"deep_storages_long_sibling_cycle", writer.Build()});
  }

  // Files cut short.
  {
    CompoundFileWriter writer;
    writer.AddStream(kDocumentStream, PresentationRecords(60));
    CompoundFileLayout layout = writer.Layout();
    uint64_t directory = DirectoryOffset(layout);
    files.push_back({"cut_in_fat", sound.substr(0, 600)});
    files.push_back({"cut_before_directory", sound.substr(0, directory)});
    files.push_back({"cut_in_directory", sound.substr(0, directory + 100)});
    files.push_back(
        {"cut_in_stream_data", sound.substr(0, sound.size() - 1500)});
    files.push_back({"cut_one_byte_short", sound.substr(0, sound.size() - 1)});
  }

  // The records.
  files.push_back({"text_chars_atom_declares_4gib",
                   WithDocument(RecordStreamBuilder()
                                    .Container(kSlideListWithText)
                                    .AtomHeader(kTextCharsAtom, 0xFFFFFFFF)
                                    .Raw(Utf16Le(u"only this"))
                                    .Bytes())});
  files.push_back({"text_bytes_atom_declares_4gib",
                   WithDocument(RecordStreamBuilder()
                                    .Container(kSlideListWithText)
                                    .AtomHeader(kTextBytesAtom, 0xFFFFFFFF)
                                    .Raw(PatternBytes(20000, 11))
                                    .Bytes())});
  files.push_back({"text_atom_two_megabytes_short",
                   WithDocument(RecordStreamBuilder()
                                    .Container(kSlideListWithText)
                                    .AtomHeader(kTextCharsAtom, 3u << 20)
                                    .Raw(PatternBytes(1u << 20, 12))
                                    .Bytes())});
  files.push_back({"text_chars_atom_odd_length",
                   WithDocument(RecordStreamBuilder()
                                    .Container(kSlideListWithText)
                                    .Atom(kTextCharsAtom, "abcde")
                                    .Bytes())});
  files.push_back({"skip_far_past_end",
                   WithDocument(RecordStreamBuilder()
                                    .Container(kSlideListWithText)
                                    .AtomHeader(kUnknownAtom, 0xFFFFFFF0)
                                    .TextBytes("never reached")
                                    .Bytes())});
  files.push_back({"record_header_cut",
                   WithDocument(PresentationRecords(3) + "\x0f\x00\xf0")});
  {
    RecordStreamBuilder b;
    b.Container(kSlideListWithText);
    for (int i = 0; i < 20000; ++i) b.Atom(kTextBytesAtom, "");
    files.push_back({"many_empty_text_atoms", WithDocument(b.Bytes())});
  }
  {
    RecordStreamBuilder b;
    for (int i = 0; i < 20000; ++i)
      b.Container(i % 2 ? kSlide : kClientTextbox);
    files.push_back({"many_containers", WithDocument(b.Bytes())});
  }
  return files;
}

std::vector<SampleFile> AllSampleFiles() {
  std::vector<SampleFile> files = SoundPresentations();
  for (auto& file : DamagedFiles()) files.push_back(std::move(file));
  return files;
}

}  // namespace txtppt2::testing
