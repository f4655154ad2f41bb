#include "render/json_record.h"

#include <set>
#include <string_view>
#include <variant>

#include "render/json_builder.h"

namespace txtppt2 {
namespace {

void WriteValue(JsonBuilder& json, const PropertyValue& value) {
  std::visit(
      [&](const auto& held) {
        using Held = std::decay_t<decltype(held)>;
        if constexpr (std::is_same_v<Held, std::monostate>) json.Null();
        else if constexpr (std::is_same_v<Held, bool>) json.Bool(held);
        else if constexpr (std::is_same_v<Held, int64_t>) json.Integer(held);
        else if constexpr (std::is_same_v<Held, double>) json.Real(held);
        else json.String(held);
      },
      value);
}

// The user-defined properties as an object; where a damaged file names two
// properties alike, the first one counts.
void WriteCustom(JsonBuilder& json, const std::vector<CustomProperty>& custom) {
  std::set<std::string_view> written;
  json.BeginObject();
  for (const CustomProperty& property : custom) {
    if (!written.insert(property.name).second) continue;
    json.Key(property.name);
    WriteValue(json, property.value);
  }
  json.EndObject();
}

void WriteProperties(JsonBuilder& json, const DocumentProperties& p) {
  json.BeginObject();
  json.Key("title").OptionalString(p.title);
  json.Key("subject").OptionalString(p.subject);
  json.Key("author").OptionalString(p.author);
  json.Key("keywords").OptionalString(p.keywords);
  json.Key("comments").OptionalString(p.comments);
  json.Key("last_saved_by").OptionalString(p.lastSavedBy);
  json.Key("revision").OptionalString(p.revision);
  json.Key("application").OptionalString(p.application);
  json.Key("company").OptionalString(p.company);
  json.Key("category").OptionalString(p.category);
  json.Key("manager").OptionalString(p.manager);
  json.Key("created").OptionalString(p.created);
  json.Key("modified").OptionalString(p.modified);
  json.Key("slides").OptionalInteger(p.slides);
  json.Key("notes").OptionalInteger(p.notes);
  json.Key("hidden_slides").OptionalInteger(p.hiddenSlides);
  json.Key("custom");
  WriteCustom(json, p.custom);
  json.EndObject();
}

void WriteSlide(JsonBuilder& json, const Slide& slide) {
  json.BeginObject();
  json.Key("number").Integer(slide.number);
  json.Key("title").OptionalString(slide.title);
  json.Key("text").String(slide.text);
  json.Key("notes").String(slide.notes);
  json.Key("hidden").Bool(slide.hidden);
  json.Key("links").BeginArray();
  for (const Link& link : slide.links) {
    json.BeginObject();
    json.Key("text").String(link.text);
    json.Key("url").String(link.url);
    json.EndObject();
  }
  json.EndArray();
  json.Key("comments").BeginArray();
  for (const Comment& comment : slide.comments) {
    json.BeginObject();
    json.Key("author").String(comment.author);
    json.Key("initials").String(comment.initials);
    json.Key("text").String(comment.text);
    json.Key("date").OptionalString(comment.date);
    json.EndObject();
  }
  json.EndArray();
  json.Key("headers").BeginArray();
  for (const HeaderText& header : slide.headers) {
    json.BeginObject();
    json.Key("place").String(header.place);
    json.Key("kind").String(header.kind);
    json.Key("text").String(header.text);
    json.EndObject();
  }
  json.EndArray();
  json.Key("tables").BeginArray();
  for (const Table& table : slide.tables) {
    json.BeginArray();
    for (const auto& row : table.rows) {
      json.BeginArray();
      for (const std::string& cell : row) json.String(cell);
      json.EndArray();
    }
    json.EndArray();
  }
  json.EndArray();
  json.EndObject();
}

// The members "properties", "slides" and "masters" of an open object.
void WritePresentationMembers(JsonBuilder& json, const Presentation* deck) {
  if (deck == nullptr) {
    json.Key("properties").Null();
    json.Key("slides").Null();
    json.Key("masters").Null();
    return;
  }
  json.Key("properties");
  WriteProperties(json, deck->properties);
  json.Key("slides").BeginArray();
  for (const Slide& slide : deck->slides) WriteSlide(json, slide);
  json.EndArray();
  json.Key("masters").BeginArray();
  for (const std::string& master : deck->masters) json.String(master);
  json.EndArray();
}

}  // namespace

std::string RenderJsonRecord(const FileRecord& record) {
  JsonBuilder json;
  json.BeginObject();
  json.Key("path").String(record.path);
  json.Key("status").String(FileStatusName(record.verdict.status));
  if (record.verdict.format.empty()) json.Key("format").Null();
  else json.Key("format").String(record.verdict.format);
  if (record.verdict.error.empty()) json.Key("error").Null();
  else json.Key("error").String(record.verdict.error);
  // The system's name for why an unreadable file was refused.
  if (record.verdict.status == FileStatus::kUnreadable &&
      record.verdict.osError != 0)
    json.Key("errno").String(ErrnoName(record.verdict.osError));
  else
    json.Key("errno").Null();
  json.Key("code").Integer(record.code);
  WritePresentationMembers(json, record.presentation);
  json.EndObject();
  return json.Take() + "\n";
}

std::string RenderPresentationJson(const Presentation& presentation) {
  JsonBuilder json;
  json.BeginObject();
  WritePresentationMembers(json, &presentation);
  json.EndObject();
  return json.Take();
}

}  // namespace txtppt2
