// One input through the library's exports, as any host calls them: a path
// with ConvertToUnicode / ConvertToPureText, a block in memory with the
// memory calls, and the probes. The result block is copied out and freed
// at once; on failure the library's message and code are kept.
#ifndef TXTPPT2_CLI_LIBRARY_CONVERSION_H_
#define TXTPPT2_CLI_LIBRARY_CONVERSION_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace txtppt2::cli {

struct Conversion {
  bool ok = false;
  std::string text;     // the result's bytes, terminator not included
  std::string message;  // on failure: GetConversionError's text
  uint32_t code = 0;    // on failure: GetErrorCode's
};

// `unicode` chooses the UTF-16LE call, else the Windows-1252 one. The path
// is handed over as it is (UTF-8 on POSIX).
Conversion ConvertPath(const std::string& path, bool unicode);
Conversion ConvertData(std::string_view data, bool unicode);

bool IsPathSupported(const std::string& path);
bool IsDataSupported(std::string_view data);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_LIBRARY_CONVERSION_H_
