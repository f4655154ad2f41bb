// Reading of the FAT: its sector numbers come from the header's DIFAT and
// then from the chain of DIFAT sectors ([MS-CFB] 2.5), and only as many FAT
// sectors are read as the file has sectors to describe.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_FAT_LOADER_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_FAT_LOADER_H_

#include <cstdint>

#include "platform/windows.h"
#include "platform/compound_file/allocation_table.h"
#include "platform/compound_file/byte_source.h"
#include "platform/compound_file/file_header.h"

namespace txtppt2 {

// Reads the FAT of a file of sectorCount sectors into *fat, which then has
// at most sectorCount entries. STG_E_DOCFILECORRUPT when the file has no
// FAT, or when a FAT or DIFAT sector it needs lies beyond the end of the
// file. A DIFAT that ends early (a free or end-of-chain marker, a DIFAT
// loop, fewer DIFAT sectors than the FAT needs) leaves the FAT shorter:
// chains through the sectors it no longer covers end there. Throws
// std::bad_alloc when memory runs out.
HRESULT LoadFat(ByteSource& source, const FileHeader& header,
                uint32_t sectorCount, AllocationTable* fat);

// The file offset of regular sector number sector: sector 0 follows the
// header's sector.
inline uint64_t SectorOffset(uint32_t sector, uint32_t sectorShift) {
  return (uint64_t{sector} + 1) << sectorShift;
}

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_FAT_LOADER_H_
