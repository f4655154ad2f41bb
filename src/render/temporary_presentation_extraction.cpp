// TEMPORARY: stands in for the real ExtractPresentation until the model's
// extraction lands; splits the complete text at its slide separators.
// Delete when merging the real implementation.
#include <string>

#include "api/presentation_extraction.h"
#include "render/utf8_scan.h"

namespace txtppt2 {

PresentationExtraction ExtractPresentation(const Source& source) {
  PresentationExtraction result;
  SourceConversion converted = ConvertSource(source, kUnicode, kCompleteText);
  if (converted.block == nullptr) {
    result.code = converted.code;
    result.message = converted.message;
    return result;
  }
  result.ok = true;
  const auto* units = static_cast<const char16_t*>(converted.block.get());
  std::string text;
  for (uint32_t i = 0; i < converted.count / 2; ++i)
    if (units[i] != u'\r') AppendUtf8(text, units[i]);
  const std::string separator(30, '-');
  size_t start = 0;
  for (uint32_t number = 1; start <= text.size(); ++number) {
    size_t end = text.find(separator + "\n", start);
    Slide slide;
    slide.number = number;
    slide.text = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    size_t line = slide.text.find('\n');
    if (line != std::string::npos && line > 0) slide.title = slide.text.substr(0, line);
    result.presentation.slides.push_back(std::move(slide));
    if (end == std::string::npos) break;
    start = end + separator.size() + 1;
  }
  return result;
}

}  // namespace txtppt2
