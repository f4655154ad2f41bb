// Rc4CryptoApiHeader: what a presentation's CryptSession10Container says
// about its encryption (the RC4 CryptoAPI scheme of the Office binary
// formats): the key length, the salt and the password verifier.
#ifndef TXTPPT2_CRYPTO_RC4_CRYPTOAPI_HEADER_H_
#define TXTPPT2_CRYPTO_RC4_CRYPTOAPI_HEADER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace txtppt2 {

struct Rc4CryptoApiHeader {
  uint32_t keyBits = 40;  // 40 to 128, a multiple of 8
  std::array<uint8_t, 16> salt{};
  std::array<uint8_t, 16> encryptedVerifier{};
  std::array<uint8_t, 20> encryptedVerifierHash{};

  // Decodes the body of the container: the version (major 2, 3 or 4,
  // minor 2), the header flags and size, the encryption header and the
  // verifier. Nothing when the body is short, or names another cipher than
  // RC4, another hash than SHA-1, or a key length RC4 CryptoAPI does not
  // take.
  static std::optional<Rc4CryptoApiHeader> Parse(std::span<const uint8_t> body);
};

}  // namespace txtppt2

#endif  // TXTPPT2_CRYPTO_RC4_CRYPTOAPI_HEADER_H_
