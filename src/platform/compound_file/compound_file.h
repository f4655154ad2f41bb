// CompoundFile: the state of one open compound file that its storage,
// streams and enumerators share: the byte source, the header, the FAT, the
// directory with the root's children, and (read on first use) the mini
// stream.
//
// Owns all of these; lives in a std::shared_ptr held by every COM object
// made from it, so the file stays readable until the last of them is
// released, whichever goes first. Like those objects it belongs to one
// thread at a time.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_COMPOUND_FILE_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_COMPOUND_FILE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/windows.h"
#include "platform/compound_file/allocation_table.h"
#include "platform/compound_file/byte_source.h"
#include "platform/compound_file/directory.h"
#include "platform/compound_file/directory_entry.h"
#include "platform/compound_file/file_header.h"
#include "platform/compound_file/mini_stream.h"
#include "platform/compound_file/stream_layout.h"

namespace txtppt2 {

class CompoundFile {
 public:
  // Reads the header, the FAT and the directory of source. Results:
  // STG_E_FILEALREADYEXISTS when source is not a compound file (under 512
  // bytes, or a header this reader does not accept), STG_E_DOCFILECORRUPT
  // when the FAT, the directory or its root entry cannot be read. Throws
  // std::bad_alloc when memory runs out.
  static HRESULT Open(std::unique_ptr<ByteSource> source,
                      std::shared_ptr<CompoundFile>* out);

  // Decodes entry id; false when it cannot be read.
  bool ReadEntry(uint32_t id, DirectoryEntry* entry) {
    return directory.Read(id, entry);
  }

  // The first stream directly under the root named name (compared as
  // EntryNamesEqual does).
  std::optional<uint32_t> FindRootStream(std::u16string_view name);

  // The first element of the given type (kStreamObject, kStorageObject)
  // named name directly under the storage entry storageId.
  std::optional<uint32_t> FindChildOf(uint32_t storageId,
                                      std::u16string_view name, uint8_t type);

  // A stream's size as this file's version reads it: version 3 ignores the
  // high 32 bits of the size field.
  uint64_t StreamSize(const DirectoryEntry& entry) const;

  // Where stream's bytes lie, as far as its chain can be followed (see
  // AllocationTable::Chain). Throws std::bad_alloc when memory runs out.
  StreamLayout LayoutOf(const DirectoryEntry& stream);

  ByteSource& Source() { return *source; }

 private:
  CompoundFile(std::unique_ptr<ByteSource> source, const FileHeader& header,
               uint32_t sectorCount, AllocationTable fat,
               std::vector<uint32_t> directorySectors);

  const MiniStream& Mini();

  std::unique_ptr<ByteSource> source;
  FileHeader header;
  uint32_t sectorCount;  // sectors that start inside the file
  AllocationTable fat;
  Directory directory;
  DirectoryEntry root;
  std::vector<uint32_t> rootChildren;
  std::unique_ptr<MiniStream> miniStream;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_COMPOUND_FILE_H_
