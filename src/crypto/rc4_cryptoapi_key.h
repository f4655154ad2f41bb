// Rc4CryptoApiKey: the keys of the RC4 CryptoAPI scheme for one password.
// The password's hash H0 = SHA-1(salt + password as UTF-16LE) is taken
// once; the key of block b is the first keyBits of SHA-1(H0 + b as 32-bit
// little-endian), and a 40-bit key is padded with zero bytes to 128 bits,
// as CryptoAPI's RC4 takes it. RC4 and SHA-1 are Nettle's.
#ifndef TXTPPT2_CRYPTO_RC4_CRYPTOAPI_KEY_H_
#define TXTPPT2_CRYPTO_RC4_CRYPTOAPI_KEY_H_

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "crypto/rc4_cryptoapi_header.h"

namespace txtppt2 {

class Rc4CryptoApiKey {
 public:
  // The password is cut at 255 UTF-16 units, the longest the scheme takes.
  Rc4CryptoApiKey(const Rc4CryptoApiHeader& header,
                  std::u16string_view password);

  // Whether the password is the one the file was saved with: the verifier,
  // decrypted with the key of block 0, hashes to the decrypted verifier
  // hash (one RC4 stream over both).
  bool Verifies(const Rc4CryptoApiHeader& header) const;

  // Decrypts (or encrypts: RC4 is its own inverse) data in place with the
  // key of block, from the start of that key's stream.
  void Crypt(uint32_t block, std::span<uint8_t> data) const;

 private:
  std::array<uint8_t, 20> passwordHash{};
  uint32_t keyBytes;
};

}  // namespace txtppt2

#endif  // TXTPPT2_CRYPTO_RC4_CRYPTOAPI_KEY_H_
