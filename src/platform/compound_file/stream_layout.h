// StreamLayout: where the bytes of one stream lie in the file. A stream is a
// chain of units, sectors for a regular stream and mini sectors for a small
// one; unit i holds the stream's bytes from i << UnitShift().
//
// Owns the chain. A small stream's layout points into the file's
// MiniStream, which must outlive it (streams keep their CompoundFile alive).
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_STREAM_LAYOUT_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_STREAM_LAYOUT_H_

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/compound_file/fat_loader.h"
#include "platform/compound_file/mini_stream.h"

namespace txtppt2 {

class StreamLayout {
 public:
  StreamLayout() = default;
  // A regular stream: units are sectors of 1 << sectorShift bytes.
  StreamLayout(std::vector<uint32_t> sectors, uint32_t sectorShift)
      : units(std::move(sectors)), unitShift(sectorShift) {}
  // A small stream: units are mini sectors of miniStream.
  StreamLayout(std::vector<uint32_t> miniSectors, const MiniStream* mini,
               uint32_t miniSectorShift)
      : units(std::move(miniSectors)),
        unitShift(miniSectorShift),
        miniStream(mini) {}

  uint32_t UnitShift() const { return unitShift; }
  size_t UnitCount() const { return units.size(); }

  // How many bytes the chain can hold.
  uint64_t Capacity() const { return uint64_t{units.size()} << unitShift; }

  // The file offset of unit index.
  // REQUIRES: index < UnitCount()
  uint64_t UnitOffset(size_t index) const {
    assert(index < units.size());
    return miniStream != nullptr ? miniStream->FileOffset(units[index])
                                 : SectorOffset(units[index], unitShift);
  }

  // How many units from index on lie back to back in the file, at least 1
  // and at most maxUnits (and no further than the chain).
  // REQUIRES: index < UnitCount()
  size_t ContiguousUnits(size_t index, size_t maxUnits) const {
    assert(index < units.size());
    const uint64_t unitSize = uint64_t{1} << unitShift;
    size_t count = 1;
    uint64_t expected = UnitOffset(index) + unitSize;
    while (count < maxUnits && index + count < units.size() &&
           UnitOffset(index + count) == expected) {
      ++count;
      expected += unitSize;
    }
    return count;
  }

 private:
  std::vector<uint32_t> units;
  uint32_t unitShift{};
  const MiniStream* miniStream = nullptr;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_STREAM_LAYOUT_H_
