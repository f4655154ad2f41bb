// ErrorRecorder: where the driver records the outcome of a conversion. The
// library's error record implements it; the driver knows only this face.
#ifndef TXTPPT2_DRIVER_ERROR_RECORDER_H_
#define TXTPPT2_DRIVER_ERROR_RECORDER_H_

#include <cstdint>

namespace txtppt2 {

// The codes a conversion records.
constexpr uint32_t kNoErrorCode = 0;
constexpr uint32_t kParameterErrorCode = 0;  // reported as 1
constexpr uint32_t kConversionErrorCode = 4;
constexpr uint32_t kUnsupportedFormatCode = 1003;

class ErrorRecorder {
 public:
  // Copies message (at most 1023 bytes are kept) and stores code.
  virtual void SetConversionError(const char* message, uint32_t code) = 0;
  // Empties the message and stores code 0.
  virtual void ClearConversionError() = 0;

 protected:
  ~ErrorRecorder() = default;
};

}  // namespace txtppt2

#endif  // TXTPPT2_DRIVER_ERROR_RECORDER_H_
