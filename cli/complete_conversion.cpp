#include "complete_conversion.h"

#include <limits>

#include "driver/conversion_driver.h"
#include "driver/narrow_path.h"
#include "platform/windows.h"
#include "storage/storage_messages.h"

namespace txtppt2::cli {
namespace {

// Keeps the outcome of one conversion for its Conversion; codes are those
// GetErrorCode reports (a parameter error reads 1).
class ConversionOutcome final : public ErrorRecorder {
 public:
  void SetConversionError(const char* message, uint32_t code) override {
    conversion.message = message;
    conversion.code = code == kParameterErrorCode ? 1 : code;
  }
  void ClearConversionError() override {
    conversion.message.clear();
    conversion.code = 0;
  }

  // Takes the result block over (null: the failure recorded stands).
  Conversion Finish(HGLOBAL block, uint32_t count) {
    if (block != nullptr) {
      conversion.ok = true;
      conversion.text.assign(static_cast<const char*>(block), count);
      GlobalFree(block);
    }
    return std::move(conversion);
  }

 private:
  Conversion conversion;
};

OutputMode ModeFor(bool unicode) { return unicode ? kUnicode : kPureText; }

}  // namespace

Conversion ConvertPathComplete(const std::string& path, bool unicode) {
  ConversionOutcome outcome;
  WCHAR wide[kPathCapacity];
  if (!WidenNarrowPath(path.c_str(), wide)) {
    outcome.SetConversionError(messages::kErrorInParameters,
                               kParameterErrorCode);
    return outcome.Finish(nullptr, 0);
  }
  uint32_t count = 0;
  HGLOBAL block =
      ConvertFile(wide, ModeFor(unicode), &count, outcome, kCompleteText);
  return outcome.Finish(block, count);
}

Conversion ConvertDataComplete(std::string_view data, bool unicode) {
  ConversionOutcome outcome;
  if (data.size() > std::numeric_limits<uint32_t>::max()) {
    outcome.SetConversionError("input larger than 4 GiB", 4);
    return outcome.Finish(nullptr, 0);
  }
  uint32_t count = static_cast<uint32_t>(data.size());
  HGLOBAL block =
      ConvertMemory(reinterpret_cast<const BYTE*>(data.data()),
                    ModeFor(unicode), &count, outcome, kCompleteText);
  return outcome.Finish(block, count);
}

}  // namespace txtppt2::cli
