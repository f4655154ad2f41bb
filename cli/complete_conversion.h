// One input converted to its complete text (--complete). The exports give
// the exact text only, so this goes to the library's conversion core,
// linked into the command, with the same path handling and the same
// messages and codes as the exports report.
#ifndef TXTPPT2_CLI_COMPLETE_CONVERSION_H_
#define TXTPPT2_CLI_COMPLETE_CONVERSION_H_

#include <string>
#include <string_view>

#include "library_conversion.h"

namespace txtppt2::cli {

// `unicode` chooses UTF-16LE text, else Windows-1252, as ConvertPath does.
Conversion ConvertPathComplete(const std::string& path, bool unicode);
Conversion ConvertDataComplete(std::string_view data, bool unicode);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_COMPLETE_CONVERSION_H_
