#include "library_conversion.h"

#include <cstdlib>
#include <limits>

#include "txtppt2.h"

namespace txtppt2::cli {
namespace {

// Room for the library's messages, which are short.
constexpr int32_t kMessageCapacity = 512;

// Takes ownership of a result block (or records the calling thread's error
// when there is none).
Conversion Collect(void* block, uint32_t count) {
  Conversion conversion;
  if (block == nullptr) {
    char message[kMessageCapacity];
    if (GetConversionError(message, kMessageCapacity) != 0)
      conversion.message = message;
    else
      conversion.message = "conversion failed";
    conversion.code = GetErrorCode();
    return conversion;
  }
  conversion.ok = true;
  conversion.text.assign(static_cast<const char*>(block), count);
  std::free(block);
  return conversion;
}

}  // namespace

Conversion ConvertPath(const std::string& path, bool unicode) {
  uint32_t count = 0;
  void* block = unicode ? ConvertToUnicode(path.c_str(), &count)
                        : ConvertToPureText(path.c_str(), &count);
  return Collect(block, count);
}

Conversion ConvertData(std::string_view data, bool unicode) {
  if (data.size() > std::numeric_limits<uint32_t>::max()) {
    Conversion tooLarge;
    tooLarge.message = "input larger than 4 GiB";
    return tooLarge;
  }
  uint32_t count = static_cast<uint32_t>(data.size());
  void* block = unicode ? ConvertMemoryToUnicode(data.data(), 0, &count)
                        : ConvertMemoryToPureText(data.data(), 0, &count);
  return Collect(block, count);
}

bool IsPathSupported(const std::string& path) {
  return IsFileSupported(path.c_str());
}

bool IsDataSupported(std::string_view data) {
  return data.size() <= std::numeric_limits<uint32_t>::max() &&
         IsMemDataSupported(data.data(), static_cast<uint32_t>(data.size()));
}

}  // namespace txtppt2::cli
