// AllocationTable: the FAT or the MiniFAT, one entry per sector (or mini
// sector) naming the next one in its chain ([MS-CFB] 2.3, 2.5), and the walk
// along a chain.
//
// Owns its entries; knows nothing of where they were read from.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_ALLOCATION_TABLE_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_ALLOCATION_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace txtppt2 {

// Sector numbers above kMaxRegularSector are markers, never sectors (the
// FAT's and DIFAT's own sectors are marked too, and end a chain as any
// marker does).
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;

// How many units of 1 << shift bytes it takes to hold bytes bytes, without
// overflowing for any declared size.
inline uint64_t UnitsToHold(uint64_t bytes, uint32_t shift) {
  return (bytes >> shift) + ((bytes & ((uint64_t{1} << shift) - 1)) != 0);
}

class AllocationTable {
 public:
  AllocationTable() = default;
  explicit AllocationTable(std::vector<uint32_t> entries_)
      : entries(std::move(entries_)) {}

  size_t Size() const { return entries.size(); }

  // The sector after sector in its chain; kEndOfChain for a sector the
  // table does not cover.
  uint32_t Next(uint32_t sector) const {
    return sector < entries.size() ? entries[sector] : kEndOfChain;
  }

  // The chain that starts at first, at most maxLength long. The walk stops
  // at the end of the chain, at a number not below unitCount (markers
  // included: unitCount never exceeds kMaxRegularSector + 1) and at a sector
  // the chain already holds, so it ends after at most unitCount steps
  // whatever the table says; the result never holds more than unitCount
  // entries, however long a length a damaged file declares.
  // REQUIRES: unitCount <= kMaxRegularSector + 1
  std::vector<uint32_t> Chain(uint32_t first, uint64_t maxLength,
                              uint32_t unitCount) const;

 private:
  std::vector<uint32_t> entries;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_ALLOCATION_TABLE_H_
