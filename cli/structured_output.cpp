#include "structured_output.h"

#include <cassert>
#include <cerrno>
#include <cstring>
#include <limits>

#include "api/file_presentation.h"
#include "api/file_status.h"
#include "file_conversion.h"
#include "render/json_record.h"
#include "render/markdown.h"
#include "render/xhtml.h"
#include "txtppt2.h"

namespace txtppt2::cli {

const char* OutputExtension(OutputFormat format) {
  switch (format) {
    case OutputFormat::kJson:
      return ".json";
    case OutputFormat::kMarkdown:
      return ".md";
    case OutputFormat::kXhtml:
      return ".html";
    case OutputFormat::kText:
      break;
  }
  return ".txt";
}

Conversion ConvertStructured(const std::string& input,
                             const std::string* standardInput,
                             const std::string& readError, OutputFormat format,
                             const std::optional<std::string>& password) {
  assert(format != OutputFormat::kText);
  FilePresentation extracted;
  if (input != kStandardInputName) {
    extracted = ExtractFilePresentation(PathSource{input.c_str()}, password);
  } else if (standardInput == nullptr) {
    extracted.verdict.status = FileStatus::kUnreadable;
    extracted.verdict.error = "cannot read standard input: " + readError;
  } else if (standardInput->size() > std::numeric_limits<uint32_t>::max()) {
    extracted.verdict.status = FileStatus::kUnreadable;
    extracted.verdict.error = "standard input holds 4 GiB or more";
  } else {
    extracted = ExtractFilePresentation(
        MemorySource{reinterpret_cast<const BYTE*>(standardInput->data()),
                     static_cast<uint32_t>(standardInput->size())},
        password);
  }
  Conversion result;
  result.ok = extracted.verdict.status == FileStatus::kOk;
  if (!result.ok)
    result.message = ProblemText(extracted.verdict,
                                 extracted.presentation.has_value());
  const Presentation* deck =
      extracted.presentation ? &*extracted.presentation : nullptr;
  if (format == OutputFormat::kJson) {
    FileRecord record;
    record.path = input;
    record.verdict = extracted.verdict;
    record.verdict.error = result.message;
    record.code = extracted.code;
    record.presentation = deck;
    result.text = RenderJsonRecord(record);
  } else if (deck != nullptr) {
    result.text = format == OutputFormat::kMarkdown ? RenderMarkdown(*deck)
                                                    : RenderXhtml(*deck);
  }
  return result;
}

}  // namespace txtppt2::cli
