#include "extract/persist_directory.h"

#include <unordered_set>

#include "extract/record_types.h"
#include "extract/record_view.h"

namespace txtppt2 {

namespace {

// CurrentUserAtom: the header, size, headerToken, then offsetToCurrentEdit.
constexpr uint32_t kCurrentEditField = 16;
// UserEditAtom body: offsetLastEdit, offsetPersistDirectory and
// docPersistIdRef, all needed.
constexpr uint32_t kLastEditField = 8;
constexpr uint32_t kPersistDirectoryField = 12;
constexpr uint32_t kDocumentRefField = 16;
constexpr uint32_t kUserEditMinimumBody = 20;

std::optional<RecordHeader> RecordAt(std::string_view image, uint32_t offset,
                                     uint16_t type) {
  auto record =
      ReadRecordHeader(image, offset, static_cast<uint32_t>(image.size()));
  if (!record || record->type != type) return std::nullopt;
  return record;
}

// PersistDirectoryEntry: persistId in the low 20 bits, cPersist in the high
// 12, then cPersist offsets for consecutive ids.
void ReadDirectory(std::string_view image, const RecordHeader& atom,
                   PersistDirectory& directory) {
  uint32_t at = atom.BodyStart();
  while (atom.bodyEnd - at >= 4) {
    uint32_t entry = LoadU32(image, at);
    at += 4;
    uint32_t firstId = entry & 0xFFFFF;
    uint32_t count = entry >> 20;
    for (uint32_t i = 0; i < count && atom.bodyEnd - at >= 4; ++i, at += 4)
      directory.AddUnlessKnown(firstId + i, LoadU32(image, at));
  }
}

}  // namespace

std::optional<uint32_t> PersistDirectory::Find(uint32_t persistId) const {
  auto found = offsets.find(persistId);
  if (found == offsets.end()) return std::nullopt;
  return found->second;
}

void PersistDirectory::AddUnlessKnown(uint32_t persistId, uint32_t offset) {
  offsets.emplace(persistId, offset);
}

std::optional<LiveDocument> FindLiveDocument(std::string_view document,
                                             std::string_view currentUser) {
  auto user = RecordAt(currentUser, 0, kRtCurrentUserAtom);
  if (!user || user->bodyEnd < kCurrentEditField + 4) return std::nullopt;
  uint32_t editOffset = LoadU32(currentUser, kCurrentEditField);

  LiveDocument live;
  std::optional<uint32_t> documentRef;
  std::unordered_set<uint32_t> seenEdits;
  std::unordered_set<uint32_t> seenDirectories;
  for (;;) {
    auto edit = RecordAt(document, editOffset, kRtUserEditAtom);
    if (!edit || edit->BodyLength() < kUserEditMinimumBody) return std::nullopt;
    if (!seenEdits.insert(editOffset).second) return std::nullopt;  // a loop
    uint32_t body = edit->BodyStart();
    if (!documentRef) documentRef = LoadU32(document, body + kDocumentRefField);
    uint32_t directoryOffset = LoadU32(document, body + kPersistDirectoryField);
    if (seenDirectories.insert(directoryOffset).second) {
      auto atom = RecordAt(document, directoryOffset, kRtPersistDirectoryAtom);
      if (!atom) return std::nullopt;
      ReadDirectory(document, *atom, live.directory);
    }
    uint32_t previous = LoadU32(document, body + kLastEditField);
    if (previous == 0) break;  // the first save has no predecessor
    editOffset = previous;
  }

  auto documentOffset = live.directory.Find(*documentRef);
  if (!documentOffset || !RecordAt(document, *documentOffset, kRtDocument))
    return std::nullopt;
  live.documentOffset = *documentOffset;
  return live;
}

}  // namespace txtppt2
