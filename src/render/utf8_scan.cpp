#include "render/utf8_scan.h"

#include <cassert>
#include <cstdint>

#include "platform/utf8.h"

namespace txtppt2 {
namespace {

// The bytes allowed after a lead byte: the second byte's range depends on
// the lead (that excludes overlong forms, surrogates and values past
// U+10FFFF); every later byte is 0x80..0xBF.
struct LeadByte {
  int continuationCount;
  uint8_t secondLow;
  uint8_t secondHigh;
  char32_t payloadMask;
};

bool DescribeLead(uint8_t lead, LeadByte& info) {
  if (lead >= 0xC2 && lead <= 0xDF) info = {1, 0x80, 0xBF, 0x1F};
  else if (lead == 0xE0) info = {2, 0xA0, 0xBF, 0x0F};
  else if (lead == 0xED) info = {2, 0x80, 0x9F, 0x0F};
  else if (lead >= 0xE1 && lead <= 0xEF) info = {2, 0x80, 0xBF, 0x0F};
  else if (lead == 0xF0) info = {3, 0x90, 0xBF, 0x07};
  else if (lead == 0xF4) info = {3, 0x80, 0x8F, 0x07};
  else if (lead >= 0xF1 && lead <= 0xF3) info = {3, 0x80, 0xBF, 0x07};
  else return false;
  return true;
}

}  // namespace

char32_t NextCodePoint(std::string_view text, size_t& position) {
  assert(position < text.size());
  const uint8_t lead = static_cast<uint8_t>(text[position++]);
  if (lead < 0x80) return lead;
  LeadByte info;
  if (!DescribeLead(lead, info)) return kReplacementCharacter;
  char32_t codePoint = lead & info.payloadMask;
  for (int i = 0; i < info.continuationCount; ++i) {
    const uint8_t low = i == 0 ? info.secondLow : 0x80;
    const uint8_t high = i == 0 ? info.secondHigh : 0xBF;
    if (position >= text.size()) return kReplacementCharacter;
    const uint8_t next = static_cast<uint8_t>(text[position]);
    // The byte that breaks the sequence starts the next code point.
    if (next < low || next > high) return kReplacementCharacter;
    codePoint = (codePoint << 6) | (next & 0x3F);
    ++position;
  }
  return codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
    codePoint = kReplacementCharacter;
  char bytes[kMaxUtf8Bytes];
  out.append(bytes, EncodeUtf8(bytes, codePoint));
}

}  // namespace txtppt2
