#include "render/json_builder.h"

#include <charconv>
#include <cmath>

#include "render/utf8_scan.h"

namespace txtppt2 {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendUnicodeEscape(std::string& out, char32_t codePoint) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHexDigits[(codePoint >> shift) & 0xF];
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (size_t position = 0; position < text.size();) {
    const char32_t codePoint = NextCodePoint(text, position);
    switch (codePoint) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (codePoint < 0x20 || codePoint == 0x2028 || codePoint == 0x2029)
          AppendUnicodeEscape(out, codePoint);
        else
          AppendUtf8(out, codePoint);
    }
  }
  out += '"';
}

JsonBuilder& JsonBuilder::Open(char bracket) {
  BeforeValue();
  out += bracket;
  afterValue = false;
  return *this;
}

JsonBuilder& JsonBuilder::Close(char bracket) {
  out += bracket;
  afterValue = true;
  return *this;
}

void JsonBuilder::BeforeValue() {
  if (afterValue) out += ',';
}

JsonBuilder& JsonBuilder::Key(std::string_view name) {
  BeforeValue();
  AppendJsonString(out, name);
  out += ':';
  afterValue = false;
  return *this;
}

JsonBuilder& JsonBuilder::String(std::string_view text) {
  BeforeValue();
  AppendJsonString(out, text);
  afterValue = true;
  return *this;
}

JsonBuilder& JsonBuilder::Null() {
  BeforeValue();
  out += "null";
  afterValue = true;
  return *this;
}

JsonBuilder& JsonBuilder::Bool(bool value) {
  BeforeValue();
  out += value ? "true" : "false";
  afterValue = true;
  return *this;
}

JsonBuilder& JsonBuilder::Integer(int64_t value) {
  BeforeValue();
  out += std::to_string(value);
  afterValue = true;
  return *this;
}

JsonBuilder& JsonBuilder::Real(double value) {
  if (!std::isfinite(value)) return Null();
  BeforeValue();
  char digits[32];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  std::string_view written(digits, error == std::errc() ? end - digits : 0);
  out += written;
  if (written.find_first_of(".e") == std::string_view::npos) out += ".0";
  afterValue = true;
  return *this;
}

JsonBuilder& JsonBuilder::OptionalString(
    const std::optional<std::string>& text) {
  return text ? String(*text) : Null();
}

JsonBuilder& JsonBuilder::OptionalInteger(const std::optional<int64_t>& value) {
  return value ? Integer(*value) : Null();
}

}  // namespace txtppt2
