#include "file_conversion.h"

#include "api/file_text.h"

namespace txtppt2::cli {
namespace {

FileConversion Convert(const Source& source, bool unicode, bool complete,
                       const std::optional<std::string>& password) {
  FileText text =
      ExtractFileText(source, unicode ? kUnicode : kPureText,
                      complete ? kCompleteText : kExactText, password);
  return {std::move(text.verdict), std::move(text.text), text.code};
}

}  // namespace

FileConversion ConvertInputPath(const std::string& path, bool unicode,
                                bool complete,
                                const std::optional<std::string>& password) {
  return Convert(PathSource{path.c_str()}, unicode, complete, password);
}

FileConversion ConvertInputData(std::string_view data, bool unicode,
                                bool complete,
                                const std::optional<std::string>& password) {
  if (data.size() > UINT32_MAX) {
    FileConversion conversion;
    conversion.verdict.status = FileStatus::kUnreadable;
    conversion.verdict.error = "standard input holds 4 GiB or more";
    return conversion;
  }
  return Convert(MemorySource{reinterpret_cast<const BYTE*>(data.data()),
                              static_cast<uint32_t>(data.size())},
                 unicode, complete, password);
}

std::string ProblemText(const FileConversion& conversion) {
  return ProblemText(conversion.verdict, !conversion.text.empty());
}

std::string ProblemText(const FileVerdict& verdict, bool somethingRead) {
  switch (verdict.status) {
    case FileStatus::kOk:
      return {};
    case FileStatus::kEncrypted:
      if (verdict.error == "wrong password")
        return "encrypted presentation: wrong password";
      if (verdict.error == "encrypted presentation")
        return "encrypted presentation (give its password with "
               "--password-file or TXTPPT2_PASSWORD)";
      return verdict.error;
    case FileStatus::kDamaged:
      return !somethingRead
                 ? verdict.error + "; no text could be read"
                 : verdict.error + "; the text that could be read is given";
    case FileStatus::kOldFormat:
    case FileStatus::kOtherFormat:
    case FileStatus::kUnreadable:
      return verdict.error;
  }
  return verdict.error;
}

}  // namespace txtppt2::cli
