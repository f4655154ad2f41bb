#include "driver/narrow_path.h"

#include "common/general_messages.h"

namespace txtppt2 {

bool WidenNarrowPath(const char* narrow, WCHAR (&path)[kPathCapacity],
                     ErrorRecorder* errors) {
  if (MultiByteToWideChar(TXTPPT2_PATH_CODE_PAGE, MB_PRECOMPOSED, narrow, -1,
                          path, kPathCapacity) != 0)
    return true;
  if (errors != nullptr)
    errors->SetConversionError(messages::kErrorInParameters,
                               kParameterErrorRecordedCode);
  return false;
}

}  // namespace txtppt2
