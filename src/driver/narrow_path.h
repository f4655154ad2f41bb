// Narrow paths, as the narrow entry points take them: converted to UTF-16
// with the file system's code page (the ANSI code page on Windows, UTF-8 on
// POSIX) into room for kPathCapacity units, the longest path a conversion
// accepts with its NUL.
#ifndef TXTPPT2_DRIVER_NARROW_PATH_H_
#define TXTPPT2_DRIVER_NARROW_PATH_H_

#include "driver/error_recorder.h"
#include "platform/windows.h"

namespace txtppt2 {

constexpr int kPathCapacity = 1024;

// Writes narrow's UTF-16 form and its NUL into path; false when it does not
// fit or cannot be converted, after recording "Error in parameters" in
// errors where there is one (a probe has none).
bool WidenNarrowPath(const char* narrow, WCHAR (&path)[kPathCapacity],
                     ErrorRecorder* errors);

}  // namespace txtppt2

#endif  // TXTPPT2_DRIVER_NARROW_PATH_H_
