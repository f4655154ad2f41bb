// One input as the deck as data (--format json, markdown or xhtml): read
// through the library's core, linked into the command, and rendered by the
// renderers the Python module shares.
#ifndef TXTPPT2_CLI_STRUCTURED_OUTPUT_H_
#define TXTPPT2_CLI_STRUCTURED_OUTPUT_H_

#include <optional>
#include <string>

#include "library_conversion.h"
#include "options.h"

namespace txtppt2::cli {

// The file name extension of --output-dir's files: ".txt", ".json", ".md"
// or ".html".
const char* OutputExtension(OutputFormat format);

// Converts `input`, a path, or standard input when it is
// kStandardInputName: then `standardInput` holds its bytes, or is null
// when it could not be read, for the reason in `readError`.
//
// The file is classified first (api/file_inspection.h): an encrypted deck
// is read with the password, a PowerPoint 95 file and a damaged deck that
// the slide model cannot read give their text as one slide. Unless the
// file is ok, `ok` is false with the problem in words in `message`; `text`
// is the file's JSON record for json, and for markdown and xhtml whatever
// deck could be read.
// REQUIRES: format is not OutputFormat::kText.
Conversion ConvertStructured(const std::string& input,
                             const std::string* standardInput,
                             const std::string& readError, OutputFormat format,
                             const std::optional<std::string>& password);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_STRUCTURED_OUTPUT_H_
