// One input through the file classification of the API layer: its verdict
// (ok, encrypted, old_format, other_format, damaged, unreadable), its text
// when it has any (a decrypted presentation's, a PowerPoint 95 file's, or
// what survives of a damaged deck), and the line standard error gets when
// it is not ok.
#ifndef TXTPPT2_CLI_FILE_CONVERSION_H_
#define TXTPPT2_CLI_FILE_CONVERSION_H_

#include <optional>
#include <string>
#include <string_view>

#include "api/file_status.h"

namespace txtppt2::cli {

struct FileConversion {
  FileVerdict verdict;
  std::string text;   // UTF-16LE or Windows-1252 as `unicode` chose
  uint32_t code = 0;  // the converter's code when it failed
  bool Ok() const { return verdict.status == FileStatus::kOk; }
};

// `unicode` chooses UTF-16LE text, else Windows-1252; `complete` the
// complete text. The password is used for an encrypted presentation only.
FileConversion ConvertInputPath(const std::string& path, bool unicode,
                                bool complete,
                                const std::optional<std::string>& password);
FileConversion ConvertInputData(std::string_view data, bool unicode,
                                bool complete,
                                const std::optional<std::string>& password);

// What is wrong with a file that is not ok, in a user's words:
// "encrypted presentation (give its password with --password-file)",
// "not a PowerPoint 97-2003 presentation but a PDF document", "No such
// file or directory", ...
std::string ProblemText(const FileConversion& conversion);
// The same for a verdict, `somethingRead` saying whether a damaged file
// gave any text.
std::string ProblemText(const FileVerdict& verdict, bool somethingRead);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_FILE_CONVERSION_H_
