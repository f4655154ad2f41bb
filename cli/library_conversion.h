// The probes through the library's exports, as any host calls them, and
// what the batch runner carries for each input.
#ifndef TXTPPT2_CLI_LIBRARY_CONVERSION_H_
#define TXTPPT2_CLI_LIBRARY_CONVERSION_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace txtppt2::cli {

// One input's outcome, as main.cpp's Deliverable makes it.
struct Conversion {
  bool ok = false;      // the file is ok
  std::string text;     // what to write for it
  std::string message;  // the line's text for standard error, if any
};


bool IsPathSupported(const std::string& path);
bool IsDataSupported(std::string_view data);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_LIBRARY_CONVERSION_H_
