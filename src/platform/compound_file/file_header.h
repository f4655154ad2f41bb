// FileHeader: the fields of a compound file's header that the reader uses,
// decoded and checked ([MS-CFB] 2.2).
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_FILE_HEADER_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_FILE_HEADER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace txtppt2 {

// The header's bytes; in version 4 the rest of its 4096-byte sector is
// padding.
constexpr size_t kHeaderSize = 512;
constexpr std::array<uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0,
                                               0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kSignatureOffset = 0x00;
constexpr size_t kMajorVersionOffset = 0x1A;
constexpr size_t kByteOrderOffset = 0x1C;
constexpr size_t kSectorShiftOffset = 0x1E;
constexpr size_t kMiniSectorShiftOffset = 0x20;
constexpr size_t kFatSectorCountOffset = 0x2C;
constexpr size_t kFirstDirectorySectorOffset = 0x30;
constexpr size_t kFirstMiniFatSectorOffset = 0x3C;
constexpr size_t kFirstDifatSectorOffset = 0x44;
constexpr size_t kDifatSectorCountOffset = 0x48;
constexpr size_t kHeaderDifatOffset = 0x4C;
constexpr size_t kHeaderDifatEntries = 109;

constexpr uint16_t kByteOrderMark = 0xFFFE;
constexpr uint16_t kVersion3 = 3;
constexpr uint16_t kVersion4 = 4;
constexpr uint16_t kVersion3SectorShift = 9;   // 512-byte sectors
constexpr uint16_t kVersion4SectorShift = 12;  // 4096-byte sectors
constexpr uint16_t kMiniSectorShift = 6;       // 64-byte mini sectors
constexpr uint32_t kMiniSectorSize = 1u << kMiniSectorShift;

// Streams smaller than this live in the mini stream. The header repeats the
// value (offset 0x38), but the format fixes it: files that declare another
// value exist, and they are read as if they said 4096.
constexpr uint64_t kMiniStreamCutoff = 4096;

struct FileHeader {
  uint16_t majorVersion{};
  uint32_t sectorShift{};
  uint32_t fatSectorCount{};
  uint32_t firstDirectorySector{};
  uint32_t firstMiniFatSector{};
  uint32_t firstDifatSector{};
  uint32_t difatSectorCount{};
  // The first FAT sector numbers, kept in the header itself.
  std::array<uint32_t, kHeaderDifatEntries> difat{};

  uint32_t SectorSize() const { return uint32_t{1} << sectorShift; }

  // Decodes the header from the first kHeaderSize bytes of a file. Nothing
  // when they do not start a compound file this reader knows: a wrong
  // signature, byte order mark or mini sector shift, a version other than 3
  // or 4, or a sector shift that does not belong to the version.
  static std::optional<FileHeader> Parse(std::span<const uint8_t> bytes);
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_FILE_HEADER_H_
