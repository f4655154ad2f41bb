// ExtractFileText: a file's verdict and its text in one call, for the
// command, the Python module and Dask. For a presentation that converts
// the text is exactly what the exports give for the same bytes (decrypted
// first when it was encrypted); for a PowerPoint 95 file, its plain text;
// for a damaged presentation, what could still be read (the converter's
// text of what survives, or else the text atoms left in its stream).
#ifndef TXTPPT2_API_FILE_TEXT_H_
#define TXTPPT2_API_FILE_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>

#include "api/file_inspection.h"

namespace txtppt2 {

struct FileText {
  FileVerdict verdict;
  // In the mode's encoding (UTF-16LE or Windows-1252), without terminator;
  // for kOk and kDamaged only.
  std::string text;
  // When the converter itself failed: its code and message, as the exports
  // would report them for these bytes.
  uint32_t code{};
  std::string message;
};

FileText ExtractFileText(const Source& source, OutputMode mode, TextScope scope,
                         const std::optional<std::string>& password);

// UTF-16 text as mode's bytes: UTF-16LE, or Windows-1252 the way the
// pure-text calls make it (best fit, composed accents, a space otherwise).
std::string EncodeText(std::u16string_view text, OutputMode mode);

}  // namespace txtppt2

#endif  // TXTPPT2_API_FILE_TEXT_H_
