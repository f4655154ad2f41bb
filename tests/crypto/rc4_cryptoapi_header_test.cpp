// The encryption header of a presentation: what is taken and what is
// refused, field by field, from one body as RC4 CryptoAPI writes it.
#include "crypto/rc4_cryptoapi_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace txtppt2 {
namespace {

// Version 4.2, a 36-byte header (32 fixed bytes and a 4-byte provider
// name), then the 60-byte verifier, whose bytes count up from 0 where no
// field is set.
constexpr size_t kHeader = 12, kVerifier = kHeader + 36;

void Put(std::vector<uint8_t>& body, size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) body[at + i] = uint8_t(value >> (8 * i));
}

std::vector<uint8_t> Body() {
  std::vector<uint8_t> body(kVerifier + 60, 0);
  for (size_t i = 0; i < 60; ++i) body[kVerifier + i] = uint8_t(i);
  Put(body, 0, 4, 2);
  Put(body, 2, 2, 2);
  Put(body, 8, 36, 4);
  Put(body, kHeader + 8, 0x6801, 4);   // RC4
  Put(body, kHeader + 12, 0x8004, 4);  // SHA-1
  Put(body, kHeader + 16, 128, 4);
  Put(body, kVerifier, 16, 4);
  Put(body, kVerifier + 36, 20, 4);
  return body;
}

TEST(Rc4CryptoApiHeaderTest, FieldsTakenAndRefused) {
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
    int width;
    std::optional<uint32_t> keyBits;  // nothing: refused
  } cases[] = {
      {"as written", 0, 4, 2, 128},
      {"major 2", 0, 2, 2, 128},
      {"major 1", 0, 1, 2, std::nullopt},
      {"major 5", 0, 5, 2, std::nullopt},
      {"minor 3", 2, 3, 2, std::nullopt},
      {"header under its fixed size", 8, 31, 4, std::nullopt},
      {"header into the verifier", 8, 37, 4, std::nullopt},
      {"header past the body", 8, 0xFFFFFFF0, 4, std::nullopt},
      {"another cipher", kHeader + 8, 0x6802, 4, std::nullopt},
      {"another hash", kHeader + 12, 0x8003, 4, std::nullopt},
      {"key size 0 is 40 bits", kHeader + 16, 0, 4, 40},
      {"56-bit key", kHeader + 16, 56, 4, 56},
      {"32-bit key", kHeader + 16, 32, 4, std::nullopt},
      {"136-bit key", kHeader + 16, 136, 4, std::nullopt},
      {"key bits not whole bytes", kHeader + 16, 44, 4, std::nullopt},
      {"salt of 15", kVerifier, 15, 4, std::nullopt},
      {"verifier hash of 16", kVerifier + 36, 16, 4, std::nullopt},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> body = Body();
    Put(body, c.at, c.value, c.width);
    auto header = Rc4CryptoApiHeader::Parse(body);
    ASSERT_EQ(header.has_value(), c.keyBits.has_value()) << c.name;
    if (!header) continue;
    EXPECT_EQ(header->keyBits, *c.keyBits) << c.name;
    EXPECT_EQ(header->salt.front(), 4);
    EXPECT_EQ(header->salt.back(), 19);
    EXPECT_EQ(header->encryptedVerifier.front(), 20);
    EXPECT_EQ(header->encryptedVerifier.back(), 35);
    EXPECT_EQ(header->encryptedVerifierHash.front(), 40);
    EXPECT_EQ(header->encryptedVerifierHash.back(), 59);
  }
  std::vector<uint8_t> body = Body();
  for (size_t cut : {size_t{0}, size_t{11}, body.size() - 1})
    EXPECT_FALSE(Rc4CryptoApiHeader::Parse({body.data(), cut})) << cut;
}

}  // namespace
}  // namespace txtppt2
