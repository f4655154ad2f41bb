#include "platform/compound_file/fat_loader.h"

#include <algorithm>
#include <memory>
#include <span>
#include <vector>

#include "platform/compound_file/little_endian.h"

namespace txtppt2 {

namespace {

// FAT sectors that lie back to back are read together, this much at a time.
constexpr size_t kFatReadBytes = 64 * 1024;

// Lists the sector numbers of the first `wanted` FAT sectors, from the
// header and then the DIFAT sectors. Returns false when one of them, or a
// DIFAT sector on the way, lies beyond the file; stops early, returning
// true, where the DIFAT ends.
bool ListFatSectors(ByteSource& source, const FileHeader& header,
                    uint32_t sectorCount, uint64_t wanted,
                    std::vector<uint32_t>* fatSectors) {
  const uint32_t sectorSize = header.SectorSize();
  // Each DIFAT sector holds this many FAT sector numbers, then the number
  // of the next DIFAT sector.
  const uint32_t perDifatSector = sectorSize / 4 - 1;
  std::vector<uint8_t> difatBytes;
  std::vector<bool> seenDifat;
  uint32_t nextDifat = header.firstDifatSector;
  uint32_t difatSectorsRead = 0;
  size_t inDifatSector = perDifatSector;  // no DIFAT sector read yet

  while (fatSectors->size() < wanted) {
    uint32_t sector;
    if (fatSectors->size() < kHeaderDifatEntries) {
      sector = header.difat[fatSectors->size()];
    } else {
      if (inDifatSector == perDifatSector) {
        // The header bounds the DIFAT chain, and a DIFAT loop ends it.
        if (difatSectorsRead == header.difatSectorCount) return true;
        if (nextDifat > kMaxRegularSector) return true;
        if (nextDifat >= sectorCount) return false;
        if (seenDifat.empty()) seenDifat.resize(sectorCount);
        if (seenDifat[nextDifat]) return true;
        seenDifat[nextDifat] = true;
        difatBytes.assign(sectorSize, 0xFF);
        source.ReadAt(SectorOffset(nextDifat, header.sectorShift),
                      difatBytes.data(), sectorSize);
        ++difatSectorsRead;
        nextDifat =
            LoadLittleEndian<uint32_t>(difatBytes, size_t{perDifatSector} * 4);
        inDifatSector = 0;
      }
      sector = LoadLittleEndian<uint32_t>(difatBytes, inDifatSector * 4);
      ++inDifatSector;
    }
    if (sector > kMaxRegularSector) return true;  // the DIFAT ends here
    if (sector >= sectorCount) return false;
    fatSectors->push_back(sector);
  }
  return true;
}

}  // namespace

HRESULT LoadFat(ByteSource& source, const FileHeader& header,
                uint32_t sectorCount, AllocationTable* fat) {
  const uint32_t sectorSize = header.SectorSize();
  const uint32_t perFatSector = sectorSize / 4;
  // Only the FAT sectors that describe sectors of this file matter; the
  // declared count is believed only up to that.
  uint64_t needed = (uint64_t{sectorCount} + perFatSector - 1) / perFatSector;
  uint64_t wanted = std::min<uint64_t>(needed, header.fatSectorCount);

  std::vector<uint32_t> fatSectors;
  if (!ListFatSectors(source, header, sectorCount, wanted, &fatSectors) ||
      fatSectors.empty())
    return STG_E_DOCFILECORRUPT;

  std::vector<uint32_t> entries;
  entries.reserve(std::min<uint64_t>(fatSectors.size() * uint64_t{perFatSector},
                                     sectorCount));
  // Not zeroed: every byte used is read or filled below.
  const size_t bufferSize = std::max<size_t>(kFatReadBytes, sectorSize);
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[bufferSize]);
  const size_t sectorsPerRead = bufferSize / sectorSize;
  for (size_t i = 0; i < fatSectors.size() && entries.size() < sectorCount;) {
    size_t run = 1;
    while (run < sectorsPerRead && i + run < fatSectors.size() &&
           fatSectors[i + run] == fatSectors[i] + run)
      ++run;
    size_t bytes = run * sectorSize;
    size_t got = source.ReadAt(SectorOffset(fatSectors[i], header.sectorShift),
                               buffer.get(), bytes);
    // A FAT sector cut off by the end of the file ends its chains early.
    std::fill(buffer.get() + got, buffer.get() + bytes, 0xFF);
    const size_t take = std::min<size_t>(bytes / 4, sectorCount - entries.size());
    const size_t at = entries.size();
    entries.resize(at + take);
    LoadLittleEndianU32s(std::span<const uint8_t>(buffer.get(), bytes),
                         entries.data() + at, take);
    i += run;
  }
  *fat = AllocationTable(std::move(entries));
  return S_OK;
}

}  // namespace txtppt2
