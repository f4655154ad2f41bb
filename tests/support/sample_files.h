// The sample files: sound presentations and damaged files made with the
// fixture writers, each named for what it is or what its damage breaks, and
// each with what it must give. The reader test, the stress test and the
// fuzz seeds (which the command and module tests read too) run this table.
#ifndef TXTPPT2_TESTS_SUPPORT_SAMPLE_FILES_H_
#define TXTPPT2_TESTS_SUPPORT_SAMPLE_FILES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace txtppt2::testing {

struct SampleFile {
  std::string name;   // what the file is, or what its damage breaks
  std::string bytes;  // the whole file
  // What opening it from memory answers.
  HRESULT opens = S_OK;
  // What reading its "PowerPoint Document" stream delivers; none when the
  // file does not open or has no such stream under its root.
  std::optional<std::string> document;
  // GetErrorCode after converting it: 0 when it converts.
  uint32_t errorCode = 0;
};

// Sound files first, then the damaged ones.
const std::vector<SampleFile>& SampleFiles();

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_SAMPLE_FILES_H_
