#include "crypto/rc4_cryptoapi_header.h"

#include <algorithm>

#include "platform/compound_file/little_endian.h"

namespace txtppt2 {
namespace {

// The body: EncryptionVersionInfo (two 16-bit numbers), the header's flags
// and byte count, the header, then the verifier.
constexpr size_t kVersionMajorOffset = 0;
constexpr size_t kVersionMinorOffset = 2;
constexpr size_t kHeaderSizeOffset = 8;
constexpr size_t kHeaderOffset = 12;
// Inside the header.
constexpr size_t kAlgIdOffset = 8;
constexpr size_t kAlgIdHashOffset = 12;
constexpr size_t kKeySizeOffset = 16;
constexpr size_t kHeaderFixedSize = 32;  // before the provider's name
// Inside the verifier.
constexpr size_t kSaltSizeOffset = 0;
constexpr size_t kSaltOffset = 4;
constexpr size_t kVerifierOffset = 20;
constexpr size_t kVerifierHashSizeOffset = 36;
constexpr size_t kVerifierHashOffset = 40;
constexpr size_t kVerifierSize = 60;

constexpr uint32_t kAlgIdRc4 = 0x6801;
constexpr uint32_t kAlgIdHashSha1 = 0x8004;
constexpr uint32_t kSha1Size = 20;

}  // namespace

std::optional<Rc4CryptoApiHeader> Rc4CryptoApiHeader::Parse(
    std::span<const uint8_t> body) {
  if (body.size() < kHeaderOffset) return std::nullopt;
  const uint16_t major = LoadLittleEndian<uint16_t>(body, kVersionMajorOffset);
  const uint16_t minor = LoadLittleEndian<uint16_t>(body, kVersionMinorOffset);
  if (major < 2 || major > 4 || minor != 2) return std::nullopt;
  const uint32_t headerSize =
      LoadLittleEndian<uint32_t>(body, kHeaderSizeOffset);
  if (headerSize < kHeaderFixedSize ||
      headerSize > body.size() - kHeaderOffset ||
      body.size() - kHeaderOffset - headerSize < kVerifierSize)
    return std::nullopt;
  std::span<const uint8_t> header = body.subspan(kHeaderOffset, headerSize);
  std::span<const uint8_t> verifier =
      body.subspan(kHeaderOffset + headerSize, kVerifierSize);

  if (LoadLittleEndian<uint32_t>(header, kAlgIdOffset) != kAlgIdRc4 ||
      LoadLittleEndian<uint32_t>(header, kAlgIdHashOffset) != kAlgIdHashSha1)
    return std::nullopt;
  Rc4CryptoApiHeader result;
  // 0 stands for the shortest key, 40 bits.
  const uint32_t keyBits = LoadLittleEndian<uint32_t>(header, kKeySizeOffset);
  result.keyBits = keyBits == 0 ? 40 : keyBits;
  if (result.keyBits < 40 || result.keyBits > 128 || result.keyBits % 8 != 0)
    return std::nullopt;
  if (LoadLittleEndian<uint32_t>(verifier, kSaltSizeOffset) !=
          result.salt.size() ||
      LoadLittleEndian<uint32_t>(verifier, kVerifierHashSizeOffset) !=
          kSha1Size)
    return std::nullopt;
  auto copy = [&](size_t offset, auto& out) {
    std::copy_n(verifier.begin() + offset, out.size(), out.begin());
  };
  copy(kSaltOffset, result.salt);
  copy(kVerifierOffset, result.encryptedVerifier);
  copy(kVerifierHashOffset, result.encryptedVerifierHash);
  return result;
}

}  // namespace txtppt2
