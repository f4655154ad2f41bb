// ConversionErrorState: the record of the last error, a message of at most
// 1023 bytes and a code, one per thread. A host that converts on one thread
// sees a single record; hosts converting on several threads get each
// thread's own last error, and conversions never race on it.
#ifndef TXTPPT2_INTERFACE_CONVERSION_ERROR_STATE_H_
#define TXTPPT2_INTERFACE_CONVERSION_ERROR_STATE_H_

#include <cstdint>

#include "driver/error_recorder.h"

namespace txtppt2 {

class ConversionErrorState final : public ErrorRecorder {
 public:
  static constexpr int kMessageCapacity = 1024;  // bytes, NUL included

  // The calling thread's record: empty with code 0 until its first failure.
  static ConversionErrorState& ForThisThread();

  void SetConversionError(const char* message, uint32_t code) override;
  void ClearConversionError() override;

  // The code the host is told: the stored code if there is one, else 1
  // when a message is stored (a parameter error), else 0.
  uint32_t ReportedCode() const;

  // Copies the message into buffer (bufferSize bytes, NUL included; cut to
  // fit) and returns 1 when an error is reported, else 0.
  int32_t CopyMessage(char* buffer, int32_t bufferSize) const;

 private:
  char message[kMessageCapacity] = {};
  uint32_t code = 0;
};

}  // namespace txtppt2

#endif  // TXTPPT2_INTERFACE_CONVERSION_ERROR_STATE_H_
