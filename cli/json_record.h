// --format json: one JSON object per input, on a line of its own (JSON
// Lines), in the order of the inputs:
//   {"path": "talk.ppt", "status": "ok", "format": "ppt", "error": null,
//    "errno": null, "code": null, "text": "..."}
// status and format are the file's verdict; error is the problem in words
// (null when ok); errno the system's name for it ("ENOENT") when the file
// is unreadable; code the library's error code when its converter failed;
// text the text as UTF-8 (null when there is none).
#ifndef TXTPPT2_CLI_JSON_RECORD_H_
#define TXTPPT2_CLI_JSON_RECORD_H_

#include <string>
#include <string_view>

#include "file_conversion.h"

namespace txtppt2::cli {

// A JSON string literal of text: bytes outside valid UTF-8 become U+FFFD,
// control characters \uXXXX escapes.
std::string JsonString(std::string_view text);

// The record's line, with its LF; utf8Text is the text already as UTF-8.
std::string JsonRecord(std::string_view path, const FileConversion& conversion,
                       std::string_view utf8Text);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_JSON_RECORD_H_
