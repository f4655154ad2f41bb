#include "identify/presentation_decryption.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "crypto/rc4_cryptoapi_header.h"
#include "crypto/rc4_cryptoapi_key.h"
#include "platform/compound_file/little_endian.h"

namespace txtppt2 {
namespace {

constexpr uint16_t kCryptSession10ContainerType = 0x2F14;
constexpr size_t kRecordHeaderBytes = 8;

std::optional<Rc4CryptoApiHeader> SessionHeader(
    const DocumentStructure& structure, std::span<const uint8_t> document) {
  auto entry =
      structure.persistOffsets.find(structure.encryptSessionPersistIdRef);
  if (structure.encryptSessionPersistIdRef == 0 ||
      entry == structure.persistOffsets.end())
    return std::nullopt;
  const uint64_t offset = entry->second;
  if (offset > document.size() ||
      document.size() - offset < kRecordHeaderBytes ||
      LoadLittleEndian<uint16_t>(document, offset + 2) !=
          kCryptSession10ContainerType)
    return std::nullopt;
  const uint64_t length =
      std::min<uint64_t>(LoadLittleEndian<uint32_t>(document, offset + 4),
                         document.size() - offset - kRecordHeaderBytes);
  return Rc4CryptoApiHeader::Parse(
      document.subspan(offset + kRecordHeaderBytes, length));
}

}  // namespace

DecryptionOutcome DecryptPresentation(const DocumentStructure& structure,
                                      std::span<uint8_t> document,
                                      std::u16string_view password) {
  std::optional<Rc4CryptoApiHeader> header = SessionHeader(structure, document);
  if (!header) return DecryptionOutcome::kUnsupported;
  const Rc4CryptoApiKey key(*header, password);
  if (!key.Verifies(*header)) return DecryptionOutcome::kWrongPassword;

  // (offset, id) by offset; an offset listed twice is decrypted once.
  std::vector<std::pair<uint32_t, uint32_t>> objects;
  for (const auto& [id, offset] : structure.persistOffsets)
    if (id != structure.encryptSessionPersistIdRef && offset < document.size())
      objects.emplace_back(offset, id);
  std::sort(objects.begin(), objects.end());
  objects.erase(std::unique(objects.begin(), objects.end(),
                            [](const auto& a, const auto& b) {
                              return a.first == b.first;
                            }),
                objects.end());

  for (size_t i = 0; i < objects.size(); ++i) {
    const auto [offset, id] = objects[i];
    const uint64_t limit =
        i + 1 < objects.size() ? objects[i + 1].first : document.size();
    std::array<uint8_t, kRecordHeaderBytes> recordHeader{};
    const size_t headerBytes =
        std::min<uint64_t>(kRecordHeaderBytes, limit - offset);
    std::copy_n(document.begin() + offset, headerBytes, recordHeader.begin());
    key.Crypt(id, recordHeader);
    const uint64_t end = std::min<uint64_t>(
        limit, uint64_t{offset} + kRecordHeaderBytes +
                   LoadLittleEndian<uint32_t>(recordHeader, 4));
    key.Crypt(id, document.subspan(offset, end - offset));
  }
  return DecryptionOutcome::kDecrypted;
}

}  // namespace txtppt2
