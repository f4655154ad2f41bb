// The writer lays a file out in one plan (sector numbers of every table and
// chain, the FAT and MiniFAT, the sibling links), then streams the sectors
// out in file order. Everything but stream content is sized by the number
// of sectors, so writing is linear in the file's size.
#include "support/compound_file_writer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>

namespace txtppt2::testing {

namespace {

// Header fields the header file does not name for tests.
constexpr size_t kHeaderMinorVersionOffset = 0x18;
constexpr size_t kHeaderDirectorySectorCountOffset = 0x28;
constexpr size_t kHeaderFirstMiniFatSectorOffset = 0x3C;
constexpr size_t kHeaderMiniFatSectorCountOffset = 0x40;
constexpr size_t kHeaderDifatSectorCountOffset = 0x48;
constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr uint16_t kMinorVersion = 0x003E;
constexpr uint16_t kByteOrderMark = 0xFFFE;
constexpr uint16_t kMiniSectorShift = 6;

// Directory entry fields.
constexpr size_t kEntryNameLengthOffset = 0x40;
constexpr size_t kEntryTypeOffset = 0x42;
constexpr size_t kEntryColorOffset = 0x43;
constexpr size_t kEntryLeftOffset = 0x44;
constexpr size_t kEntryRightOffset = 0x48;
constexpr size_t kEntryChildOffset = 0x4C;
constexpr size_t kEntryStartSectorOffset = 0x74;
constexpr size_t kEntrySizeOffset = 0x78;

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kFatSectorMark = 0xFFFFFFFD;
constexpr uint32_t kDifatSectorMark = 0xFFFFFFFC;
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kHeaderDifatEntries = 109;
constexpr size_t kHeaderBytes = 512;
constexpr size_t kEntryBytes = 128;
constexpr uint64_t kMiniCutoff = 4096;
constexpr uint32_t kMiniSectorBytes = 64;
constexpr size_t kMaxNameUnits = 31;
constexpr int kStorageType = 1;
constexpr int kStreamType = 2;
constexpr int kRootType = 5;
constexpr uint8_t kRed = 0;
constexpr uint8_t kBlack = 1;
// Content is produced and written this much at a time.
constexpr size_t kContentChunk = 64 * 1024;

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

void PutU16(std::string* bytes, size_t offset, uint16_t value) {
  for (size_t i = 0; i < 2; ++i)
    (*bytes)[offset + i] = static_cast<char>(value >> (8 * i));
}

void PutU32(std::string* bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i)
    (*bytes)[offset + i] = static_cast<char>(value >> (8 * i));
}

void PutU64(std::string* bytes, size_t offset, uint64_t value) {
  PutU32(bytes, offset, static_cast<uint32_t>(value));
  PutU32(bytes, offset + 4, static_cast<uint32_t>(value >> 32));
}

// The writer's own order of names: upper case by ASCII letters only, which
// is all the tests' names need.
std::u16string SortKey(const std::u16string& name) {
  std::u16string key = name;
  for (char16_t& unit : key)
    if (unit >= u'a' && unit <= u'z') unit -= 0x20;
  return key;
}

// Passes bytes on to a sink until a limit, then drops them.
class LimitedSink {
 public:
  LimitedSink(const ByteSink& sink_, uint64_t limit_)
      : sink(sink_), limit(limit_) {}

  bool Full() const { return written >= limit; }

  void Write(const char* bytes, size_t n) {
    if (Full()) return;
    size_t take = static_cast<size_t>(std::min<uint64_t>(n, limit - written));
    sink(bytes, take);
    written += take;
  }

  void WriteZeros(uint64_t n) {
    static const char zeros[4096] = {};
    while (n > 0 && !Full()) {
      size_t take = static_cast<size_t>(std::min<uint64_t>(n, sizeof(zeros)));
      Write(zeros, take);
      n -= take;
    }
  }

  // Writes a table of 32-bit entries, then kFreeSector up to entries slots.
  void WriteTable(const std::vector<uint32_t>& table, uint64_t entries) {
    std::string chunk;
    for (uint64_t i = 0; i < entries && !Full();) {
      chunk.assign(std::min<uint64_t>(entries - i, kContentChunk / 4) * 4,
                   '\0');
      for (size_t at = 0; at < chunk.size(); at += 4, ++i)
        PutU32(&chunk, at, i < table.size() ? table[i] : kFreeSector);
      Write(chunk.data(), chunk.size());
    }
  }

  // Writes size bytes of content, then zeros up to a multiple of unit.
  void WriteContent(const StreamContent& content, uint64_t size,
                    uint64_t unit) {
    std::vector<char> chunk(kContentChunk);
    for (uint64_t at = 0; at < size && !Full();) {
      size_t n =
          static_cast<size_t>(std::min<uint64_t>(size - at, kContentChunk));
      content(at, chunk.data(), n);
      Write(chunk.data(), n);
      at += n;
    }
    WriteZeros(CeilDiv(size, unit) * unit - size);
  }

 private:
  const ByteSink& sink;
  uint64_t limit;
  uint64_t written = 0;
};

}  // namespace

struct CompoundFileWriter::Plan {
  uint32_t sectorSize = 0;
  uint32_t perFatSector = 0;
  uint32_t fatSectors = 0;
  uint32_t difatSectors = 0;
  uint32_t miniFatSectors = 0;
  uint32_t directorySectors = 0;
  uint32_t miniStreamSectors = 0;
  uint32_t totalSectors = 0;
  uint32_t firstDirectory = kEndOfChain;
  uint32_t firstMiniFat = kEndOfChain;
  uint32_t firstMiniStream = kEndOfChain;
  uint32_t miniUnits = 0;
  // Per element: the first sector or mini sector (kEndOfChain for none),
  // and the links of the directory tree.
  std::vector<uint32_t> start, left, right, child;
  std::vector<uint8_t> color;
  std::vector<uint32_t> fat, miniFat;
  uint64_t fileSize = 0;
};

CompoundFileWriter::CompoundFileWriter(CompoundFileVersion version_)
    : version(version_),
      sectorShift(version_ == CompoundFileVersion::k3 ? 9 : 12) {
  elements.push_back(Element{u"Root Entry", kRootType, kRoot});
}

CompoundFileWriter::EntryId CompoundFileWriter::AddStream(
    std::u16string_view name, std::string data, EntryId parent) {
  auto bytes = std::make_shared<std::string>(std::move(data));
  uint64_t size = bytes->size();
  return AddStream(
      name, size,
      [bytes](uint64_t offset, char* out, size_t n) {
        std::memcpy(out, bytes->data() + offset, n);
      },
      parent);
}

CompoundFileWriter::EntryId CompoundFileWriter::AddStream(
    std::u16string_view name, uint64_t size, StreamContent content,
    EntryId parent) {
  if (name.size() > kMaxNameUnits || parent >= elements.size() ||
      elements[parent].type == kStreamType)
    throw std::invalid_argument("bad stream name or parent");
  Element element{std::u16string(name), kStreamType, parent};
  element.size = size;
  element.content = std::move(content);
  elements.push_back(std::move(element));
  elements[parent].children.push_back(elements.size() - 1);
  return elements.size() - 1;
}

CompoundFileWriter::EntryId CompoundFileWriter::AddStorage(
    std::u16string_view name, EntryId parent) {
  if (name.size() > kMaxNameUnits || parent >= elements.size() ||
      elements[parent].type == kStreamType)
    throw std::invalid_argument("bad storage name or parent");
  elements.push_back(Element{std::u16string(name), kStorageType, parent});
  elements[parent].children.push_back(elements.size() - 1);
  return elements.size() - 1;
}

void CompoundFileWriter::DeclareStreamSize(EntryId stream, uint64_t size) {
  elements.at(stream).declaredSize = size;
}

void CompoundFileWriter::LoopChainToStart(EntryId stream) {
  elements.at(stream).loopChain = true;
}

void CompoundFileWriter::PointChainPastEnd(EntryId stream) {
  elements.at(stream).chainPastEnd = true;
}

void CompoundFileWriter::LinkSiblingsInCycle(EntryId storage) {
  elements.at(storage).siblingCycle = true;
}

void CompoundFileWriter::PatchHeader(size_t offset, std::string_view bytes) {
  if (offset + bytes.size() > kHeaderBytes)
    throw std::invalid_argument("patch beyond the header");
  headerPatches.emplace_back(offset, std::string(bytes));
}

void CompoundFileWriter::PatchHeaderU16(size_t offset, uint16_t value) {
  std::string bytes(2, '\0');
  PutU16(&bytes, 0, value);
  PatchHeader(offset, bytes);
}

void CompoundFileWriter::PatchHeaderU32(size_t offset, uint32_t value) {
  std::string bytes(4, '\0');
  PutU32(&bytes, 0, value);
  PatchHeader(offset, bytes);
}

bool CompoundFileWriter::IsMini(const Element& element) const {
  return element.type == kStreamType && element.size < kMiniCutoff;
}

void CompoundFileWriter::LinkSiblings(const Element& parent, Plan* plan) const {
  std::vector<EntryId> ids = parent.children;
  if (ids.empty()) return;
  uint32_t top;
  if (siblingTree == SiblingTree::kRightChain) {
    for (size_t i = 0; i + 1 < ids.size(); ++i)
      plan->right[ids[i]] = static_cast<uint32_t>(ids[i + 1]);
    top = static_cast<uint32_t>(ids[0]);
  } else {
    std::sort(ids.begin(), ids.end(), [&](EntryId a, EntryId b) {
      const std::u16string& x = elements[a].name;
      const std::u16string& y = elements[b].name;
      if (x.size() != y.size()) return x.size() < y.size();
      return SortKey(x) < SortKey(y);
    });
    // A tree split at the middle has its leaves on the last two levels;
    // colouring the last level red, when it is not full, keeps every path's
    // count of black nodes equal.
    size_t levels = 0;
    while ((size_t{1} << levels) - 1 < ids.size()) ++levels;
    bool full = (size_t{1} << levels) - 1 == ids.size();
    std::function<uint32_t(size_t, size_t, size_t)> build =
        [&](size_t lo, size_t hi, size_t depth) -> uint32_t {
      if (lo >= hi) return kNoStream;
      size_t mid = lo + (hi - lo) / 2;
      EntryId id = ids[mid];
      plan->left[id] = build(lo, mid, depth + 1);
      plan->right[id] = build(mid + 1, hi, depth + 1);
      plan->color[id] = !full && depth + 1 == levels ? kRed : kBlack;
      return static_cast<uint32_t>(id);
    };
    top = build(0, ids.size(), 0);
  }
  EntryId parentId = static_cast<EntryId>(&parent - elements.data());
  plan->child[parentId] = top;
  if (parent.siblingCycle) {
    uint32_t last = top;
    while (plan->right[last] != kNoStream) last = plan->right[last];
    plan->right[last] = top;
  }
}

CompoundFileWriter::Plan CompoundFileWriter::MakePlan() const {
  Plan plan;
  plan.sectorSize = uint32_t{1} << sectorShift;
  plan.perFatSector = plan.sectorSize / 4;
  const size_t count = elements.size();
  plan.start.assign(count, kEndOfChain);
  plan.left.assign(count, kNoStream);
  plan.right.assign(count, kNoStream);
  plan.child.assign(count, kNoStream);
  plan.color.assign(count, kBlack);

  // Mini sectors first: they decide the size of the mini stream.
  std::vector<uint64_t> units(count, 0);
  uint64_t miniUnits = 0;
  uint64_t regularSectors = 0;
  for (size_t i = 0; i < count; ++i) {
    const Element& element = elements[i];
    if (element.type != kStreamType) continue;
    if (IsMini(element)) {
      units[i] = CeilDiv(element.size, kMiniSectorBytes);
      if (units[i] > 0) plan.start[i] = static_cast<uint32_t>(miniUnits);
      miniUnits += units[i];
    } else {
      units[i] = CeilDiv(element.size, plan.sectorSize);
      regularSectors += units[i];
    }
  }
  plan.miniUnits = static_cast<uint32_t>(miniUnits);
  plan.miniFatSectors =
      static_cast<uint32_t>(CeilDiv(miniUnits * 4, plan.sectorSize));
  plan.miniStreamSectors = static_cast<uint32_t>(
      CeilDiv(miniUnits * kMiniSectorBytes, plan.sectorSize));
  plan.directorySectors =
      static_cast<uint32_t>(CeilDiv(count * kEntryBytes, plan.sectorSize));
  const uint64_t dataSectors = uint64_t{plan.miniFatSectors} +
                               plan.directorySectors + plan.miniStreamSectors +
                               regularSectors;

  // The FAT describes itself and the DIFAT too: grow both until they fit.
  uint64_t fatSectors = 0;
  uint64_t difatSectors = 0;
  for (;;) {
    uint64_t total = dataSectors + fatSectors + difatSectors;
    uint64_t fat = CeilDiv(total, plan.perFatSector);
    uint64_t difat =
        fat > kHeaderDifatEntries
            ? CeilDiv(fat - kHeaderDifatEntries, plan.perFatSector - 1)
            : 0;
    if (fat == fatSectors && difat == difatSectors) break;
    fatSectors = fat;
    difatSectors = difat;
  }
  const uint64_t total = dataSectors + fatSectors + difatSectors;
  if (total > kMaxRegularSector) throw std::length_error("file too large");
  plan.fatSectors = static_cast<uint32_t>(fatSectors);
  plan.difatSectors = static_cast<uint32_t>(difatSectors);
  plan.totalSectors = static_cast<uint32_t>(total);
  plan.fileSize = (total + 1) * plan.sectorSize;

  // Sector numbers, in file order, and the FAT with them.
  plan.fat.assign(total, kFreeSector);
  uint32_t next = 0;
  auto allocate = [&](uint64_t sectors, uint32_t mark) -> uint32_t {
    uint32_t first = sectors > 0 ? next : kEndOfChain;
    for (uint64_t i = 0; i < sectors; ++i, ++next)
      plan.fat[next] = mark != 0         ? mark
                       : i + 1 < sectors ? next + 1
                                         : kEndOfChain;
    return first;
  };
  allocate(fatSectors, kFatSectorMark);
  allocate(difatSectors, kDifatSectorMark);
  plan.firstMiniFat = allocate(plan.miniFatSectors, 0);
  plan.firstDirectory = allocate(plan.directorySectors, 0);
  plan.firstMiniStream = allocate(plan.miniStreamSectors, 0);
  plan.start[kRoot] = plan.firstMiniStream;

  plan.miniFat.assign(miniUnits, kFreeSector);
  for (size_t i = 0; i < count; ++i) {
    const Element& element = elements[i];
    if (element.type != kStreamType || units[i] == 0) continue;
    std::vector<uint32_t>& table = IsMini(element) ? plan.miniFat : plan.fat;
    if (IsMini(element)) {
      for (uint64_t u = 0; u < units[i]; ++u)
        table[plan.start[i] + u] =
            u + 1 < units[i] ? plan.start[i] + static_cast<uint32_t>(u) + 1
                             : kEndOfChain;
    } else {
      plan.start[i] = allocate(units[i], 0);
    }
    uint32_t first = plan.start[i];
    uint32_t last = first + static_cast<uint32_t>(units[i]) - 1;
    if (element.loopChain) table[last] = first;
    if (element.chainPastEnd)
      table[first] = IsMini(element) ? plan.miniUnits : plan.totalSectors;
  }

  for (const Element& element : elements) LinkSiblings(element, &plan);
  return plan;
}

std::string CompoundFileWriter::DirectoryEntryBytes(EntryId id,
                                                    const Plan& plan) const {
  std::string entry(kEntryBytes, '\0');
  const Element& element = elements[id];
  for (size_t i = 0; i < element.name.size(); ++i)
    PutU16(&entry, 2 * i, element.name[i]);
  PutU16(&entry, kEntryNameLengthOffset,
         static_cast<uint16_t>((element.name.size() + 1) * 2));
  entry[kEntryTypeOffset] = static_cast<char>(element.type);
  entry[kEntryColorOffset] = static_cast<char>(plan.color[id]);
  PutU32(&entry, kEntryLeftOffset, plan.left[id]);
  PutU32(&entry, kEntryRightOffset, plan.right[id]);
  PutU32(&entry, kEntryChildOffset, plan.child[id]);
  uint64_t size = 0;
  if (element.type == kRootType)
    size = uint64_t{plan.miniUnits} * kMiniSectorBytes;
  else if (element.type == kStreamType)
    size = element.declaredSize.value_or(element.size);
  PutU32(&entry, kEntryStartSectorOffset,
         element.type == kStorageType ? 0 : plan.start[id]);
  PutU64(&entry, kEntrySizeOffset, size);
  return entry;
}

std::string CompoundFileWriter::HeaderBytes(const Plan& plan) const {
  std::string header(kHeaderBytes, '\0');
  std::memcpy(header.data(), kSignature, 8);
  PutU16(&header, kHeaderMinorVersionOffset, kMinorVersion);
  PutU16(&header, kHeaderMajorVersionOffset, static_cast<uint16_t>(version));
  PutU16(&header, kHeaderByteOrderOffset, kByteOrderMark);
  PutU16(&header, kHeaderSectorShiftOffset, static_cast<uint16_t>(sectorShift));
  PutU16(&header, kHeaderMiniSectorShiftOffset, kMiniSectorShift);
  // Version 3 leaves the count of directory sectors 0.
  PutU32(&header, kHeaderDirectorySectorCountOffset,
         version == CompoundFileVersion::k3 ? 0 : plan.directorySectors);
  PutU32(&header, kHeaderFatSectorCountOffset, plan.fatSectors);
  PutU32(&header, kHeaderFirstDirectorySectorOffset, plan.firstDirectory);
  PutU32(&header, kHeaderMiniStreamCutoffOffset,
         static_cast<uint32_t>(kMiniCutoff));
  PutU32(&header, kHeaderFirstMiniFatSectorOffset, plan.firstMiniFat);
  PutU32(&header, kHeaderMiniFatSectorCountOffset, plan.miniFatSectors);
  PutU32(&header, kHeaderFirstDifatSectorOffset,
         plan.difatSectors > 0 ? plan.fatSectors : kEndOfChain);
  PutU32(&header, kHeaderDifatSectorCountOffset, plan.difatSectors);
  for (uint32_t i = 0; i < kHeaderDifatEntries; ++i)
    PutU32(&header, kHeaderDifatOffset + 4 * i,
           i < plan.fatSectors ? i : kFreeSector);
  for (const auto& [offset, bytes] : headerPatches)
    header.replace(offset, bytes.size(), bytes);
  return header;
}

CompoundFileLayout CompoundFileWriter::Layout() const {
  Plan plan = MakePlan();
  CompoundFileLayout layout;
  layout.sectorSize = plan.sectorSize;
  layout.fatSectors = plan.fatSectors;
  layout.difatSectors = plan.difatSectors;
  layout.miniFatSectors = plan.miniFatSectors;
  layout.directorySectors = plan.directorySectors;
  layout.miniStreamSectors = plan.miniStreamSectors;
  layout.totalSectors = plan.totalSectors;
  layout.fileSize = std::min(plan.fileSize, truncation.value_or(UINT64_MAX));
  return layout;
}

void CompoundFileWriter::WriteTo(const ByteSink& sink) const {
  const Plan plan = MakePlan();
  LimitedSink out(sink, truncation.value_or(UINT64_MAX));
  const uint32_t sectorSize = plan.sectorSize;

  std::string header = HeaderBytes(plan);
  out.Write(header.data(), header.size());
  out.WriteZeros(sectorSize - header.size());

  out.WriteTable(plan.fat, uint64_t{plan.fatSectors} * plan.perFatSector);

  // DIFAT sectors list the FAT sectors after the header's 109, each ending
  // with the number of the next DIFAT sector.
  const uint32_t perDifat = plan.perFatSector - 1;
  for (uint32_t d = 0; d < plan.difatSectors; ++d) {
    std::vector<uint32_t> entries(plan.perFatSector, kFreeSector);
    for (uint32_t i = 0; i < perDifat; ++i) {
      uint64_t fatIndex = kHeaderDifatEntries + uint64_t{d} * perDifat + i;
      if (fatIndex < plan.fatSectors)
        entries[i] = static_cast<uint32_t>(fatIndex);
    }
    entries[perDifat] =
        d + 1 < plan.difatSectors ? plan.fatSectors + d + 1 : kEndOfChain;
    out.WriteTable(entries, entries.size());
  }

  out.WriteTable(plan.miniFat,
                 uint64_t{plan.miniFatSectors} * plan.perFatSector);

  for (EntryId id = 0; id < elements.size(); ++id) {
    std::string entry = DirectoryEntryBytes(id, plan);
    out.Write(entry.data(), entry.size());
  }
  const uint64_t unusedEntries =
      uint64_t{plan.directorySectors} * sectorSize / kEntryBytes -
      elements.size();
  for (uint64_t i = 0; i < unusedEntries; ++i) {
    std::string unused(kEntryBytes, '\0');
    PutU32(&unused, kEntryLeftOffset, kNoStream);
    PutU32(&unused, kEntryRightOffset, kNoStream);
    PutU32(&unused, kEntryChildOffset, kNoStream);
    out.Write(unused.data(), unused.size());
  }

  for (const Element& element : elements)
    if (IsMini(element))
      out.WriteContent(element.content, element.size, kMiniSectorBytes);
  out.WriteZeros(uint64_t{plan.miniStreamSectors} * sectorSize -
                 uint64_t{plan.miniUnits} * kMiniSectorBytes);

  for (const Element& element : elements)
    if (element.type == kStreamType && !IsMini(element))
      out.WriteContent(element.content, element.size, sectorSize);
}

std::string CompoundFileWriter::Build() const {
  std::string bytes;
  bytes.reserve(Layout().fileSize);
  WriteTo([&bytes](const char* data, size_t n) { bytes.append(data, n); });
  return bytes;
}

StreamContent PatternContent(uint32_t seed) {
  // One 64-bit mix of the seed and each 8-byte word's index gives that
  // word's bytes, so any piece of the content is made the same way.
  return [seed](uint64_t offset, char* out, size_t n) {
    uint64_t word = offset >> 3;
    size_t skip = static_cast<size_t>(offset & 7);
    for (size_t done = 0; done < n; ++word, skip = 0) {
      uint64_t x = word * 0x9E3779B97F4A7C15ull + seed;
      x ^= x >> 31;
      x *= 0xBF58476D1CE4E5B9ull;
      x ^= x >> 29;
      for (size_t byte = skip; byte < 8 && done < n; ++byte)
        out[done++] = static_cast<char>(x >> (8 * byte));
    }
  };
}

std::string PatternBytes(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  PatternContent(seed)(0, bytes.data(), size);
  return bytes;
}

}  // namespace txtppt2::testing
