#include "platform/compound_file/compound_file.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/compound_file/entry_name.h"
#include "platform/compound_file/fat_loader.h"

namespace txtppt2 {

namespace {

// The number of sectors that start inside a file of size bytes: the header
// takes the first sector's worth, and a final partial sector counts (it
// reads short). Sector numbers end at kMaxRegularSector.
uint32_t CountSectors(uint64_t size, uint32_t sectorShift) {
  const uint64_t sectorSize = uint64_t{1} << sectorShift;
  if (size <= sectorSize) return 0;
  uint64_t count = UnitsToHold(size - sectorSize, sectorShift);
  return static_cast<uint32_t>(
      std::min<uint64_t>(count, uint64_t{kMaxRegularSector} + 1));
}

}  // namespace

HRESULT CompoundFile::Open(std::unique_ptr<ByteSource> source,
                           std::shared_ptr<CompoundFile>* out) {
  if (source->Size() < kHeaderSize) return STG_E_FILEALREADYEXISTS;
  std::array<uint8_t, kHeaderSize> headerBytes;
  if (source->ReadAt(0, headerBytes.data(), kHeaderSize) != kHeaderSize)
    return STG_E_FILEALREADYEXISTS;
  std::optional<FileHeader> header = FileHeader::Parse(headerBytes);
  if (!header) return STG_E_FILEALREADYEXISTS;

  uint32_t sectorCount = CountSectors(source->Size(), header->sectorShift);
  AllocationTable fat;
  HRESULT hr = LoadFat(*source, *header, sectorCount, &fat);
  if (FAILED(hr)) return hr;
  std::vector<uint32_t> directorySectors =
      fat.Chain(header->firstDirectorySector, sectorCount, sectorCount);
  if (directorySectors.empty()) return STG_E_DOCFILECORRUPT;

  std::shared_ptr<CompoundFile> file(
      new CompoundFile(std::move(source), *header, sectorCount, std::move(fat),
                       std::move(directorySectors)));
  if (!file->directory.Read(0, &file->root) ||
      file->root.type != kRootStorageObject)
    return STG_E_DOCFILECORRUPT;
  DirectoryEntry entry;
  for (uint32_t id : file->directory.Children(0, file->root.child)) {
    // Entries of other types (unused, or damaged) are not elements.
    if (file->directory.Read(id, &entry) &&
        (entry.type == kStorageObject || entry.type == kStreamObject))
      file->rootChildren.push_back(id);
  }
  *out = std::move(file);
  return S_OK;
}

CompoundFile::CompoundFile(std::unique_ptr<ByteSource> source_,
                           const FileHeader& header_, uint32_t sectorCount_,
                           AllocationTable fat_,
                           std::vector<uint32_t> directorySectors)
    : source(std::move(source_)),
      header(header_),
      sectorCount(sectorCount_),
      fat(std::move(fat_)),
      directory(*source, std::move(directorySectors), header.sectorShift) {}

std::optional<uint32_t> CompoundFile::FindRootStream(std::u16string_view name) {
  DirectoryEntry entry;
  for (uint32_t id : rootChildren) {
    if (directory.Read(id, &entry) && entry.type == kStreamObject &&
        EntryNamesEqual(entry.Name(), name))
      return id;
  }
  return std::nullopt;
}

std::optional<uint32_t> CompoundFile::FindChildOf(uint32_t storageId,
                                                  std::u16string_view name,
                                                  uint8_t type) {
  DirectoryEntry entry;
  // The root's children were listed when the file was opened.
  std::vector<uint32_t> listed;
  if (storageId != 0) {
    if (!directory.Read(storageId, &entry)) return std::nullopt;
    listed = directory.Children(storageId, entry.child);
  }
  for (uint32_t id : storageId != 0 ? listed : rootChildren) {
    if (directory.Read(id, &entry) && entry.type == type &&
        EntryNamesEqual(entry.Name(), name))
      return id;
  }
  return std::nullopt;
}

uint64_t CompoundFile::StreamSize(const DirectoryEntry& entry) const {
  if (header.majorVersion == kVersion3) return entry.declaredSize & 0xFFFFFFFFu;
  return entry.declaredSize;
}

const MiniStream& CompoundFile::Mini() {
  if (!miniStream)
    miniStream = std::make_unique<MiniStream>(
        *source, fat, header.sectorShift, sectorCount,
        header.firstMiniFatSector, root.startSector, StreamSize(root));
  return *miniStream;
}

StreamLayout CompoundFile::LayoutOf(const DirectoryEntry& stream) {
  uint64_t size = StreamSize(stream);
  if (size < kMiniStreamCutoff) {
    const MiniStream& mini = Mini();
    return StreamLayout(
        mini.MiniFat().Chain(stream.startSector,
                             UnitsToHold(size, kMiniSectorShift),
                             mini.SectorCount()),
        &mini, kMiniSectorShift);
  }
  return StreamLayout(
      fat.Chain(stream.startSector, UnitsToHold(size, header.sectorShift),
                sectorCount),
      header.sectorShift);
}

}  // namespace txtppt2
