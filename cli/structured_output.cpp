#include "structured_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <cstring>
#include <limits>

#include "api/file_status.h"
#include "api/presentation_extraction.h"
#include "render/json_record.h"
#include "render/markdown.h"
#include "render/xhtml.h"
#include "txtppt2.h"

namespace txtppt2::cli {
namespace {

// What the record says a file is, from what the library reported: a path
// the system refuses to open is unreadable; a compound file without a
// presentation is another format; anything else that fails is not known
// to be a presentation.
FileVerdict VerdictOf(const std::string& input, bool fromPath,
                      const PresentationExtraction& extraction) {
  FileVerdict verdict;
  if (extraction.ok) {
    verdict.format = "ppt";
    return verdict;
  }
  verdict.error = extraction.message;
  if (fromPath) {
    int descriptor = open(input.c_str(), O_RDONLY);
    if (descriptor < 0) {
      verdict.status = FileStatus::kUnreadable;
      verdict.osError = errno;
      verdict.error = std::strerror(errno);
      return verdict;
    }
    close(descriptor);
  }
  verdict.status = FileStatus::kOtherFormat;
  verdict.format =
      extraction.code == txtppt2_unsupported_format ? "ole" : "unknown";
  return verdict;
}

PresentationExtraction Extract(const std::string& input,
                               const std::string* standardInput,
                               const std::string& readError) {
  if (input != kStandardInputName)
    return ExtractPresentation(PathSource{input.c_str()});
  PresentationExtraction failed;
  failed.code = txtppt2_conversion_failed;
  if (standardInput == nullptr) {
    failed.message = "cannot read standard input: " + readError;
  } else if (standardInput->size() > std::numeric_limits<uint32_t>::max()) {
    failed.message = "input larger than 4 GiB";
  } else {
    return ExtractPresentation(
        MemorySource{reinterpret_cast<const BYTE*>(standardInput->data()),
                     static_cast<uint32_t>(standardInput->size())});
  }
  return failed;
}

}  // namespace

const char* OutputExtension(OutputFormat format) {
  switch (format) {
    case OutputFormat::kJson: return ".json";
    case OutputFormat::kMarkdown: return ".md";
    case OutputFormat::kXhtml: return ".html";
    case OutputFormat::kText: break;
  }
  return ".txt";
}

Conversion ConvertStructured(const std::string& input,
                             const std::string* standardInput,
                             const std::string& readError,
                             OutputFormat format) {
  assert(format != OutputFormat::kText);
  const PresentationExtraction extraction =
      Extract(input, standardInput, readError);
  Conversion result;
  result.ok = extraction.ok;
  result.code = extraction.code;
  result.message = extraction.message;
  if (format == OutputFormat::kJson) {
    FileRecord record;
    record.path = input;
    record.verdict =
        VerdictOf(input, input != kStandardInputName, extraction);
    record.code = extraction.code;
    if (extraction.ok) record.presentation = &extraction.presentation;
    result.text = RenderJsonRecord(record);
  } else if (extraction.ok) {
    result.text = format == OutputFormat::kMarkdown
                      ? RenderMarkdown(extraction.presentation)
                      : RenderXhtml(extraction.presentation);
  }
  return result;
}

}  // namespace txtppt2::cli
