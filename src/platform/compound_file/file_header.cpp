#include "platform/compound_file/file_header.h"

#include <algorithm>

#include "platform/compound_file/little_endian.h"

namespace txtppt2 {

std::optional<FileHeader> FileHeader::Parse(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  if (!std::equal(kSignature.begin(), kSignature.end(),
                  bytes.begin() + kSignatureOffset))
    return std::nullopt;
  if (LoadLittleEndian<uint16_t>(bytes, kByteOrderOffset) != kByteOrderMark)
    return std::nullopt;
  if (LoadLittleEndian<uint16_t>(bytes, kMiniSectorShiftOffset) !=
      kMiniSectorShift)
    return std::nullopt;

  FileHeader header;
  header.majorVersion = LoadLittleEndian<uint16_t>(bytes, kMajorVersionOffset);
  uint16_t sectorShift = LoadLittleEndian<uint16_t>(bytes, kSectorShiftOffset);
  if (!(header.majorVersion == kVersion3 &&
        sectorShift == kVersion3SectorShift) &&
      !(header.majorVersion == kVersion4 &&
        sectorShift == kVersion4SectorShift))
    return std::nullopt;
  header.sectorShift = sectorShift;
  header.fatSectorCount =
      LoadLittleEndian<uint32_t>(bytes, kFatSectorCountOffset);
  header.firstDirectorySector =
      LoadLittleEndian<uint32_t>(bytes, kFirstDirectorySectorOffset);
  header.firstMiniFatSector =
      LoadLittleEndian<uint32_t>(bytes, kFirstMiniFatSectorOffset);
  header.firstDifatSector =
      LoadLittleEndian<uint32_t>(bytes, kFirstDifatSectorOffset);
  header.difatSectorCount =
      LoadLittleEndian<uint32_t>(bytes, kDifatSectorCountOffset);
  for (size_t i = 0; i < kHeaderDifatEntries; ++i)
    header.difat[i] =
        LoadLittleEndian<uint32_t>(bytes, kHeaderDifatOffset + 4 * i);
  return header;
}

}  // namespace txtppt2
