// DocumentStructure: the skeleton of a PowerPoint 97-2003 document, read
// from its Current User stream and its PowerPoint Document stream: the
// current user edit, the chain of earlier edits, and the persist directory
// they make together (a newer edit's entry hides an older one's).
//
// Reading is linear in the stream's size: the edit chain must go strictly
// backwards, and every offset and count is checked against the bytes at
// hand before it is used.
#ifndef TXTPPT2_IDENTIFY_DOCUMENT_STRUCTURE_H_
#define TXTPPT2_IDENTIFY_DOCUMENT_STRUCTURE_H_

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace txtppt2 {

// The CurrentUserAtom at the start of the Current User stream.
struct CurrentUser {
  bool encrypted = false;  // the header token of an encrypted document
  uint32_t offsetToCurrentEdit{};

  // Nothing when the stream does not start with a CurrentUserAtom (a
  // PowerPoint 95 file, or damage).
  static std::optional<CurrentUser> Parse(std::span<const uint8_t> stream);
};

// The header token of an unencrypted document's CurrentUserAtom, which a
// decrypted copy of the stream gets in place of the encrypted one.
constexpr uint32_t kPlainHeaderToken = 0xE391C05F;
constexpr size_t kHeaderTokenOffset = 12;

struct DocumentStructure {
  uint32_t docPersistIdRef{};
  // From the current edit; 0 when the document is not encrypted.
  uint32_t encryptSessionPersistIdRef{};
  // Persist object id -> its offset in the PowerPoint Document stream.
  std::map<uint32_t, uint32_t> persistOffsets;
};

// The structure the current edit describes, or, in *problem, why it cannot
// be read: an offset outside the stream, a record of the wrong type, an
// edit chain that does not go backwards.
std::optional<DocumentStructure> ReadDocumentStructure(
    const CurrentUser& currentUser, std::span<const uint8_t> document,
    std::string* problem);

// Whether every persist object of the directory starts with a whole record
// header inside the stream and its body ends inside it; *problem says which
// does not. For an encrypted document, call it on the decrypted stream.
bool PersistObjectsFit(const DocumentStructure& structure,
                       std::span<const uint8_t> document, std::string* problem);

// Whether the stream is a sequence of whole records, back to back, that
// ends exactly where the stream does: what can be checked of a document
// whose Current User stream does not lead to its user edit (the converter
// then walks the whole stream).
bool RecordsTileStream(std::span<const uint8_t> document);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_DOCUMENT_STRUCTURE_H_
