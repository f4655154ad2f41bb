// DirectoryEntry: one decoded 128-byte entry of the directory ([MS-CFB]
// 2.6): what the reader uses of it.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_DIRECTORY_ENTRY_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_DIRECTORY_ENTRY_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/windows.h"

namespace txtppt2 {

constexpr size_t kDirectoryEntrySize = 128;
constexpr size_t kEntryNameOffset = 0x00;
constexpr size_t kEntryNameLengthOffset = 0x40;  // bytes, with the NUL
constexpr size_t kEntryTypeOffset = 0x42;
constexpr size_t kEntryLeftSiblingOffset = 0x44;
constexpr size_t kEntryRightSiblingOffset = 0x48;
constexpr size_t kEntryChildOffset = 0x4C;
constexpr size_t kEntryStartSectorOffset = 0x74;
constexpr size_t kEntryStreamSizeOffset = 0x78;

// A name holds at most 31 units before its NUL.
constexpr size_t kMaxEntryNameUnits = 31;

// Object types.
constexpr uint8_t kStorageObject = 1;
constexpr uint8_t kStreamObject = 2;
constexpr uint8_t kRootStorageObject = 5;

// The sibling or child number that names no entry.
constexpr uint32_t kNoStream = 0xFFFFFFFF;

struct DirectoryEntry {
  char16_t name[kMaxEntryNameUnits + 1] = {};
  uint32_t nameUnits{};
  uint8_t type{};
  uint32_t leftSibling = kNoStream;
  uint32_t rightSibling = kNoStream;
  uint32_t child = kNoStream;
  uint32_t startSector{};
  // All 64 bits as written; version 3 files use only the low 32 (see
  // CompoundFile::StreamSize).
  uint64_t declaredSize{};

  std::u16string_view Name() const { return {name, nameUnits}; }

  // Decodes the kDirectoryEntrySize bytes of one entry. The name is what the
  // name length field covers (at most 31 units, a final odd byte dropped),
  // cut at an earlier NUL.
  static DirectoryEntry Decode(std::span<const uint8_t> bytes);
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_DIRECTORY_ENTRY_H_
