#include "extract/persist_directory.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "extract/record_types.h"
#include "extract/record_view.h"
#include "extract/work_budget.h"

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

// A UserEditAtom whose body holds every field read of it.
std::optional<RecordHeader> EditAt(std::string_view image, uint32_t offset) {
  auto edit = RecordAt(image, offset, kRtUserEditAtom);
  if (!edit || edit->BodyLength() < kUserEditMinimumBody) return std::nullopt;
  return edit;
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

// The edits among the stream's top-level records (taken by their lengths
// from the start; a header that does not fit ends them), found on first
// use: a chain that holds never needs them.
class StreamEdits {
 public:
  explicit StreamEdits(std::string_view image_) : image(image_) {}

  // The last edit that starts before offset, if any.
  std::optional<uint32_t> LastBefore(uint32_t offset) {
    if (!scanned) Scan();
    auto after = std::lower_bound(offsets.begin(), offsets.end(), offset);
    if (after == offsets.begin()) return std::nullopt;
    return *(after - 1);
  }

 private:
  void Scan() {
    scanned = true;
    uint32_t at = 0;
    const auto end = static_cast<uint32_t>(image.size());
    while (auto record = ReadRecordHeader(image, at, end)) {
      if (EditAt(image, at)) offsets.push_back(at);
      at = record->End();
    }
  }

  std::string_view image;
  bool scanned = false;
  std::vector<uint32_t> offsets;  // ascending
};

// The chain as saved (mend false), or mended as BrokenChain::kMend says.
std::optional<LiveDocument> ReadChain(std::string_view document,
                                      std::string_view currentUser, bool mend) {
  StreamEdits streamEdits(document);
  const auto streamEnd = static_cast<uint32_t>(document.size());
  std::optional<uint32_t> editOffset;
  auto user = RecordAt(currentUser, 0, kRtCurrentUserAtom);
  if (user && user->bodyEnd >= kCurrentEditField + 4 &&
      EditAt(document, LoadU32(currentUser, kCurrentEditField)))
    editOffset = LoadU32(currentUser, kCurrentEditField);
  else if (mend)
    editOffset = streamEdits.LastBefore(streamEnd);
  if (!editOffset) return std::nullopt;

  LiveDocument live;
  live.mended = mend;
  // Directories may overlap: their reads, not their count, are bounded.
  WorkBudget budget(document.size());
  std::optional<uint32_t> documentRef;
  std::unordered_set<uint32_t> seenEdits;
  std::unordered_set<uint32_t> seenDirectories;
  for (uint32_t at = *editOffset;;) {
    // Mended links only go back: a loop is the chain as saved.
    if (!seenEdits.insert(at).second || !budget.Spend(kRecordHeaderSize))
      return std::nullopt;
    uint32_t body = EditAt(document, at)->BodyStart();
    if (!documentRef) documentRef = LoadU32(document, body + kDocumentRefField);
    uint32_t directoryOffset = LoadU32(document, body + kPersistDirectoryField);
    if (seenDirectories.insert(directoryOffset).second) {
      auto atom = RecordAt(document, directoryOffset, kRtPersistDirectoryAtom);
      if (atom && !budget.Spend(atom->BodyLength())) return std::nullopt;
      if (atom)
        ReadDirectory(document, *atom, live.directory);
      else if (!mend)
        return std::nullopt;
    }
    uint32_t previous = LoadU32(document, body + kLastEditField);
    if (previous == 0) break;  // the first save has no predecessor
    if (!EditAt(document, previous) || (mend && previous >= at)) {
      if (!mend) return std::nullopt;
      auto before = streamEdits.LastBefore(at);
      if (!before) break;
      previous = *before;
    }
    at = previous;
  }

  auto documentOffset = live.directory.Find(*documentRef);
  if (!documentOffset || !RecordAt(document, *documentOffset, kRtDocument))
    return std::nullopt;
  live.documentOffset = *documentOffset;
  return live;
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
                                             std::string_view currentUser,
                                             BrokenChain broken) {
  auto live = ReadChain(document, currentUser, false);
  if (live || broken == BrokenChain::kGiveUp) return live;
  return ReadChain(document, currentUser, true);
}

}  // namespace txtppt2
