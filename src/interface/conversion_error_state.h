// ConversionErrorState: the record of the last error, a message of at most
// 1023 bytes and a code, one per thread. A host that converts on one thread
// sees a single record; hosts converting on several threads get each
// thread's own last error, and conversions never race on it.
//
// A thread's record is made on the heap on the thread's first call that
// needs it and freed when the thread ends. Only a pointer to it lives in
// thread-local storage, in the static block the loader reserves, so that no
// call ever makes the runtime allocate thread-local data (which ends the
// process when memory runs out).
#ifndef TXTPPT2_INTERFACE_CONVERSION_ERROR_STATE_H_
#define TXTPPT2_INTERFACE_CONVERSION_ERROR_STATE_H_

#include <cstdint>

#include "driver/error_recorder.h"

namespace txtppt2 {

class ConversionErrorState final : public ErrorRecorder {
 public:
  static constexpr int kMessageCapacity = 1024;  // bytes, NUL included

  ConversionErrorState() = default;
  // A record holding message (which fits) and code from the start.
  constexpr ConversionErrorState(const char* text, uint32_t newCode)
      : code(newCode) {
    for (int i = 0; text[i] != '\0'; ++i) message[i] = text[i];
  }

  // The calling thread's record, made on its first use: empty with code 0.
  // Null when the memory for it cannot be had; the thread's readers then
  // report "Out of memory" with code 4.
  static ConversionErrorState* ForThisThread();

  // What the calling thread reads: its record, an empty one before it has
  // one, or "Out of memory" (code 4) after its record could not be made.
  static const ConversionErrorState& ToReport();

  void SetConversionError(const char* message, uint32_t code) override;
  void ClearConversionError() override;

  // The code the host is told: the stored code if there is one, else
  // txtppt2_error_in_parameters when a message is stored (a parameter error,
  // recorded with code 0), else txtppt2_no_error.
  uint32_t ReportedCode() const;

  // Copies the message into buffer as lstrcpynA does (bufferSize bytes, NUL
  // included; cut to fit) and returns 1 when an error is reported, else 0.
  int32_t CopyMessage(char* buffer, int32_t bufferSize) const;

 private:
  char message[kMessageCapacity] = {};
  uint32_t code{};
};

}  // namespace txtppt2

#endif  // TXTPPT2_INTERFACE_CONVERSION_ERROR_STATE_H_
