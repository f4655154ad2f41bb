#include "identify/compound_file_access.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

#include "platform/compound_file/allocation_table.h"
#include "platform/compound_file/directory_entry.h"
#include "platform/compound_file/fat_loader.h"
#include "platform/compound_file/file_header.h"

namespace txtppt2 {
namespace {

constexpr uint64_t kMaxPaddingFactor = 8;
constexpr uint64_t kMaxPaddingExtra = uint64_t{1} << 20;

// Reads its source and, past its end up to a larger size, zero bytes.
class ZeroPaddedByteSource final : public ByteSource {
 public:
  ZeroPaddedByteSource(std::unique_ptr<ByteSource> inner_, uint64_t paddedSize)
      : ByteSource(paddedSize), inner(std::move(inner_)) {}
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= Size()) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, Size() - offset));
    size_t read =
        offset < inner->Size() ? inner->ReadAt(offset, buffer, count) : 0;
    std::memset(static_cast<uint8_t*>(buffer) + read, 0, count - read);
    return count;
  }

 private:
  std::unique_ptr<ByteSource> inner;
};

// The end of the last sector the header itself names: the FAT sectors it
// lists and the first directory sector. A sound file reaches that far.
uint64_t SizeTheHeaderNames(const FileHeader& header) {
  uint64_t size = 0;
  auto reach = [&](uint32_t sector) {
    if (sector <= kMaxRegularSector)
      size = std::max(
          size, SectorOffset(sector, header.sectorShift) + header.SectorSize());
  };
  for (uint32_t sector : header.difat) reach(sector);
  reach(header.firstDirectorySector);
  return size;
}

// How large the file was when its FAT was written, at most: the sectors its
// FAT sectors can describe.
uint64_t SizeTheFatDescribes(const FileHeader& header) {
  const uint64_t sectorSize = header.SectorSize();
  return (uint64_t{header.fatSectorCount} * (sectorSize / 4) + 1) * sectorSize;
}

}  // namespace

size_t SpanByteSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
  if (offset >= bytes.size()) return 0;
  count = static_cast<size_t>(std::min<uint64_t>(count, bytes.size() - offset));
  std::memcpy(buffer, bytes.data() + offset, count);
  return count;
}

std::optional<OpenedCompoundFile> OpenCompoundFile(
    const std::function<std::unique_ptr<ByteSource>()>& openSource) {
  std::unique_ptr<ByteSource> source = openSource();
  if (!source) return std::nullopt;
  OpenedCompoundFile opened;
  opened.realSize = source->Size();
  std::array<uint8_t, kHeaderSize> headerBytes{};
  const size_t headerRead = source->ReadAt(0, headerBytes.data(), kHeaderSize);
  std::optional<FileHeader> header =
      headerRead == kHeaderSize ? FileHeader::Parse(headerBytes) : std::nullopt;
  if (!header) return std::nullopt;

  opened.cutShort = SizeTheHeaderNames(*header) > opened.realSize;
  if (SUCCEEDED(CompoundFile::Open(std::move(source), &opened.file)))
    return opened;
  // The retry, as if the file went on with zero bytes.
  opened.cutShort = true;
  source = openSource();
  if (!source) return std::nullopt;
  const uint64_t cap = opened.realSize * kMaxPaddingFactor + kMaxPaddingExtra;
  const uint64_t padded = std::min(
      cap, std::max(SizeTheHeaderNames(*header), SizeTheFatDescribes(*header)));
  if (padded <= opened.realSize) return std::nullopt;
  source = std::make_unique<ZeroPaddedByteSource>(std::move(source), padded);
  if (FAILED(CompoundFile::Open(std::move(source), &opened.file)))
    return std::nullopt;
  return opened;
}

std::optional<RootStream> ReadRootStream(OpenedCompoundFile& opened,
                                         std::u16string_view name) {
  CompoundFile& file = *opened.file;
  std::optional<uint32_t> id = file.FindRootStream(name);
  DirectoryEntry entry;
  if (!id || !file.ReadEntry(*id, &entry)) return std::nullopt;
  RootStream stream;
  stream.layout = file.LayoutOf(entry);
  const uint64_t size = file.StreamSize(entry);
  const uint64_t unitSize = uint64_t{1} << stream.layout.UnitShift();
  stream.whole = stream.layout.Capacity() >= size;
  // The chain holds at most the file's sectors, so this is bounded by the
  // (padded) file's size.
  stream.bytes.resize(
      static_cast<size_t>(std::min(size, stream.layout.Capacity())));
  // Units that lie back to back in the file are read in one call; a run
  // that reaches past the file's real end is cut at the unit before it.
  constexpr size_t kMaxRunUnits = 256;
  size_t i = 0;
  while (i * unitSize < stream.bytes.size()) {
    const uint64_t at = i * unitSize;
    const size_t run = stream.layout.ContiguousUnits(i, kMaxRunUnits);
    const size_t count = static_cast<size_t>(
        std::min<uint64_t>(run * unitSize, stream.bytes.size() - at));
    const uint64_t offset = stream.layout.UnitOffset(i);
    const uint64_t inFile =
        offset < opened.realSize
            ? std::min<uint64_t>(count, opened.realSize - offset)
            : 0;
    const size_t read =
        inFile == 0 ? 0
                    : file.Source().ReadAt(offset, stream.bytes.data() + at,
                                           static_cast<size_t>(inFile));
    if (read != count) {
      stream.bytes.resize(at + read / unitSize * unitSize);
      stream.whole = false;
      break;
    }
    i += run;
  }
  return stream;
}

void WriteRootStream(const StreamLayout& layout, std::span<const uint8_t> bytes,
                     std::span<uint8_t> image) {
  const uint64_t unitSize = uint64_t{1} << layout.UnitShift();
  for (size_t i = 0; i < layout.UnitCount() && i * unitSize < bytes.size();
       ++i) {
    const uint64_t at = i * unitSize;
    const uint64_t offset = layout.UnitOffset(i);
    const uint64_t count = std::min(unitSize, bytes.size() - at);
    if (offset > image.size() || image.size() - offset < count) return;
    std::memcpy(image.data() + offset, bytes.data() + at, count);
  }
}

}  // namespace txtppt2
