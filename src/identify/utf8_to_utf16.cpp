#include "identify/utf8_to_utf16.h"

#include "platform/utf8.h"

namespace txtppt2 {

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < text.size();) {
    char32_t point;
    const int length = DecodeUtf8(bytes + i, text.size() - i, &point);
    if (length == 0) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (point >= 0x10000) {
      point -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(point));
    }
    i += static_cast<size_t>(length);
  }
  return out;
}

}  // namespace txtppt2
