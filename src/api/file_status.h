// What a file turned out to be, for the command, the Python module and Dask
// (the exports keep their own codes and messages). The classification comes
// from the file's bytes, never from its name.
#ifndef TXTPPT2_API_FILE_STATUS_H_
#define TXTPPT2_API_FILE_STATUS_H_

#include <string>

namespace txtppt2 {

enum class FileStatus {
  kOk,           // converted
  kEncrypted,    // RC4 CryptoAPI-encrypted, no password or a wrong one
  kOldFormat,    // PowerPoint 4 and older
  kOtherFormat,  // not a presentation: `format` says what it is
  kDamaged,      // a presentation whose structure is broken or cut short
  kUnreadable,   // the operating system refused: `error` is strerror's text
};

// "ok", "encrypted", "old_format", "other_format", "damaged", "unreadable".
const char* FileStatusName(FileStatus status);

struct FileVerdict {
  FileStatus status = FileStatus::kOk;
  // "ppt", "ppt95", "pptx" (or another Office Open XML package),
  // "ooxml-encrypted", "doc", "xls", "msg", "pdf", "zip", "ole" (another
  // compound file), "empty", "unknown"; empty for kUnreadable.
  std::string format;
  // Empty for kOk; otherwise a message a user understands.
  std::string error;
  // For kUnreadable: the errno value (its name through ErrnoName).
  int osError{};
};

// The symbolic name of an errno value ("ENOENT", "EACCES", ...), as
// Python's errno module and the JSON records spell it; "EUNKNOWN" for a
// value it does not know.
const char* ErrnoName(int error);

}  // namespace txtppt2

#endif  // TXTPPT2_API_FILE_STATUS_H_
