#include "interface/conversion_error_state.h"

#include "platform/windows.h"

namespace txtppt2 {

ConversionErrorState& ConversionErrorState::ForThisThread() {
  static thread_local ConversionErrorState state;
  return state;
}

void ConversionErrorState::SetConversionError(const char* text,
                                              uint32_t newCode) {
  lstrcpynA(message, text, kMessageCapacity);
  code = newCode;
}

void ConversionErrorState::ClearConversionError() {
  message[0] = '\0';
  code = kNoErrorCode;
}

uint32_t ConversionErrorState::ReportedCode() const {
  if (code != kNoErrorCode) return code;
  return message[0] != '\0' ? 1 : 0;
}

int32_t ConversionErrorState::CopyMessage(char* buffer,
                                          int32_t bufferSize) const {
  lstrcpynA(buffer, message, bufferSize);
  return ReportedCode() != 0 ? 1 : 0;
}

}  // namespace txtppt2
