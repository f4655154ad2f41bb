// CheckStorageResult: turns a failed result of the platform's structured
// storage into a std::runtime_error whose message says what went wrong.
#ifndef TXTPPT2_STORAGE_CHECK_STORAGE_RESULT_H_
#define TXTPPT2_STORAGE_CHECK_STORAGE_RESULT_H_

#include "platform/windows.h"

namespace txtppt2 {

// Returns for a result of zero or above (informational successes
// included); throws std::runtime_error for a negative one. The exception
// carries the message only, never the code.
void CheckStorageResult(HRESULT result);

// The message CheckStorageResult gives a negative result.
const char* StorageResultMessage(HRESULT result);

// The message of a stream Read that answered result, or null where the
// count it delivered decides (a short read is the end of the data).
const char* ReadFailureMessage(HRESULT result);

}  // namespace txtppt2

#endif  // TXTPPT2_STORAGE_CHECK_STORAGE_RESULT_H_
