// Directory: the directory stream of a compound file, read entry by entry
// through a one-sector cache, and the walk of a storage's child tree.
//
// Holds the directory's sector chain (bounded by the file's sector count)
// and one sector of bytes, never the whole directory. Reads through a
// ByteSource it does not own, which must outlive it.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_DIRECTORY_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_DIRECTORY_H_

#include <cstdint>
#include <vector>

#include "platform/compound_file/byte_source.h"
#include "platform/compound_file/directory_entry.h"

namespace txtppt2 {

class Directory {
 public:
  Directory(ByteSource& source, std::vector<uint32_t> sectors,
            uint32_t sectorShift);

  // How many entries the directory's sectors can hold.
  uint64_t EntryCount() const { return entryCount; }

  // Decodes entry id into *entry. False when id is beyond the directory or
  // its bytes cannot be read (a directory sector cut off by the end of the
  // file).
  bool Read(uint32_t id, DirectoryEntry* entry);

  // The ids of every entry reachable in the child tree of entry parentId
  // (whose child is firstChild), left subtree before node before right
  // subtree. Sibling links are followed without trusting the tree's order
  // or shape: each entry is taken once (a link back to one already taken, or
  // to the parent, is ignored), links beyond the directory and entries that
  // cannot be read end their branch, so the walk ends after at most
  // EntryCount() entries.
  std::vector<uint32_t> Children(uint32_t parentId, uint32_t firstChild);

 private:
  ByteSource& source;
  std::vector<uint32_t> sectors;
  uint32_t sectorShift;
  uint64_t entryCount;
  std::vector<uint8_t> cache;  // one directory sector
  size_t cachedBytes{};
  uint64_t cachedIndex = UINT64_MAX;  // index into sectors
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_DIRECTORY_H_
