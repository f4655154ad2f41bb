// Decryption of an encrypted PowerPoint Document stream in memory: the
// CryptSession10Container named by the current edit gives the RC4 CryptoAPI
// header; every other persist object is encrypted on its own, with the key
// of the block numbered by its persist id, from its record header on. The
// user edits and persist directories are stored in the clear.
#ifndef TXTPPT2_IDENTIFY_PRESENTATION_DECRYPTION_H_
#define TXTPPT2_IDENTIFY_PRESENTATION_DECRYPTION_H_

#include <cstdint>
#include <span>
#include <string_view>

#include "identify/document_structure.h"

namespace txtppt2 {

enum class DecryptionOutcome {
  kDecrypted,
  kWrongPassword,
  // No CryptSession10Container, or one naming another cipher than RC4
  // CryptoAPI with SHA-1.
  kUnsupported,
  // This build has no cipher library (see decryption_unavailable.cpp).
  kUnavailable,
};

// The password PowerPoint encrypts with when a file has only a password to
// modify it: such a file opens without one.
inline constexpr std::u16string_view kReadOnlyPassword =
    u"/01Hannes Ruescher/01";

// Decrypts the persist objects of document in place when password is the
// file's. Each object is decrypted up to the end of its record, and never
// past the start of the next object, so the work is linear in the
// stream's size whatever the directory says.
DecryptionOutcome DecryptPresentation(const DocumentStructure& structure,
                                      std::span<uint8_t> document,
                                      std::u16string_view password);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_PRESENTATION_DECRYPTION_H_
