// The deck as data from a path or a memory image, for the command and the
// Python module: the model and the complete text come from one walk.
#ifndef TXTPPT2_API_PRESENTATION_EXTRACTION_H_
#define TXTPPT2_API_PRESENTATION_EXTRACTION_H_

#include <cstdint>
#include <optional>
#include <string>

#include "api/isolated_conversion.h"  // Source
#include "model/presentation.h"

namespace txtppt2 {

// On failure `ok` is false and `code` and `message` are those the exports
// would report for the same source.
struct PresentationExtraction {
  bool ok = false;
  // The slides come from a mended chain of edits: the complete text of the
  // same source walks every record instead, so it is no longer the slides'
  // text one after another.
  bool mended = false;
  uint32_t code{};
  std::string message;
  Presentation presentation;
};

PresentationExtraction ExtractPresentation(const Source& source);

// The property sets alone, for a file whose slides are not walked (a
// PowerPoint 95 file): the same reading as ExtractPresentation's; nothing
// where the source cannot be opened as a compound file.
std::optional<DocumentProperties> ExtractProperties(const Source& source);

}  // namespace txtppt2

#endif  // TXTPPT2_API_PRESENTATION_EXTRACTION_H_
