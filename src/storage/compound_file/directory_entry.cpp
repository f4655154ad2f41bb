#include "storage/compound_file/directory_entry.h"

#include <cstdlib>
#include <cstring>

#include "storage/compound_file/little_endian.h"

namespace txtppt2 {

namespace {

FILETIME LoadFileTime(std::span<const uint8_t> bytes, size_t offset) {
  FILETIME time;
  time.dwLowDateTime = LoadLittleEndian<uint32_t>(bytes, offset);
  time.dwHighDateTime = LoadLittleEndian<uint32_t>(bytes, offset + 4);
  return time;
}

GUID LoadGuid(std::span<const uint8_t> bytes, size_t offset) {
  GUID guid;
  guid.Data1 = LoadLittleEndian<uint32_t>(bytes, offset);
  guid.Data2 = LoadLittleEndian<uint16_t>(bytes, offset + 4);
  guid.Data3 = LoadLittleEndian<uint16_t>(bytes, offset + 6);
  for (size_t i = 0; i < 8; ++i)
    guid.Data4[i] = LoadLittleEndian<uint8_t>(bytes, offset + 8 + i);
  return guid;
}

}  // namespace

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
  entry.clsid = LoadGuid(bytes, kEntryClsidOffset);
  entry.stateBits = LoadLittleEndian<uint32_t>(bytes, kEntryStateBitsOffset);
  entry.creationTime = LoadFileTime(bytes, kEntryCreationTimeOffset);
  entry.modifiedTime = LoadFileTime(bytes, kEntryModifiedTimeOffset);
  entry.startSector =
      LoadLittleEndian<uint32_t>(bytes, kEntryStartSectorOffset);
  entry.declaredSize =
      LoadLittleEndian<uint64_t>(bytes, kEntryStreamSizeOffset);
  return entry;
}

LPOLESTR CopyNameForCaller(std::u16string_view name) {
  // CoTaskMemFree is free() here, so the copy comes from malloc.
  auto* copy =
      static_cast<LPOLESTR>(std::malloc((name.size() + 1) * sizeof(OLECHAR)));
  if (copy == nullptr) return nullptr;
  if (!name.empty())
    std::memcpy(copy, name.data(), name.size() * sizeof(OLECHAR));
  copy[name.size()] = 0;
  return copy;
}

HRESULT FillStatStg(const DirectoryEntry& entry, std::u16string_view name,
                    DWORD statType, uint64_t size, DWORD mode, DWORD statFlag,
                    STATSTG* statstg) {
  std::memset(statstg, 0, sizeof(*statstg));
  if ((statFlag & STATFLAG_NONAME) == 0) {
    statstg->pwcsName = CopyNameForCaller(name);
    if (statstg->pwcsName == nullptr) return STG_E_INSUFFICIENTMEMORY;
  }
  statstg->type = statType;
  statstg->cbSize.QuadPart = size;
  statstg->mtime = entry.modifiedTime;
  statstg->ctime = entry.creationTime;
  statstg->grfMode = mode;
  statstg->clsid = entry.clsid;
  statstg->grfStateBits = entry.stateBits;
  return S_OK;
}

}  // namespace txtppt2
