// A conversion beside the exports, for the command's --complete and the
// Python module: one conversion, or one support probe, of a source that is
// either a path or a block of memory, with the exports' path rules,
// messages and codes.
//
// Each call records its outcome in an error record of its own, so threads
// converting at once share no state, and the exports' per-thread record is
// never touched.
#ifndef TXTPPT2_API_ISOLATED_CONVERSION_H_
#define TXTPPT2_API_ISOLATED_CONVERSION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "driver/conversion_driver.h"
#include "platform/windows.h"

namespace txtppt2 {

// A path in the narrow conventions of the exports: NUL-terminated bytes,
// UTF-8 with any byte outside valid UTF-8 carried through as it is.
struct PathSource {
  const char* path;
};

// A compound file image; it must stay valid while the call runs.
struct MemorySource {
  const BYTE* data;
  uint32_t size;
};

using Source = std::variant<PathSource, MemorySource>;

struct ResultBlockFree {
  void operator()(void* block) const { GlobalFree(block); }
};

// What a conversion gives: the result block and its byte count without the
// terminator, or no block and the library's error code and message.
struct SourceConversion {
  std::unique_ptr<void, ResultBlockFree> block;
  uint32_t count{};
  uint32_t code{};
  std::string message;
};

// scope kCompleteText gives the complete text (every slide's and note's
// text, once, in slide order) instead of the exports' text.
SourceConversion ConvertSource(const Source& source, OutputMode mode,
                               TextScope scope);

// Whether the source opens as a compound file with a "PowerPoint Document"
// stream; a path that cannot be widened is not supported.
bool IsSourceSupported(const Source& source);

}  // namespace txtppt2

#endif  // TXTPPT2_API_ISOLATED_CONVERSION_H_
