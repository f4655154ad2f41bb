#include "platform/compound_file/directory.h"

#include <algorithm>
#include <span>
#include <utility>

#include "platform/compound_file/fat_loader.h"

namespace txtppt2 {

Directory::Directory(ByteSource& source_, std::vector<uint32_t> sectors_,
                     uint32_t sectorShift_)
    : source(source_),
      sectors(std::move(sectors_)),
      sectorShift(sectorShift_),
      // Ids are 32 bits and kNoStream names no entry: the directory ends
      // there however long its chain, at every width of size_t.
      entryCount(std::min<uint64_t>(
          (uint64_t{sectors.size()} << sectorShift) / kDirectoryEntrySize,
          kNoStream)),
      cache(size_t{1} << sectorShift) {}

bool Directory::Read(uint32_t id, DirectoryEntry* entry) {
  if (id >= entryCount) return false;
  const uint64_t entriesPerSector = cache.size() / kDirectoryEntrySize;
  const uint64_t index = id / entriesPerSector;
  if (index != cachedIndex) {
    cachedIndex = index;
    cachedBytes = source.ReadAt(SectorOffset(sectors[index], sectorShift),
                                cache.data(), cache.size());
  }
  size_t offset = (id % entriesPerSector) * kDirectoryEntrySize;
  if (cachedBytes < offset + kDirectoryEntrySize) return false;
  *entry = DirectoryEntry::Decode(
      std::span<const uint8_t>(cache.data() + offset, kDirectoryEntrySize));
  return true;
}

std::vector<uint32_t> Directory::Children(uint32_t parentId,
                                          uint32_t firstChild) {
  std::vector<uint32_t> children;
  std::vector<bool> taken(entryCount);
  if (parentId < entryCount) taken[parentId] = true;
  // Entries whose left subtree is being walked, with their right sibling.
  std::vector<std::pair<uint32_t, uint32_t>> pending;
  auto descendLeft = [&](uint32_t id) {
    DirectoryEntry entry;
    while (id < entryCount && !taken[id]) {
      taken[id] = true;
      if (!Read(id, &entry)) return;
      pending.emplace_back(id, entry.rightSibling);
      id = entry.leftSibling;
    }
  };
  descendLeft(firstChild);
  while (!pending.empty()) {
    auto [id, right] = pending.back();
    pending.pop_back();
    children.push_back(id);
    descendLeft(right);
  }
  return children;
}

}  // namespace txtppt2
