// FindLiveDocument: the document as it stands after the last save. The
// "Current User" stream names the newest UserEditAtom; each edit names the
// one before it and its PersistDirectoryAtom, which maps persist ids to the
// stream offsets of the records saved in that edit. A record saved again
// in a later edit supersedes the older copy, so the newest entry for each
// persist id wins ([MS-PPT] 2.3.2 and 2.3.3).
//
// Nothing is trusted: the result is empty where the "Current User" atom is
// absent or damaged, an offset misses its record, or the edit chain loops;
// unless the caller asks for a broken chain to be mended (BrokenChain).
// Time is linear in the stream: each edit and each directory is read once,
// and the edits and directories read spend a budget (extract/work_budget.h)
// of the stream's size; a spent budget gives no live document.
#ifndef TXTPPT2_EXTRACT_PERSIST_DIRECTORY_H_
#define TXTPPT2_EXTRACT_PERSIST_DIRECTORY_H_

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace txtppt2 {

class PersistDirectory {
 public:
  // The stream offset saved for persistId, if any.
  std::optional<uint32_t> Find(uint32_t persistId) const;
  // Records an offset unless a newer one is known already: the chain is
  // read from the newest edit back.
  void AddUnlessKnown(uint32_t persistId, uint32_t offset);

 private:
  std::unordered_map<uint32_t, uint32_t> offsets;
};

struct LiveDocument {
  PersistDirectory directory;
  uint32_t documentOffset{};  // of the DocumentContainer's header
  bool mended = false;          // the chain was broken and has been mended
};

// What FindLiveDocument makes of a broken chain of edits: a "Current User"
// atom or a link that misses its UserEditAtom, a link that loops, or an
// edit whose PersistDirectoryAtom is missing.
enum class BrokenChain {
  // No live document. The complete text then walks every record, as the
  // exports' callers have always had it.
  kGiveUp,
  // PowerPoint appends each save to the stream, so the edits the stream
  // holds at its top level, in stream order, are the saves in order. The
  // newest edit is the last of them where "Current User" misses one; an
  // edit's predecessor is the last edit before it where its link misses an
  // edit or does not go back in the stream; an edit whose directory is
  // missing adds no entries. Empty still where the newest edit's document
  // is missing.
  kMend,
};

// document: the whole "PowerPoint Document" stream; currentUser: the whole
// "Current User" stream (empty when there is none).
std::optional<LiveDocument> FindLiveDocument(std::string_view document,
                                             std::string_view currentUser,
                                             BrokenChain broken);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_PERSIST_DIRECTORY_H_
