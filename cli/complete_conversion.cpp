#include "complete_conversion.h"

#include <limits>

#include "api/isolated_conversion.h"
#include "txtppt2.h"

namespace txtppt2::cli {
namespace {

OutputMode ModeFor(bool unicode) { return unicode ? kUnicode : kPureText; }

// The command's record of a conversion; the result block is copied and
// freed with the source conversion.
Conversion Collect(const SourceConversion& converted) {
  Conversion conversion;
  conversion.ok = converted.block != nullptr;
  if (conversion.ok) {
    conversion.text.assign(static_cast<const char*>(converted.block.get()),
                           converted.count);
  } else {
    conversion.message = converted.message;
    conversion.code = converted.code;
  }
  return conversion;
}

}  // namespace

Conversion ConvertPathComplete(const std::string& path, bool unicode) {
  return Collect(
      ConvertSource(PathSource{path.c_str()}, ModeFor(unicode), kCompleteText));
}

Conversion ConvertDataComplete(std::string_view data, bool unicode) {
  if (data.size() > std::numeric_limits<uint32_t>::max()) {
    Conversion tooLarge;
    tooLarge.message = "input larger than 4 GiB";
    tooLarge.code = txtppt2_conversion_failed;
    return tooLarge;
  }
  MemorySource memory{reinterpret_cast<const BYTE*>(data.data()),
                      static_cast<uint32_t>(data.size())};
  return Collect(ConvertSource(memory, ModeFor(unicode), kCompleteText));
}

}  // namespace txtppt2::cli
