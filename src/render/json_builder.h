// JsonBuilder: writes one JSON text into a string, inserting the commas
// itself. Strings go through AppendJsonString, so that any input makes
// valid JSON in UTF-8.
#ifndef TXTPPT2_RENDER_JSON_BUILDER_H_
#define TXTPPT2_RENDER_JSON_BUILDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace txtppt2 {

// Appends text as a JSON string, quotes included: `"` and `\` escaped,
// LF, CR and TAB as \n, \r and \t, every other control character (and
// U+2028, U+2029, which JavaScript reads as line ends) as \uXXXX; a byte
// sequence that is not UTF-8 becomes U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);

// The caller keeps the nesting right: a Key before each member's value,
// an End for each Begin.
class JsonBuilder {
 public:
  JsonBuilder& BeginObject() { return Open('{'); }
  JsonBuilder& EndObject() { return Close('}'); }
  JsonBuilder& BeginArray() { return Open('['); }
  JsonBuilder& EndArray() { return Close(']'); }
  JsonBuilder& Key(std::string_view name);

  JsonBuilder& String(std::string_view text);
  JsonBuilder& Null();
  JsonBuilder& Bool(bool value);
  JsonBuilder& Integer(int64_t value);
  // NaN and the infinities, which JSON cannot write, become null. A whole
  // number keeps a ".0", so that it reads back as a real.
  JsonBuilder& Real(double value);
  JsonBuilder& OptionalString(const std::optional<std::string>& text);
  JsonBuilder& OptionalInteger(const std::optional<int64_t>& value);

  const std::string& Text() const { return out; }
  std::string Take() { return std::move(out); }

 private:
  JsonBuilder& Open(char bracket);
  JsonBuilder& Close(char bracket);
  // Writes the comma that separates this value from the one before.
  void BeforeValue();

  std::string out;
  bool afterValue = false;
};

}  // namespace txtppt2

#endif  // TXTPPT2_RENDER_JSON_BUILDER_H_
