#include "properties/property_set.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "model/utf8_text.h"
#include "properties/bounded_bytes.h"
#include "properties/code_page_text.h"
#include "properties/file_time.h"

namespace txtppt2 {

using namespace property_set_layout;

namespace {

constexpr uint16_t kCodePageUtf16 = 1200;

// Value types (VARENUM) read as scalars.
enum : uint16_t {
  VT_EMPTY = 0x00,
  VT_I2 = 0x02,
  VT_I4 = 0x03,
  VT_R4 = 0x04,
  VT_R8 = 0x05,
  VT_CY = 0x06,
  VT_DATE = 0x07,
  VT_BSTR = 0x08,
  VT_BOOL = 0x0B,
  VT_I1 = 0x10,
  VT_UI1 = 0x11,
  VT_UI2 = 0x12,
  VT_UI4 = 0x13,
  VT_I8 = 0x14,
  VT_UI8 = 0x15,
  VT_INT = 0x16,
  VT_UINT = 0x17,
  VT_LPSTR = 0x1E,
  VT_LPWSTR = 0x1F,
  VT_FILETIME = 0x40,
};

// The bytes decoded per section may reach this multiple of its size, plus
// the floor, before the rest of its values are left empty.
constexpr size_t kDecodeFactor = 2;
constexpr size_t kDecodeFloor = 4096;

// A bounded view of one section's bytes; every read is checked.
using SectionBytes = BoundedBytes;

// Up to the first NUL.
std::string_view CutAtNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

std::string_view CutUtf16AtNul(std::string_view bytes) {
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    if (bytes[i] == 0 && bytes[i + 1] == 0) return bytes.substr(0, i);
  return bytes.substr(0, bytes.size() & ~size_t{1});
}

// Text in the section's code page: UTF-16LE for 1200, else 8-bit text.
std::string DecodeCodePage(std::string_view text, uint16_t codePage,
                           CodePageDecoder& decoder) {
  std::string out;
  if (codePage == kCodePageUtf16) {
    AppendUtf16Le(out, CutUtf16AtNul(text));
    return out;
  }
  return decoder.Decode(CutAtNul(text));
}

PropertyValue TimeValue(std::optional<std::string> iso) {
  if (!iso) return std::monostate{};
  return std::move(*iso);
}

}  // namespace

bool DecodesValueType(uint16_t type) {
  switch (type) {
    case VT_I2: case VT_UI2: case VT_I1: case VT_UI1: case VT_I4:
    case VT_INT: case VT_UI4: case VT_UINT: case VT_I8: case VT_UI8:
    case VT_BOOL: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_FILETIME: case VT_LPSTR: case VT_BSTR: case VT_LPWSTR:
      return true;
    default:
      return false;
  }
}

namespace {

// Reads one section: its code page and dictionary first (they may stand
// anywhere in the table), then the other values in table order.
class SectionReader {
 public:
  explicit SectionReader(std::string_view bytes)
      : section(bytes),
        decodeBudget(kDecodeFactor * bytes.size() + kDecodeFloor) {}

  void Read(PropertySection& out) {
    auto declared = section.U32(4);
    if (!declared || section.Size() < kSectionHeaderSize) return;
    size_t count = std::min<size_t>(
        *declared, (section.Size() - kSectionHeaderSize) / kPropertyEntrySize);
    std::vector<std::pair<uint32_t, uint32_t>> table;  // id, offset
    table.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      size_t at = kSectionHeaderSize + i * kPropertyEntrySize;
      table.emplace_back(*section.U32(at), *section.U32(at + 4));
    }
    for (const auto& [id, offset] : table) {
      if (id != kCodePagePropertyId || out.codePage != 0) continue;
      auto type = section.U16(offset);
      auto value = section.U16(offset + kValueHeaderSize);
      if (type && value && (*type == VT_I2 || *type == VT_UI2))
        out.codePage = *value;
    }
    codePage = out.codePage;
    decoder.emplace(codePage);
    for (const auto& [id, offset] : table) {
      if (id == kDictionaryPropertyId && out.dictionary.empty())
        ReadDictionary(offset, out.dictionary);
      else if (id != kDictionaryPropertyId && id != kCodePagePropertyId)
        out.properties.push_back(
            {id, section.U16(offset).value_or(0), ReadValue(offset)});
    }
  }

 private:
  // Takes cost from the decode budget; false once it is spent.
  bool Spend(size_t cost) {
    if (cost > decodeBudget) {
      decodeBudget = 0;
      return false;
    }
    decodeBudget -= cost;
    return true;
  }

  // Decodes the types DecodesValueType names, and no others.
  PropertyValue ReadValue(size_t offset) {
    auto type = section.U16(offset);
    if (!type) return std::monostate{};
    size_t at = offset + kValueHeaderSize;
    switch (*type) {
      case VT_I2:
        if (auto v = section.U16(at)) return int64_t{static_cast<int16_t>(*v)};
        break;
      case VT_UI2:
        if (auto v = section.U16(at)) return int64_t{*v};
        break;
      case VT_I1:
        if (section.Has(at, 1))
          return int64_t{static_cast<int8_t>(section.Slice(at, 1)[0])};
        break;
      case VT_UI1:
        if (section.Has(at, 1))
          return int64_t{static_cast<uint8_t>(section.Slice(at, 1)[0])};
        break;
      case VT_I4:
      case VT_INT:
        if (auto v = section.U32(at)) return int64_t{static_cast<int32_t>(*v)};
        break;
      case VT_UI4:
      case VT_UINT:
        if (auto v = section.U32(at)) return int64_t{*v};
        break;
      case VT_I8:
      case VT_UI8:
        if (auto v = section.U64(at)) return static_cast<int64_t>(*v);
        break;
      case VT_BOOL:
        if (auto v = section.U16(at)) return *v != 0;
        break;
      case VT_R4:
        if (auto v = section.U32(at)) {
          float real;
          uint32_t bits = *v;
          std::memcpy(&real, &bits, sizeof real);
          return double{real};
        }
        break;
      case VT_R8:
        if (auto v = section.U64(at)) return Real(*v);
        break;
      case VT_CY:
        if (auto v = section.U64(at))
          return static_cast<double>(static_cast<int64_t>(*v)) / 10000.0;
        break;
      case VT_DATE:
        if (auto v = section.U64(at)) return TimeValue(OleDateToIso(Real(*v)));
        break;
      case VT_FILETIME:
        if (auto v = section.U64(at)) return TimeValue(FileTimeToIso(*v));
        break;
      case VT_LPSTR:
      case VT_BSTR:
        return ReadCodePageString(at);
      case VT_LPWSTR:
        return ReadUnicodeString(at);
      default:
        break;
    }
    return std::monostate{};
  }

  static double Real(uint64_t bits) {
    double real;
    std::memcpy(&real, &bits, sizeof real);
    return real;
  }

  // A byte count, then the bytes in the section's code page.
  PropertyValue ReadCodePageString(size_t at) {
    auto size = section.U32(at);
    if (!size) return std::monostate{};
    std::string_view bytes = section.Slice(at + 4, *size);
    if (!Spend(bytes.size())) return std::monostate{};
    return DecodeCodePage(bytes, codePage, *decoder);
  }

  // A count of UTF-16 units, then the units.
  PropertyValue ReadUnicodeString(size_t at) {
    auto units = section.U32(at);
    if (!units) return std::monostate{};
    std::string_view bytes = section.Slice(at + 4, uint64_t{*units} * 2);
    if (!Spend(bytes.size())) return std::monostate{};
    std::string text;
    AppendUtf16Le(text, CutUtf16AtNul(bytes));
    return text;
  }

  // An entry count, then per entry a property id, a character count and
  // the name: UTF-16 padded to 4 bytes where the code page is UTF-16,
  // otherwise bytes in the code page. Entries stop where the bytes do.
  void ReadDictionary(size_t offset, std::vector<DictionaryEntry>& out) {
    auto count = section.U32(offset);
    if (!count) return;
    size_t at = offset + 4;
    bool wide = codePage == kCodePageUtf16;
    for (uint32_t i = 0; i < *count; ++i) {
      auto id = section.U32(at);
      auto length = section.U32(at + 4);
      if (!id || !length) return;
      uint64_t nameBytes = wide ? uint64_t{*length} * 2 : *length;
      if (!section.Has(at + 8, nameBytes) || !Spend(nameBytes)) return;
      std::string_view name = section.Slice(at + 8, nameBytes);
      out.push_back({*id, DecodeCodePage(name, codePage, *decoder)});
      at += 8 + nameBytes;
      if (wide) at = (at + 3) & ~size_t{3};
    }
  }

  SectionBytes section;
  size_t decodeBudget;
  uint16_t codePage = 0;
  std::optional<CodePageDecoder> decoder;  // made once the code page is known
};

}  // namespace

std::vector<PropertySection> ReadPropertySet(std::string_view stream) {
  std::vector<PropertySection> sections;
  SectionBytes bytes(stream);
  auto mark = bytes.U16(0);
  auto declared = bytes.U32(kSectionCountOffset);
  if (!mark || *mark != kByteOrderMark || !declared) return sections;
  size_t count = std::min<size_t>(
      {*declared, (stream.size() - kHeaderSize) / kSectionEntrySize,
       kMaxSections});
  for (size_t i = 0; i < count; ++i) {
    size_t entry = kHeaderSize + i * kSectionEntrySize;
    size_t offset = *bytes.U32(entry + 16);
    auto size = bytes.U32(offset);
    if (!size || *size < kSectionHeaderSize) continue;
    PropertySection& section = sections.emplace_back();
    std::memcpy(section.formatId.data(), stream.data() + entry, 16);
    SectionReader(stream.substr(offset, *size)).Read(section);
  }
  return sections;
}

const PropertySection* FindSection(const std::vector<PropertySection>& sections,
                                   const FormatId& formatId) {
  for (const PropertySection& section : sections)
    if (section.formatId == formatId) return &section;
  return nullptr;
}

}  // namespace txtppt2
