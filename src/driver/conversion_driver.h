// The conversion driver: carries one request from an export to a finished,
// NUL-terminated result block, and is the exception boundary of a
// conversion: every failure below it is caught here and recorded in the
// ErrorRecorder; no exception leaves these functions.
//
// Result block: GlobalAlloc(GMEM_FIXED), owned by the caller once returned.
// Unicode: 2n bytes of UTF-16LE and a 16-bit NUL; pure text: n bytes and a
// NUL byte. *count receives the byte count without the terminator.
#ifndef TXTPPT2_DRIVER_CONVERSION_DRIVER_H_
#define TXTPPT2_DRIVER_CONVERSION_DRIVER_H_

#include <cstdint>

#include "driver/error_recorder.h"
#include "extract/complete_walk.h"
#include "extract/output_text_stream.h"
#include "platform/windows.h"
#include "storage/compound_storage.h"

namespace txtppt2 {

// Non-zero: UTF-16 output; zero: ANSI code page output.
enum OutputMode : uint8_t { kPureText = 0, kUnicode = 1 };

// Which text: the exports' flat record walk (kExactText), or every slide's
// and notes page's text of the live document, once, in slide order
// (kCompleteText, see extract/complete_text_extractor.h).
enum TextScope : uint8_t { kExactText = 0, kCompleteText = 1 };

// Converts the compound file at path. *count is only written.
HGLOBAL ConvertFile(const WCHAR* path, OutputMode mode, uint32_t* count,
                    ErrorRecorder& errors, TextScope scope = kExactText);

// Converts the compound file image at data, whose length in bytes *count
// holds on entry. The block is read in place and must stay valid and
// unchanged until the call returns.
HGLOBAL ConvertMemory(const BYTE* data, OutputMode mode, uint32_t* count,
                      ErrorRecorder& errors, TextScope scope = kExactText);

// The core both share: clears the record, opens "PowerPoint Document" and
// converts it. The complete text also reads "Current User" when there is
// one. The result block comes from allocator (GlobalAlloc and
// GlobalReAlloc unless a caller says otherwise).
HGLOBAL ConvertStorage(CompoundStorage& storage, OutputMode mode,
                       uint32_t* count, ErrorRecorder& errors,
                       TextScope scope = kExactText,
                       const BlockAllocator& allocator = {});

// The complete walk alone, for the slide model: opens the storage's
// document as the complete text does and hands the walk to visitor, which
// makes of its text what it needs; a broken chain of edits is mended
// (BrokenChain::kMend), where the complete text walks every record. False
// on failure, with the message and code the complete text's conversion
// would record.
bool WalkStorage(CompoundStorage& storage, CompleteWalkVisitor& visitor,
                 ErrorRecorder& errors);

}  // namespace txtppt2

#endif  // TXTPPT2_DRIVER_CONVERSION_DRIVER_H_
