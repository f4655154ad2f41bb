#include "api/file_presentation.h"

#include "api/file_inspection.h"
#include "api/file_text.h"
#include "api/presentation_extraction.h"
#include "identify/salvaged_text.h"
#include "model/utf8_text.h"

namespace txtppt2 {
namespace {

// A deck of one slide holding text that has no slides to go by: a
// PowerPoint 95 file's, or what survives of a damaged deck.
Presentation OneSlideOf(std::u16string_view text) {
  Presentation deck;
  Slide slide;
  slide.number = 1;
  // The text's paragraphs end with CR LF; the model's with LF.
  AppendUtf16Lines(slide.text, text.data(), text.size());
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
    // A file saved for PowerPoint 95 and 97 at once has its slides in the
    // 97 deck, as the complete text reads it; a PowerPoint 95 file alone is
    // one slide of its text, with the property sets read as for any deck.
    if (inspection.holds97Deck) {
      PresentationExtraction extraction = ExtractPresentation(source);
      if (extraction.ok) {
        result.presentation = std::move(extraction.presentation);
        return result;
      }
    }
    result.presentation = OneSlideOf(inspection.powerPoint95Text);
    if (auto properties = ExtractProperties(source))
      result.presentation->properties = std::move(*properties);
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
