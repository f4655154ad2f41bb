#include "support/record_stream_builder.h"

namespace txtppt2::testing {

namespace {

using namespace record_types;

void PutU16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, static_cast<uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<uint16_t>(value >> 16));
}

}  // namespace

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) PutU16(bytes, static_cast<uint16_t>(unit));
  return bytes;
}

void RecordStreamBuilder::Header(uint16_t versionAndInstance, uint16_t type,
                                 uint32_t recLen) {
  PutU16(bytes_, versionAndInstance);
  PutU16(bytes_, type);
  PutU32(bytes_, recLen);
}

RecordStreamBuilder& RecordStreamBuilder::Container(uint16_t type,
                                                    uint32_t recLen,
                                                    uint16_t instance) {
  Header(static_cast<uint16_t>((instance << 4) | 0xF), type, recLen);
  return *this;
}

RecordStreamBuilder& RecordStreamBuilder::Atom(uint16_t type,
                                               std::string_view payload,
                                               uint16_t version) {
  Header(version, type, static_cast<uint32_t>(payload.size()));
  bytes_.append(payload);
  return *this;
}

RecordStreamBuilder& RecordStreamBuilder::AtomHeader(uint16_t type,
                                                     uint32_t recLen,
                                                     uint16_t version) {
  Header(version, type, recLen);
  return *this;
}

RecordStreamBuilder& RecordStreamBuilder::TextChars(std::u16string_view text) {
  return Atom(kTextCharsAtom, Utf16Le(text));
}

RecordStreamBuilder& RecordStreamBuilder::CString(std::u16string_view text) {
  return Atom(kCString, Utf16Le(text));
}

RecordStreamBuilder& RecordStreamBuilder::TextBytes(std::string_view bytes) {
  return Atom(kTextBytesAtom, bytes);
}

RecordStreamBuilder& RecordStreamBuilder::Raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

}  // namespace txtppt2::testing
