// ExtractFilePresentation: a file's verdict and the deck as data in one
// call, for the command's --format json|markdown|xhtml and the Python
// module's extract_presentation: the file is classified first
// (file_inspection.h), an encrypted deck decrypted with the password, and
// a PowerPoint 95 file or a damaged deck that the slide model cannot read
// gives its text as one slide.
#ifndef TXTPPT2_API_FILE_PRESENTATION_H_
#define TXTPPT2_API_FILE_PRESENTATION_H_

#include <cstdint>
#include <optional>
#include <string>

#include "api/file_status.h"
#include "api/isolated_conversion.h"  // Source
#include "model/presentation.h"

namespace txtppt2 {

struct FilePresentation {
  FileVerdict verdict;
  // The library's code: the slide model's when it failed on a
  // presentation; for a file neither ok nor damaged, what the exports
  // report for the same bytes (0 where they read it, as an encrypted deck).
  uint32_t code{};
  // For kOk, and for kDamaged where anything could be read.
  std::optional<Presentation> presentation;
};

FilePresentation ExtractFilePresentation(
    const Source& source, const std::optional<std::string>& password);

}  // namespace txtppt2

#endif  // TXTPPT2_API_FILE_PRESENTATION_H_
