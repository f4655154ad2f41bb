// DecryptPresentation of a build without Nettle: every encrypted
// presentation stays encrypted, and says why.
#include "identify/presentation_decryption.h"

namespace txtppt2 {

DecryptionOutcome DecryptPresentation(const DocumentStructure&,
                                      std::span<uint8_t>, std::u16string_view) {
  return DecryptionOutcome::kUnavailable;
}

}  // namespace txtppt2
