#include "api/file_presentation.h"

#include "api/file_inspection.h"
#include "api/file_text.h"
#include "api/presentation_extraction.h"
#include "identify/salvaged_text.h"

namespace txtppt2 {
namespace {

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t point = text[i];
    if (point >= 0xD800 && point < 0xDC00 && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (point >= 0xD800 && point < 0xE000) {
      point = 0xFFFD;
    }
    if (point < 0x80) {
      out.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
      out.push_back(static_cast<char>(0xC0 | point >> 6));
      out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | point >> 12));
      out.push_back(static_cast<char>(0x80 | (point >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | point >> 18));
      out.push_back(static_cast<char>(0x80 | (point >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (point >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
  }
  return out;
}

// A deck of one slide holding text that has no slides to go by: a
// PowerPoint 95 file's, or what survives of a damaged deck.
Presentation OneSlideOf(std::u16string_view text) {
  Presentation deck;
  Slide slide;
  slide.number = 1;
  const std::string utf8 = Utf16ToUtf8(text);
  for (size_t i = 0; i < utf8.size(); ++i)  // paragraphs end with LF
    if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n'))
      slide.text.push_back(utf8[i]);
  deck.slides.push_back(std::move(slide));
  return deck;
}

}  // namespace

FilePresentation ExtractFilePresentation(
    const Source& source, const std::optional<std::string>& password) {
  FileInspection inspection = InspectFile(source, password);
  FilePresentation result;
  result.verdict = inspection.verdict;
  const FileStatus status = inspection.verdict.status;
  if (status != FileStatus::kOk && status != FileStatus::kDamaged) {
    // The exports' code for the same bytes, as the records have always
    // carried it.
    if (status != FileStatus::kUnreadable)
      result.code = ConvertSource(source, kUnicode, kExactText).code;
    return result;
  }
  if (inspection.verdict.format == "ppt95") {
    result.presentation = OneSlideOf(inspection.powerPoint95Text);
    return result;
  }
  const bool inMemory = !inspection.image.empty();
  if (inMemory && inspection.image.size() > UINT32_MAX) return result;
  PresentationExtraction extraction = ExtractPresentation(
      inMemory
          ? Source(MemorySource{inspection.image.data(),
                                static_cast<uint32_t>(inspection.image.size())})
          : source);
  if (extraction.ok) {
    result.presentation = std::move(extraction.presentation);
    return result;
  }
  result.code = extraction.code;
  if (status == FileStatus::kOk) {
    result.verdict.status = FileStatus::kDamaged;
    result.verdict.error = "damaged presentation: " + extraction.message;
    return result;
  }
  // What the text converter still reads of it, else the text atoms left.
  FileText text = ExtractFileText(source, kUnicode, kCompleteText, password);
  std::u16string salvaged(text.text.size() / 2, u'\0');
  for (size_t i = 0; i < salvaged.size(); ++i)
    salvaged[i] = static_cast<char16_t>(
        static_cast<uint8_t>(text.text[2 * i]) |
        static_cast<uint8_t>(text.text[2 * i + 1]) << 8);
  if (!salvaged.empty()) result.presentation = OneSlideOf(salvaged);
  return result;
}

}  // namespace txtppt2
