// MiniStream: the mini stream, where streams under 4096 bytes keep their
// data in 64-byte mini sectors, and the MiniFAT that chains them
// ([MS-CFB] 2.4). The mini stream itself is an ordinary chain of sectors
// starting at the root entry's start sector, as long as the root's size.
//
// Owns the mini stream's sector chain and the MiniFAT, both bounded by the
// size of the file.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_MINI_STREAM_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_MINI_STREAM_H_

#include <cstdint>
#include <vector>

#include "platform/compound_file/allocation_table.h"
#include "platform/compound_file/byte_source.h"

namespace txtppt2 {

class MiniStream {
 public:
  // Reads the MiniFAT from its chain starting at firstMiniFatSector and
  // maps the mini stream (rootStart, rootSize). Never fails: where a chain
  // ends early the mini stream has fewer mini sectors, and streams that
  // reach past them read short. Throws std::bad_alloc when memory runs out.
  MiniStream(ByteSource& source, const AllocationTable& fat,
             uint32_t sectorShift, uint32_t sectorCount,
             uint32_t firstMiniFatSector, uint32_t rootStart,
             uint64_t rootSize);

  // How many mini sectors the mini stream holds.
  uint32_t SectorCount() const { return miniSectorCount; }

  const AllocationTable& MiniFat() const { return miniFat; }

  // The file offset of mini sector miniSector.
  // REQUIRES: miniSector < SectorCount()
  uint64_t FileOffset(uint32_t miniSector) const;

 private:
  std::vector<uint32_t> sectors;  // the mini stream's regular sectors
  AllocationTable miniFat;
  uint32_t sectorShift;
  uint32_t miniSectorCount{};
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_MINI_STREAM_H_
