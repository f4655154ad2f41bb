// PropertySetReader: the sections of an OLE property set stream (the
// "\005SummaryInformation" kind), each with its typed values decoded.
//
// Layout: a 28-byte header (byte order mark 0xFFFE, version, system id,
// class id, section count), then a format id and an offset per section.
// Each section starts with its byte size and property count, then a table
// of property id and offset (from the section's start) pairs; each value
// starts with its type (16 bits) and two bytes of padding.
//
// Strings come out as UTF-8: VT_LPSTR in the section's code page (property
// 1: 1200 is UTF-16LE, others as properties/code_page_text.h reads them),
// VT_LPWSTR as UTF-16LE, both cut at their first NUL; FILETIME and DATE as
// ISO 8601 UTC text. Types without a scalar value (vectors, blobs,
// clipboard data) give an empty value.
//
// Hostile input: every offset and count is checked against the bytes
// present, nothing recurses, and the bytes decoded per section are bounded
// by a multiple of its size, so that property ids sharing one long value do
// not multiply the output.
#ifndef TXTPPT2_PROPERTIES_PROPERTY_SET_H_
#define TXTPPT2_PROPERTIES_PROPERTY_SET_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/presentation.h"  // PropertyValue

namespace txtppt2 {

using FormatId = std::array<uint8_t, 16>;  // a GUID as stored

// The sections' format ids, in their stored byte order.
constexpr FormatId kSummaryInformationId = {
    0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
    0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr FormatId kDocumentSummaryInformationId = {
    0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
    0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};
constexpr FormatId kUserDefinedPropertiesId = {
    0x05, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
    0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

// The stream's layout.
namespace property_set_layout {
// Stream header: byte order, version, system id, class id, section count;
// then per section a format id and the section's offset.
constexpr uint16_t kByteOrderMark = 0xFFFE;
constexpr size_t kSectionCountOffset = 24;
constexpr size_t kHeaderSize = 28;
constexpr size_t kSectionEntrySize = 20;  // format id and offset
// A stream holds one section, or two (DocumentSummaryInformation's second
// holds the user-defined properties); more are not read, which keeps the
// work linear however many sections share the same bytes.
constexpr size_t kMaxSections = 2;
// Section header: byte size, property count; then id and offset pairs.
constexpr size_t kSectionHeaderSize = 8;
constexpr size_t kPropertyEntrySize = 8;
constexpr size_t kValueHeaderSize = 4;  // type and padding
}  // namespace property_set_layout

// Property ids with a meaning in every section.
constexpr uint32_t kDictionaryPropertyId = 0;
constexpr uint32_t kCodePagePropertyId = 1;

// The value types a reader of the properties tells apart.
constexpr uint16_t kFileTimeType = 0x0040;  // VT_FILETIME

struct PropertyEntry {
  uint32_t id{};
  uint16_t type{};  // the stored type (VT_*); 0 where it is unreadable
  PropertyValue value;
};

struct DictionaryEntry {
  uint32_t id{};
  std::string name;
};

struct PropertySection {
  FormatId formatId{};
  uint16_t codePage{};  // 0 where the section names none
  // In the order of the section's table; the code page and the dictionary
  // are not among them.
  std::vector<PropertyEntry> properties;
  std::vector<DictionaryEntry> dictionary;  // the names of property 0
};

// Whether ReadPropertySet decodes a value of the type (VT_*); the others
// come out empty whatever their bytes.
bool DecodesValueType(uint16_t type);

// The sections of the stream, in stored order; none where the stream is no
// property set. Never throws but for an exhausted allocation.
std::vector<PropertySection> ReadPropertySet(std::string_view stream);

// The first section of the given format id, or null.
const PropertySection* FindSection(const std::vector<PropertySection>& sections,
                                   const FormatId& formatId);

}  // namespace txtppt2

#endif  // TXTPPT2_PROPERTIES_PROPERTY_SET_H_
