#include "properties/document_properties_reader.h"

#include <optional>
#include <string>
#include <unordered_map>

#include "properties/property_set.h"

namespace txtppt2 {

namespace {

// SummaryInformation's property ids.
enum : uint32_t {
  PIDSI_TITLE = 2,
  PIDSI_SUBJECT = 3,
  PIDSI_AUTHOR = 4,
  PIDSI_KEYWORDS = 5,
  PIDSI_COMMENTS = 6,
  PIDSI_LASTAUTHOR = 8,
  PIDSI_REVNUMBER = 9,
  PIDSI_CREATE_DTM = 12,
  PIDSI_LASTSAVE_DTM = 13,
  PIDSI_APPNAME = 18,
};

// DocumentSummaryInformation's property ids.
enum : uint32_t {
  PIDDSI_CATEGORY = 2,
  PIDDSI_SLIDECOUNT = 7,
  PIDDSI_NOTECOUNT = 8,
  PIDDSI_HIDDENCOUNT = 9,
  PIDDSI_MANAGER = 14,
  PIDDSI_COMPANY = 15,
};

// Ids of the user-defined section that are no user's properties: the
// locale and the behaviour flags.
constexpr uint32_t kLocalePropertyId = 0x80000000;
constexpr uint32_t kBehaviorPropertyId = 0x80000003;
// Names Office gives the properties it keeps for itself in the
// user-defined section (_PID_HLINKS, _PID_GUID, ...): no user's.
constexpr std::string_view kOfficeOwnPrefix = "_PID_";

void SetText(std::optional<std::string>& field, const PropertyValue& value) {
  const auto* text = std::get_if<std::string>(&value);
  if (text != nullptr && !text->empty()) field = *text;
}

// A time only from a FILETIME: a text where one is expected is no time.
void SetTime(std::optional<std::string>& field, const PropertyEntry& entry) {
  if (entry.type == kFileTimeType) SetText(field, entry.value);
}

void SetNumber(std::optional<int64_t>& field, const PropertyValue& value) {
  if (const auto* number = std::get_if<int64_t>(&value)) field = *number;
}

}  // namespace

void ReadSummaryInformation(std::string_view stream,
                            DocumentProperties& properties) {
  auto sections = ReadPropertySet(stream);
  const PropertySection* section =
      FindSection(sections, kSummaryInformationId);
  if (section == nullptr) return;
  for (const PropertyEntry& entry : section->properties) {
    switch (entry.id) {
      case PIDSI_TITLE: SetText(properties.title, entry.value); break;
      case PIDSI_SUBJECT: SetText(properties.subject, entry.value); break;
      case PIDSI_AUTHOR: SetText(properties.author, entry.value); break;
      case PIDSI_KEYWORDS: SetText(properties.keywords, entry.value); break;
      case PIDSI_COMMENTS: SetText(properties.comments, entry.value); break;
      case PIDSI_LASTAUTHOR: SetText(properties.lastSavedBy, entry.value); break;
      case PIDSI_REVNUMBER: SetText(properties.revision, entry.value); break;
      case PIDSI_CREATE_DTM: SetTime(properties.created, entry); break;
      case PIDSI_LASTSAVE_DTM: SetTime(properties.modified, entry); break;
      case PIDSI_APPNAME: SetText(properties.application, entry.value); break;
      default: break;
    }
  }
}

void ReadDocumentSummaryInformation(std::string_view stream,
                                    DocumentProperties& properties) {
  auto sections = ReadPropertySet(stream);
  if (const PropertySection* section =
          FindSection(sections, kDocumentSummaryInformationId)) {
    for (const PropertyEntry& entry : section->properties) {
      switch (entry.id) {
        case PIDDSI_CATEGORY: SetText(properties.category, entry.value); break;
        case PIDDSI_MANAGER: SetText(properties.manager, entry.value); break;
        case PIDDSI_COMPANY: SetText(properties.company, entry.value); break;
        case PIDDSI_SLIDECOUNT: SetNumber(properties.slides, entry.value); break;
        case PIDDSI_NOTECOUNT: SetNumber(properties.notes, entry.value); break;
        case PIDDSI_HIDDENCOUNT:
          SetNumber(properties.hiddenSlides, entry.value);
          break;
        default: break;
      }
    }
  }
  const PropertySection* user = FindSection(sections, kUserDefinedPropertiesId);
  if (user == nullptr) return;
  std::unordered_map<uint32_t, const std::string*> names;
  for (const DictionaryEntry& entry : user->dictionary)
    names.emplace(entry.id, &entry.name);  // the first of a repeated id wins
  for (const PropertyEntry& entry : user->properties) {
    if (entry.id == kLocalePropertyId || entry.id == kBehaviorPropertyId)
      continue;
    auto name = names.find(entry.id);
    if (name == names.end() || name->second->starts_with(kOfficeOwnPrefix))
      continue;
    properties.custom.push_back({*name->second, entry.value});
  }
}

}  // namespace txtppt2
