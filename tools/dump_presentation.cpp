// Prints the presentation model of each file given as one JSON object a
// line, with the keys of the command's JSON: path, status, error, code,
// properties, slides (with their tables), masters. The tests' view of the model (the POI
// comparison, golden files), independent of the command's renderers.
//
//   txtppt2_dump_presentation FILE...
#include <cstdint>
#include <cstdio>
#include <string>
#include <variant>

#include "api/presentation_extraction.h"

namespace {

using txtppt2::Presentation;

void Quote(std::string& out, const std::string& text) {
  out.push_back('"');
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
}

void Key(std::string& out, const char* name) {
  if (out.back() != '{') out.push_back(',');
  Quote(out, name);
  out.push_back(':');
}

void Text(std::string& out, const char* name, const std::string& value) {
  Key(out, name);
  Quote(out, value);
}

template <typename T>
void Optional(std::string& out, const char* name, const std::optional<T>& value) {
  Key(out, name);
  if (!value) {
    out += "null";
  } else if constexpr (std::is_same_v<T, std::string>) {
    Quote(out, *value);
  } else {
    out += std::to_string(*value);
  }
}

void Value(std::string& out, const txtppt2::PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    Quote(out, *text);
  } else if (const auto* flag = std::get_if<bool>(&value)) {
    out += *flag ? "true" : "false";
  } else if (const auto* number = std::get_if<int64_t>(&value)) {
    out += std::to_string(*number);
  } else if (const auto* real = std::get_if<double>(&value)) {
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%.17g", *real);
    out += formatted;
  } else {
    out += "null";
  }
}

void Properties(std::string& out, const txtppt2::DocumentProperties& p) {
  out += "{";
  Optional(out, "title", p.title);
  Optional(out, "subject", p.subject);
  Optional(out, "author", p.author);
  Optional(out, "keywords", p.keywords);
  Optional(out, "comments", p.comments);
  Optional(out, "last_saved_by", p.lastSavedBy);
  Optional(out, "revision", p.revision);
  Optional(out, "application", p.application);
  Optional(out, "company", p.company);
  Optional(out, "category", p.category);
  Optional(out, "manager", p.manager);
  Optional(out, "created", p.created);
  Optional(out, "modified", p.modified);
  Optional(out, "slides", p.slides);
  Optional(out, "notes", p.notes);
  Optional(out, "hidden_slides", p.hiddenSlides);
  Key(out, "custom");
  out += "{";
  for (const auto& custom : p.custom) {
    Key(out, custom.name.c_str());
    Value(out, custom.value);
  }
  out += "}}";
}

void Slides(std::string& out, const Presentation& presentation) {
  out += "[";
  for (const auto& slide : presentation.slides) {
    if (out.back() != '[') out.push_back(',');
    out += "{";
    Key(out, "number");
    out += std::to_string(slide.number);
    Optional(out, "title", slide.title);
    Text(out, "text", slide.text);
    Text(out, "notes", slide.notes);
    Key(out, "hidden");
    out += slide.hidden ? "true" : "false";
    Key(out, "links");
    out += "[";
    for (const auto& link : slide.links) {
      if (out.back() != '[') out.push_back(',');
      out += "{";
      Text(out, "text", link.text);
      Text(out, "url", link.url);
      out += "}";
    }
    out += "]";
    Key(out, "comments");
    out += "[";
    for (const auto& comment : slide.comments) {
      if (out.back() != '[') out.push_back(',');
      out += "{";
      Text(out, "author", comment.author);
      Text(out, "initials", comment.initials);
      Text(out, "text", comment.text);
      Optional(out, "date", comment.date);
      out += "}";
    }
    out += "]";
    Key(out, "headers");
    out += "[";
    for (const auto& header : slide.headers) {
      if (out.back() != '[') out.push_back(',');
      out += "{";
      Text(out, "place", header.place);
      Text(out, "kind", header.kind);
      Text(out, "text", header.text);
      out += "}";
    }
    out += "]";
    Key(out, "tables");
    out += "[";
    for (const auto& table : slide.tables) {
      out += out.back() == '[' ? "[" : ",[";
      for (const auto& row : table.rows) {
        out += out.back() == '[' ? "[" : ",[";
        for (const auto& cell : row) {
          if (out.back() != '[') out.push_back(',');
          Quote(out, cell);
        }
        out += "]";
      }
      out += "]";
    }
    out += "]}";
  }
  out += "]";
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    auto extraction = txtppt2::ExtractPresentation(txtppt2::PathSource{argv[i]});
    std::string out = "{";
    Text(out, "path", argv[i]);
    Text(out, "status", extraction.ok ? "ok" : "error");
    Key(out, "error");
    if (extraction.ok)
      out += "null";
    else
      Quote(out, extraction.message);
    Key(out, "code");
    out += extraction.ok ? "null" : std::to_string(extraction.code);
    if (extraction.ok) {
      Key(out, "properties");
      Properties(out, extraction.presentation.properties);
      Key(out, "slides");
      Slides(out, extraction.presentation);
      Key(out, "masters");
      out += "[";
      for (const auto& master : extraction.presentation.masters) {
        if (out.back() != '[') out.push_back(',');
        Quote(out, master);
      }
      out += "]";
    }
    out += "}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
  }
  return 0;
}
