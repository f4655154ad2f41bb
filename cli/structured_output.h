// One input as the deck as data (--format json, markdown or xhtml): read
// through the library's core, linked into the command, and rendered by the
// renderers the Python module shares.
#ifndef TXTPPT2_CLI_STRUCTURED_OUTPUT_H_
#define TXTPPT2_CLI_STRUCTURED_OUTPUT_H_

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
// On failure `ok` is false with the message and code, and `text` is the
// file's JSON record for json (empty for markdown and xhtml).
// REQUIRES: format is not OutputFormat::kText.
Conversion ConvertStructured(const std::string& input,
                             const std::string* standardInput,
                             const std::string& readError, OutputFormat format);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_STRUCTURED_OUTPUT_H_
