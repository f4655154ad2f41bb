#include "properties/property_set_extent.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "properties/bounded_bytes.h"
#include "properties/property_set.h"

namespace txtppt2 {

using namespace property_set_layout;

namespace {

// The window's bytes, read at offsets from the stream's start.
using Window = BoundedBytes;

// The end (from the stream's start) of the bytes one section's properties
// need, or nullopt where the window cannot tell. The section spans
// [start, end) of the stream.
std::optional<uint64_t> SectionExtent(const Window& window, uint64_t start,
                                      uint64_t end) {
  uint64_t size = end - start;
  if (size < kSectionHeaderSize) return end;
  auto declared = window.U32(start + 4);
  if (!declared) return std::nullopt;
  uint64_t count = std::min<uint64_t>(
      *declared, (size - kSectionHeaderSize) / kPropertyEntrySize);
  uint64_t tableEnd = kSectionHeaderSize + count * kPropertyEntrySize;
  if (!window.Has(start, tableEnd)) return std::nullopt;
  std::vector<uint32_t> offsets;
  offsets.reserve(count);
  for (uint64_t i = 0; i < count; ++i)
    offsets.push_back(
        *window.U32(start + kSectionHeaderSize + i * kPropertyEntrySize + 4));
  std::vector<uint32_t> sorted = offsets;
  std::sort(sorted.begin(), sorted.end());
  uint64_t extent = start + tableEnd;
  for (uint64_t i = 0; i < count; ++i) {
    uint32_t id =
        *window.U32(start + kSectionHeaderSize + i * kPropertyEntrySize);
    uint64_t offset = offsets[i];
    if (offset >= size) continue;  // no bytes to read
    auto next = std::upper_bound(sorted.begin(), sorted.end(), offset);
    uint64_t runEnd =
        next == sorted.end() ? size : std::min<uint64_t>(*next, size);
    uint64_t need = runEnd;
    if (id != kDictionaryPropertyId) {
      auto type = window.U16(start + offset);
      if (type && !DecodesValueType(*type))
        need = std::min(offset + kValueHeaderSize, size);
    }
    extent = std::max(extent, start + need);
  }
  return extent;
}

}  // namespace

uint64_t PropertySetExtent(std::string_view bytes, uint64_t streamSize) {
  if (bytes.size() >= streamSize) return streamSize;
  Window window(bytes);
  auto mark = window.U16(0);
  auto declared = window.U32(kSectionCountOffset);
  if (!mark || !declared) return streamSize;
  if (*mark != kByteOrderMark) return kHeaderSize;
  uint64_t count = std::min<uint64_t>(
      {*declared, (streamSize - kHeaderSize) / kSectionEntrySize,
       kMaxSections});
  uint64_t extent = kHeaderSize + count * kSectionEntrySize;
  if (!window.Has(0, extent)) return streamSize;
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t start = *window.U32(kHeaderSize + i * kSectionEntrySize + 16);
    if (start + 4 > streamSize) continue;  // no section there
    auto size = window.U32(start);
    if (!size) return streamSize;
    extent = std::max(extent, start + 4);
    if (*size < kSectionHeaderSize) continue;
    auto section =
        SectionExtent(window, start, std::min(start + *size, streamSize));
    if (!section) return streamSize;
    extent = std::max(extent, *section);
  }
  return extent;
}

}  // namespace txtppt2
