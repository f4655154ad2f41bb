#include "library_conversion.h"

#include <limits>

#include "txtppt2.h"

namespace txtppt2::cli {

bool IsPathSupported(const std::string& path) {
  return IsFileSupported(path.c_str());
}

bool IsDataSupported(std::string_view data) {
  return data.size() <= std::numeric_limits<uint32_t>::max() &&
         IsMemDataSupported(data.data(), static_cast<uint32_t>(data.size()));
}

}  // namespace txtppt2::cli
