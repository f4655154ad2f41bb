#include "render/xml_text.h"

#include "render/utf8_scan.h"

namespace txtppt2 {
namespace {

bool IsXmlCharacter(char32_t c) {
  return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c < 0xFFFE);
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view text, bool inAttribute) {
  for (size_t position = 0; position < text.size();) {
    const char32_t codePoint = NextCodePoint(text, position);
    switch (codePoint) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      case '\r': out += "&#13;"; break;
      case '\n': out += inAttribute ? "&#10;" : "\n"; break;
      case '\t': out += inAttribute ? "&#9;" : "\t"; break;
      default:
        // Code points past U+FFFF are XML characters too; a surrogate
        // never comes out of NextCodePoint.
        AppendUtf8(out, codePoint >= 0x10000 || IsXmlCharacter(codePoint)
                            ? codePoint
                            : kReplacementCharacter);
    }
  }
}

}  // namespace txtppt2
