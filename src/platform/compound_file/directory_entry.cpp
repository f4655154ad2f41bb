#include "platform/compound_file/directory_entry.h"

#include "platform/compound_file/little_endian.h"

namespace txtppt2 {

DirectoryEntry DirectoryEntry::Decode(std::span<const uint8_t> bytes) {
  DirectoryEntry entry;
  uint32_t nameBytes =
      LoadLittleEndian<uint16_t>(bytes, kEntryNameLengthOffset);
  uint32_t units = nameBytes >= 2 ? (nameBytes - 2) / 2 : 0;
  if (units > kMaxEntryNameUnits) units = kMaxEntryNameUnits;
  while (entry.nameUnits < units) {
    char16_t unit = LoadLittleEndian<uint16_t>(
        bytes, kEntryNameOffset + 2 * entry.nameUnits);
    if (unit == 0) break;
    entry.name[entry.nameUnits++] = unit;
  }
  entry.type = LoadLittleEndian<uint8_t>(bytes, kEntryTypeOffset);
  entry.leftSibling =
      LoadLittleEndian<uint32_t>(bytes, kEntryLeftSiblingOffset);
  entry.rightSibling =
      LoadLittleEndian<uint32_t>(bytes, kEntryRightSiblingOffset);
  entry.child = LoadLittleEndian<uint32_t>(bytes, kEntryChildOffset);
  entry.startSector =
      LoadLittleEndian<uint32_t>(bytes, kEntryStartSectorOffset);
  entry.declaredSize =
      LoadLittleEndian<uint64_t>(bytes, kEntryStreamSizeOffset);
  return entry;
}

}  // namespace txtppt2
