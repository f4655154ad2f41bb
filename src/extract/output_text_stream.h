// OutputTextStream: the append-only text of one conversion, in the output's
// width (char for pure text, WCHAR for Unicode). The text sink is its only
// writer; the driver reads the finished text once.
#ifndef TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_
#define TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_

#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/windows.h"

namespace txtppt2 {

template <typename CharT>
class OutputTextStream {
 public:
  // Room for count characters ahead of time, where it can be had; the text
  // grows past it (or without it) freely. The count is a guess from sizes a
  // file declares: one that a 32-bit process cannot hold is dropped rather
  // than failing a conversion that a 64-bit process completes.
  void Reserve(size_t count) {
    try {
      text_.reserve(count);
    } catch (const std::length_error&) {
    } catch (const std::bad_alloc&) {
    }
  }

  // Appends count characters (an unformatted write: NULs pass too).
  void Write(const CharT* text, size_t count) { text_.append(text, count); }

  const CharT* Data() const { return text_.data(); }
  size_t Length() const { return text_.size(); }

 private:
  std::basic_string<CharT> text_;
};

using NarrowOutputStream = OutputTextStream<char>;
using WideOutputStream = OutputTextStream<WCHAR>;

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_OUTPUT_TEXT_STREAM_H_
