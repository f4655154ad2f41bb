#include "identify/powerpoint95_text.h"

#include "platform/windows_1252.h"

namespace txtppt2 {

std::u16string PowerPoint95Text(std::span<const uint8_t> textContent) {
  std::u16string text;
  text.reserve(textContent.size() + textContent.size() / 8);
  bool lastWasCr = false;
  for (uint8_t byte : textContent) {
    if (byte == 0) break;
    if (byte == '\n' && lastWasCr) {
      lastWasCr = false;
      continue;  // the LF of a CR LF pair, already written
    }
    lastWasCr = byte == '\r';
    if (byte == '\r' || byte == '\v' || byte == '\n') {
      text += u"\r\n";
      continue;
    }
    const char narrow = static_cast<char>(byte);
    WCHAR wide = 0;
    Windows1252ToUtf16(&narrow, 1, &wide, 1);
    text.push_back(static_cast<char16_t>(wide));
  }
  if (!text.empty() && !text.ends_with(u"\r\n")) text += u"\r\n";
  return text;
}

}  // namespace txtppt2
