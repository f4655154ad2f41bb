#include "driver/narrow_path.h"

namespace txtppt2 {

bool WidenNarrowPath(const char* narrow, WCHAR (&path)[kPathCapacity]) {
  return MultiByteToWideChar(TXTPPT2_PATH_CODE_PAGE, MB_PRECOMPOSED, narrow, -1,
                             path, kPathCapacity) != 0;
}

}  // namespace txtppt2
