#include "platform/compound_file/mini_stream.h"

#include <algorithm>
#include <cassert>
#include <span>

#include "platform/compound_file/fat_loader.h"
#include "platform/compound_file/file_header.h"
#include "platform/compound_file/little_endian.h"

namespace txtppt2 {

MiniStream::MiniStream(ByteSource& source, const AllocationTable& fat,
                       uint32_t sectorShift_, uint32_t sectorCount,
                       uint32_t firstMiniFatSector, uint32_t rootStart,
                       uint64_t rootSize)
    : sectorShift(sectorShift_) {
  const uint32_t sectorSize = uint32_t{1} << sectorShift;
  sectors =
      fat.Chain(rootStart, UnitsToHold(rootSize, sectorShift), sectorCount);
  // The mini stream is as long as the root says, or as its chain reaches.
  uint64_t bytes =
      std::min<uint64_t>(rootSize, uint64_t{sectors.size()} << sectorShift);
  miniSectorCount = static_cast<uint32_t>(std::min<uint64_t>(
      UnitsToHold(bytes, kMiniSectorShift), uint64_t{kMaxRegularSector} + 1));
  if (miniSectorCount == 0) return;

  // One MiniFAT entry per mini sector; more would describe nothing.
  uint64_t miniFatSectors =
      UnitsToHold(uint64_t{miniSectorCount} * 4, sectorShift);
  std::vector<uint32_t> miniFatChain =
      fat.Chain(firstMiniFatSector, miniFatSectors, sectorCount);
  std::vector<uint32_t> entries;
  entries.reserve(std::min<uint64_t>(
      miniSectorCount, uint64_t{miniFatChain.size()} * sectorSize / 4));
  std::vector<uint8_t> buffer(sectorSize);
  for (uint32_t sector : miniFatChain) {
    size_t got = source.ReadAt(SectorOffset(sector, sectorShift), buffer.data(),
                               sectorSize);
    std::span<const uint8_t> read(buffer.data(), got);
    for (size_t offset = 0;
         offset + 4 <= got && entries.size() < miniSectorCount; offset += 4)
      entries.push_back(LoadLittleEndian<uint32_t>(read, offset));
    if (got < sectorSize) break;  // the rest of the MiniFAT is gone
  }
  miniFat = AllocationTable(std::move(entries));
}

uint64_t MiniStream::FileOffset(uint32_t miniSector) const {
  assert(miniSector < miniSectorCount);
  uint64_t position = uint64_t{miniSector} * kMiniSectorSize;
  uint64_t mask = (uint64_t{1} << sectorShift) - 1;
  return SectorOffset(sectors[position >> sectorShift], sectorShift) +
         (position & mask);
}

}  // namespace txtppt2
