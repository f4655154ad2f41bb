// FindLiveDocument: the document as it stands after the last save. The
// "Current User" stream names the newest UserEditAtom; each edit names the
// one before it and its PersistDirectoryAtom, which maps persist ids to the
// stream offsets of the records saved in that edit. A record saved again
// in a later edit supersedes the older copy, so the newest entry for each
// persist id wins ([MS-PPT] 2.3.2 and 2.3.3).
//
// Nothing is trusted: the result is empty where the "Current User" atom is
// absent or damaged, an offset misses its record, or the edit chain loops.
// Time is linear in the stream: each edit and each directory is read once.
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
  uint32_t documentOffset = 0;  // of the DocumentContainer's header
};

// document: the whole "PowerPoint Document" stream; currentUser: the whole
// "Current User" stream (empty when there is none).
std::optional<LiveDocument> FindLiveDocument(std::string_view document,
                                             std::string_view currentUser);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_PERSIST_DIRECTORY_H_
