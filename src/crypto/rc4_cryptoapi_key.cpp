#include "crypto/rc4_cryptoapi_key.h"

#include <nettle/arcfour.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <vector>

namespace txtppt2 {
namespace {

constexpr size_t kMaxPasswordUnits = 255;
constexpr size_t kPaddedShortKeyBytes = 16;

}  // namespace

Rc4CryptoApiKey::Rc4CryptoApiKey(const Rc4CryptoApiHeader& header,
                                 std::u16string_view password)
    : keyBytes(header.keyBits / 8) {
  password = password.substr(0, kMaxPasswordUnits);
  std::vector<uint8_t> passwordBytes;
  passwordBytes.reserve(password.size() * 2);
  for (char16_t unit : password) {
    passwordBytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    passwordBytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  sha1_ctx hash;
  sha1_init(&hash);
  sha1_update(&hash, header.salt.size(), header.salt.data());
  sha1_update(&hash, passwordBytes.size(), passwordBytes.data());
  sha1_digest(&hash, passwordHash.size(), passwordHash.data());
}

void Rc4CryptoApiKey::Crypt(uint32_t block, std::span<uint8_t> data) const {
  uint8_t blockBytes[4];  // little-endian
  for (int i = 0; i < 4; ++i)
    blockBytes[i] = static_cast<uint8_t>(block >> (8 * i));
  std::array<uint8_t, SHA1_DIGEST_SIZE> blockHash;
  sha1_ctx hash;
  sha1_init(&hash);
  sha1_update(&hash, passwordHash.size(), passwordHash.data());
  sha1_update(&hash, sizeof blockBytes, blockBytes);
  sha1_digest(&hash, blockHash.size(), blockHash.data());

  std::array<uint8_t, kPaddedShortKeyBytes> key{};
  std::copy_n(blockHash.begin(), keyBytes, key.begin());
  const size_t keyLength = keyBytes == 5 ? kPaddedShortKeyBytes : keyBytes;
  arcfour_ctx cipher;
  arcfour_set_key(&cipher, keyLength, key.data());
  if (!data.empty())
    arcfour_crypt(&cipher, data.size(), data.data(), data.data());
}

bool Rc4CryptoApiKey::Verifies(const Rc4CryptoApiHeader& header) const {
  std::array<uint8_t, 36> verifier;
  std::copy(header.encryptedVerifier.begin(), header.encryptedVerifier.end(),
            verifier.begin());
  std::copy(header.encryptedVerifierHash.begin(),
            header.encryptedVerifierHash.end(), verifier.begin() + 16);
  Crypt(0, verifier);
  std::array<uint8_t, SHA1_DIGEST_SIZE> digest;
  sha1_ctx hash;
  sha1_init(&hash);
  sha1_update(&hash, 16, verifier.data());
  sha1_digest(&hash, digest.size(), digest.data());
  return std::equal(digest.begin(), digest.end(), verifier.begin() + 16);
}

}  // namespace txtppt2
