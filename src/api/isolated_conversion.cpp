#include "api/isolated_conversion.h"

#include "driver/narrow_path.h"
#include "driver/support_probes.h"
#include "interface/conversion_error_state.h"

namespace txtppt2 {
namespace {

// Runs the driver on the source; failures land in errors.
HGLOBAL RunDriver(const Source& source, OutputMode mode, TextScope scope,
                  uint32_t* count, ConversionErrorState& errors) {
  if (const auto* memory = std::get_if<MemorySource>(&source)) {
    *count = memory->size;
    return ConvertMemory(memory->data, mode, count, errors, scope);
  }
  WCHAR path[kPathCapacity];
  if (!WidenNarrowPath(std::get<PathSource>(source).path, path, &errors))
    return nullptr;
  return ConvertFile(path, mode, count, errors, scope);
}

}  // namespace

SourceConversion ConvertSource(const Source& source, OutputMode mode,
                               TextScope scope) {
  ConversionErrorState errors;
  SourceConversion result;
  result.block.reset(RunDriver(source, mode, scope, &result.count, errors));
  if (result.block == nullptr) {
    result.count = 0;
    result.code = errors.ReportedCode();
    char message[ConversionErrorState::kMessageCapacity];
    errors.CopyMessage(message, sizeof message);
    result.message = message;
  }
  return result;
}

bool IsSourceSupported(const Source& source) {
  if (const auto* memory = std::get_if<MemorySource>(&source))
    return IsMemDataSupported(memory->data, memory->size);
  WCHAR path[kPathCapacity];
  return WidenNarrowPath(std::get<PathSource>(source).path, path, nullptr) &&
         IsFileSupportedW(path);
}

}  // namespace txtppt2
