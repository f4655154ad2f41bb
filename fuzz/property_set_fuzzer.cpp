// The property set reader over arbitrary bytes, as the
// "\005SummaryInformation" and "\005DocumentSummaryInformation" streams:
// at most two sections, every text valid UTF-8, the text no more than a
// small multiple of the input, and dates in their one ISO 8601 form.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "properties/document_properties_reader.h"
#include "properties/property_set.h"
#include "properties/property_set_extent.h"

namespace {

using txtppt2::fuzz::Require;
using txtppt2::fuzz::RequireValidUtf8;

// "YYYY-MM-DDTHH:MM:SSZ"
bool IsIsoTime(const std::string& text) {
  const std::string_view shape = "dddd-dd-ddTdd:dd:ddZ";
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    bool digit = text[i] >= '0' && text[i] <= '9';
    if (shape[i] == 'd' ? !digit : text[i] != shape[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view stream(reinterpret_cast<const char*>(data), size);
  // Each section decodes at most twice its size plus 4096 bytes, each byte
  // at most three bytes of UTF-8; the dictionary's names besides.
  const size_t textLimit = 2 * 3 * (2 * size + 4096);
  auto sections = txtppt2::ReadPropertySet(stream);
  Require(sections.size() <= 2, "more than two sections read");
  size_t textBytes = 0;
  for (const auto& section : sections) {
    for (const auto& entry : section.dictionary) {
      RequireValidUtf8(entry.name, "a dictionary name");
      textBytes += entry.name.size();
    }
    for (const auto& entry : section.properties)
      if (const auto* text = std::get_if<std::string>(&entry.value)) {
        RequireValidUtf8(*text, "a text value");
        textBytes += text->size();
      }
  }
  Require(textBytes <= textLimit, "the text outgrows the input");

  txtppt2::DocumentProperties properties;
  txtppt2::ReadSummaryInformation(stream, properties);
  txtppt2::ReadDocumentSummaryInformation(stream, properties);
  for (const auto* time : {&properties.created, &properties.modified})
    Require(!*time || IsIsoTime(**time), "a date not in ISO 8601 form");
  for (const auto* text :
       {&properties.title, &properties.author, &properties.company})
    Require(!*text || (!(*text)->empty() && (*text)->size() <= textLimit),
            "an empty or oversized text property");
  for (const auto& custom : properties.custom)
    RequireValidUtf8(custom.name, "a custom property's name");

  // The extent told from a window keeps every section, property id and
  // type (the values may differ only where one overruns its run).
  uint64_t extent =
      txtppt2::PropertySetExtent(stream.substr(0, 512), stream.size());
  Require(extent <= size, "an extent past the stream");
  auto part = txtppt2::ReadPropertySet(stream.substr(0, extent));
  Require(part.size() == sections.size(), "a section lost to the extent");
  for (size_t i = 0; i < part.size(); ++i) {
    const auto& kept = part[i].properties;
    const auto& all = sections[i].properties;
    Require(kept.size() == all.size(), "a property lost to the extent");
    for (size_t j = 0; j < kept.size(); ++j)
      Require(kept[j].id == all[j].id && kept[j].type == all[j].type,
              "a property's type lost to the extent");
  }
  return 0;
}
