// The deck as JSON: the object the command writes for each input file with
// --format json (one line of JSON Lines), and the part of it that the
// Python module's Presentation.to_dict() gives.
//
// Keys: "path", "status", "format", "error", "errno" (the system's name
// for why an unreadable file was refused), "code", then "properties"
// (title, subject, author, keywords, comments, last_saved_by, revision,
// application, company, category, manager, created, modified, slides,
// notes, hidden_slides, custom), "slides" (number, title, text, notes,
// hidden, links [{text, url}], comments [{author, initials, text, date}],
// headers [{place, kind, text}]) and "masters". Absent values are null;
// a file that failed has null properties, slides and masters.
#ifndef TXTPPT2_RENDER_JSON_RECORD_H_
#define TXTPPT2_RENDER_JSON_RECORD_H_

#include <cstdint>
#include <string>

#include "api/file_status.h"
#include "model/presentation.h"

namespace txtppt2 {

// What the command knows of one input file.
struct FileRecord {
  std::string path;     // as the user named it
  FileVerdict verdict;  // status, format and error
  uint32_t code{};    // the library's error code; 0 for a converted file
  // The deck; null when the file could not be read as one.
  const Presentation* presentation = nullptr;
};

// One line of JSON Lines, ending with LF.
std::string RenderJsonRecord(const FileRecord& record);

// {"properties": ..., "slides": [...], "masters": [...]}, without a line
// end.
std::string RenderPresentationJson(const Presentation& presentation);

}  // namespace txtppt2

#endif  // TXTPPT2_RENDER_JSON_RECORD_H_
