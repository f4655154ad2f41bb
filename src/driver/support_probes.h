// The support probes: whether a file or a memory block opens as a compound
// file whose root holds a "PowerPoint Document" stream that can be opened.
// Not one byte of the stream is read. The probes never touch the error
// record, and release everything they opened before they return: stream,
// then storage, then (for memory) the lock-bytes.
#ifndef TXTPPT2_DRIVER_SUPPORT_PROBES_H_
#define TXTPPT2_DRIVER_SUPPORT_PROBES_H_

#include "platform/windows.h"

namespace txtppt2 {

// Whether the stream opens in storage; the storage stays the caller's.
bool HasDocumentStream(IStorage* storage);

bool IsFileSupportedW(const WCHAR* path);

// The block is only read, never kept.
bool IsMemDataSupported(const BYTE* data, ULONG size);

}  // namespace txtppt2

#endif  // TXTPPT2_DRIVER_SUPPORT_PROBES_H_
