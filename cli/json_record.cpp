#include "json_record.h"

#include <cstdio>

namespace txtppt2::cli {
namespace {

// The length of the valid UTF-8 sequence at text[i], or 0.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t lead = byte(i);
  size_t length = lead < 0x80                    ? 1
                  : lead >= 0xC2 && lead <= 0xDF ? 2
                  : (lead & 0xF0) == 0xE0        ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  // No overlong forms, surrogates or points past U+10FFFF.
  if (length == 3 && ((lead == 0xE0 && byte(i + 1) < 0xA0) ||
                      (lead == 0xED && byte(i + 1) >= 0xA0)))
    return 0;
  if (length == 4 && ((lead == 0xF0 && byte(i + 1) < 0x90) ||
                      (lead == 0xF4 && byte(i + 1) >= 0x90)))
    return 0;
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    const size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (length > 1) {
      out.append(text.substr(i, length));
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<uint8_t>(c));
      out += escape;
    } else {
      out += c;
    }
    i += length;
  }
  return out + "\"";
}

std::string JsonRecord(std::string_view path, const FileConversion& conversion,
                       std::string_view utf8Text) {
  const FileVerdict& verdict = conversion.verdict;
  const bool ok = verdict.status == FileStatus::kOk;
  const bool hasText = ok || !utf8Text.empty();
  std::string record = "{\"path\": " + JsonString(path);
  record += ", \"status\": " + JsonString(FileStatusName(verdict.status));
  record += ", \"format\": " +
            (verdict.format.empty() ? "null" : JsonString(verdict.format));
  record +=
      ", \"error\": " + (ok ? "null" : JsonString(ProblemText(conversion)));
  record += ", \"errno\": " +
            (verdict.status == FileStatus::kUnreadable && verdict.osError != 0
                 ? JsonString(ErrnoName(verdict.osError))
                 : std::string("null"));
  record +=
      ", \"code\": " + (conversion.code != 0 ? std::to_string(conversion.code)
                                             : std::string("null"));
  record += ", \"text\": " + (hasText ? JsonString(utf8Text) : "null");
  return record + "}\n";
}

}  // namespace txtppt2::cli
