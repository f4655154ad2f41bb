#include "output_encoding.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace txtppt2::cli {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
// The bits of four UTF-16LE units that are clear when all four are ASCII.
constexpr uint64_t kNonAsciiBits = 0xFF80FF80FF80FF80u;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char32_t UnitAt(std::string_view utf16le, size_t unitIndex) {
  auto byte = [&](size_t i) {
    return static_cast<char32_t>(static_cast<uint8_t>(utf16le[i]));
  };
  return byte(2 * unitIndex) | (byte(2 * unitIndex + 1) << 8);
}

// Writes c as UTF-8 at out and returns the end of what it wrote.
char* PutUtf8(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace

bool UsesUnicodeCall(Encoding encoding) {
  return encoding != Encoding::kCp1252;
}

std::string Utf16LeToUtf8(std::string_view utf16le) {
  // Written a piece at a time into a small buffer, with room left for the
  // longest sequence, and appended piece by piece.
  constexpr size_t kPiece = 4096;
  constexpr size_t kLongestSequence = 4;
  char piece[kPiece + kLongestSequence];
  size_t units = utf16le.size() / 2;
  std::string out;
  out.reserve(units + units / 2);
  char* end = piece;
  for (size_t i = 0; i < units; ++i) {
    // Four ASCII units at a time: no unit of the word above 0x7F.
    while (units - i >= 4 && end - piece <= static_cast<ptrdiff_t>(kPiece - 4)) {
      uint64_t word;
      std::memcpy(&word, utf16le.data() + 2 * i, sizeof word);
      if ((word & kNonAsciiBits) != 0) break;
      for (int k = 0; k < 4; ++k)
        *end++ = static_cast<char>(utf16le[2 * (i + k)]);
      i += 4;
    }
    if (i == units) break;
    char32_t unit = UnitAt(utf16le, i);
    if (unit < 0x80) {
      *end++ = static_cast<char>(unit);
    } else if (IsHighSurrogate(unit) && i + 1 < units &&
               IsLowSurrogate(UnitAt(utf16le, i + 1))) {
      char32_t low = UnitAt(utf16le, ++i);
      end = PutUtf8(end, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      end = PutUtf8(end, kReplacementCharacter);
    } else {
      end = PutUtf8(end, unit);
    }
    if (end - piece >= static_cast<ptrdiff_t>(kPiece)) {
      out.append(piece, end);
      end = piece;
    }
  }
  out.append(piece, end);
  return out;
}

void CrLfToLf(std::string& text, size_t unitWidth) {
  // In UTF-16LE a CR is "\r\0" and an LF "\n\0"; comparing whole units
  // keeps a CR byte that is half of another character from matching.
  auto isUnit = [&](size_t at, char c) {
    if (text[at] != c) return false;
    for (size_t k = 1; k < unitWidth; ++k)
      if (text[at + k] != '\0') return false;
    return true;
  };
  size_t units = text.size() / unitWidth;
  size_t kept = 0;
  for (size_t i = 0; i < units; ++i) {
    size_t at = i * unitWidth;
    if (i + 1 < units && isUnit(at, '\r') && isUnit(at + unitWidth, '\n'))
      continue;
    for (size_t k = 0; k < unitWidth; ++k) text[kept++] = text[at + k];
  }
  text.resize(kept);
}

std::string EncodeOutput(std::string converted, Encoding encoding,
                         bool lfLineEnds) {
  if (encoding == Encoding::kUtf8) converted = Utf16LeToUtf8(converted);
  if (lfLineEnds) CrLfToLf(converted, encoding == Encoding::kUtf16Le ? 2 : 1);
  return converted;
}

}  // namespace txtppt2::cli
