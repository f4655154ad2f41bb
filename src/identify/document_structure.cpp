#include "identify/document_structure.h"

#include "platform/compound_file/little_endian.h"

namespace txtppt2 {
namespace {

constexpr size_t kRecordHeaderBytes = 8;
constexpr uint16_t kCurrentUserAtomType = 0x0FF6;
constexpr uint16_t kUserEditAtomType = 0x0FF5;
constexpr uint16_t kPersistDirectoryAtomType = 0x1772;
constexpr uint32_t kEncryptedHeaderToken = 0xF3D1C4DF;

// CurrentUserAtom fields, from the start of the record.
constexpr size_t kCurrentUserSizeOffset = 8;  // 0x14
constexpr size_t kOffsetToCurrentEditOffset = 16;
constexpr size_t kCurrentUserFixedSize = 28;

// UserEditAtom fields, from the start of the record.
constexpr size_t kOffsetLastEditOffset = 16;
constexpr size_t kOffsetPersistDirectoryOffset = 20;
constexpr size_t kDocPersistIdRefOffset = 24;
constexpr size_t kEncryptSessionOffset = 36;
constexpr uint32_t kUserEditShortLength = 0x1C;
constexpr uint32_t kUserEditLongLength = 0x20;

struct Record {
  uint16_t type = 0;
  uint32_t length = 0;
};

// The header at offset, when it and the body it declares lie inside bytes.
std::optional<Record> WholeRecordAt(std::span<const uint8_t> bytes,
                                    uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < kRecordHeaderBytes)
    return std::nullopt;
  Record record{LoadLittleEndian<uint16_t>(bytes, offset + 2),
                LoadLittleEndian<uint32_t>(bytes, offset + 4)};
  if (record.length > bytes.size() - offset - kRecordHeaderBytes)
    return std::nullopt;
  return record;
}

// Adds the entries of the PersistDirectoryAtom at offset that no newer
// edit has given; false when the atom is not whole, or is longer than
// *budget, the bytes of the stream no directory has yet used (sound
// directories never overlap, so the walk reads each byte at most once).
bool MergePersistDirectory(std::span<const uint8_t> document, uint32_t offset,
                           uint64_t* budget,
                           std::map<uint32_t, uint32_t>* offsets) {
  std::optional<Record> atom = WholeRecordAt(document, offset);
  if (!atom || atom->type != kPersistDirectoryAtomType ||
      atom->length > *budget)
    return false;
  *budget -= atom->length;
  std::span<const uint8_t> body =
      document.subspan(offset + kRecordHeaderBytes, atom->length);
  size_t at = 0;
  while (at < body.size()) {
    if (body.size() - at < 4) return false;
    const uint32_t entry = LoadLittleEndian<uint32_t>(body, at);
    const uint32_t firstId = entry & 0xFFFFF;
    const uint32_t count = entry >> 20;
    at += 4;
    if (count > (body.size() - at) / 4) return false;
    for (uint32_t i = 0; i < count; ++i, at += 4)
      offsets->emplace(firstId + i, LoadLittleEndian<uint32_t>(body, at));
  }
  return true;
}

}  // namespace

std::optional<CurrentUser> CurrentUser::Parse(std::span<const uint8_t> stream) {
  if (stream.size() < kCurrentUserFixedSize ||
      LoadLittleEndian<uint16_t>(stream, 2) != kCurrentUserAtomType ||
      LoadLittleEndian<uint32_t>(stream, kCurrentUserSizeOffset) != 0x14)
    return std::nullopt;
  CurrentUser user;
  user.encrypted = LoadLittleEndian<uint32_t>(stream, kHeaderTokenOffset) ==
                   kEncryptedHeaderToken;
  user.offsetToCurrentEdit =
      LoadLittleEndian<uint32_t>(stream, kOffsetToCurrentEditOffset);
  return user;
}

std::optional<DocumentStructure> ReadDocumentStructure(
    const CurrentUser& currentUser, std::span<const uint8_t> document,
    std::string* problem) {
  DocumentStructure structure;
  uint64_t editOffset = currentUser.offsetToCurrentEdit;
  uint64_t directoryBudget = document.size();
  bool current = true;
  // Each edit lies before the one that names it, so the walk ends.
  while (true) {
    std::optional<Record> edit = WholeRecordAt(document, editOffset);
    if (!edit || edit->type != kUserEditAtomType ||
        (edit->length != kUserEditShortLength &&
         edit->length != kUserEditLongLength)) {
      *problem = "a user edit lies outside the document stream";
      return std::nullopt;
    }
    std::span<const uint8_t> atom =
        document.subspan(editOffset, kRecordHeaderBytes + edit->length);
    if (current) {
      structure.docPersistIdRef =
          LoadLittleEndian<uint32_t>(atom, kDocPersistIdRefOffset);
      if (edit->length == kUserEditLongLength)
        structure.encryptSessionPersistIdRef =
            LoadLittleEndian<uint32_t>(atom, kEncryptSessionOffset);
      current = false;
    }
    if (!MergePersistDirectory(
            document,
            LoadLittleEndian<uint32_t>(atom, kOffsetPersistDirectoryOffset),
            &directoryBudget, &structure.persistOffsets)) {
      *problem =
          "a persist directory lies outside the document stream or "
          "overlaps another";
      return std::nullopt;
    }
    const uint32_t previous =
        LoadLittleEndian<uint32_t>(atom, kOffsetLastEditOffset);
    if (previous == 0) break;
    if (previous >= editOffset) {
      *problem = "the chain of user edits does not go backwards";
      return std::nullopt;
    }
    editOffset = previous;
  }
  if (!structure.persistOffsets.contains(structure.docPersistIdRef)) {
    *problem = "the document's persist object is missing";
    return std::nullopt;
  }
  return structure;
}

bool PersistObjectsFit(const DocumentStructure& structure,
                       std::span<const uint8_t> document,
                       std::string* problem) {
  for (const auto& [id, offset] : structure.persistOffsets) {
    if (!WholeRecordAt(document, offset)) {
      *problem = "persist object " + std::to_string(id) +
                 " runs past the end of the document stream";
      return false;
    }
  }
  return true;
}

bool RecordsTileStream(std::span<const uint8_t> document) {
  uint64_t at = 0;
  while (at < document.size()) {
    std::optional<Record> record = WholeRecordAt(document, at);
    if (!record) return false;
    at += kRecordHeaderBytes + record->length;
  }
  return true;
}

}  // namespace txtppt2
