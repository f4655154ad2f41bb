// ErrorRecorder: where the driver records the outcome of a conversion. The
// library's error record implements it; the driver knows only this face.
#ifndef TXTPPT2_DRIVER_ERROR_RECORDER_H_
#define TXTPPT2_DRIVER_ERROR_RECORDER_H_

#include <cstdint>
#include <exception>

#include "driver/driver_messages.h"
#include "txtppt2.h"

namespace txtppt2 {

// The codes a conversion records are those of include/txtppt2.h, but for a
// parameter error: it is recorded with code 0 (see
// txtppt2_error_in_parameters there; ConversionErrorState::ReportedCode
// turns it into 1).
constexpr uint32_t kParameterErrorRecordedCode = txtppt2_no_error;

class ErrorRecorder {
 public:
  // Copies message (at most 1023 bytes are kept) and stores code.
  virtual void SetConversionError(const char* message, uint32_t code) = 0;
  // Empties the message and stores code 0.
  virtual void ClearConversionError() = 0;

 protected:
  ~ErrorRecorder() = default;
};

// Records the exception being handled, as a conversion reports it: its own
// message for a std::exception, "Exception caught" for any other. Call it
// only inside a catch block.
inline void RecordCaughtException(ErrorRecorder& errors) noexcept {
  try {
    throw;
  } catch (const std::exception& error) {
    errors.SetConversionError(error.what(), txtppt2_conversion_failed);
  } catch (...) {
    errors.SetConversionError(messages::kExceptionCaught,
                              txtppt2_conversion_failed);
  }
}

}  // namespace txtppt2

#endif  // TXTPPT2_DRIVER_ERROR_RECORDER_H_
