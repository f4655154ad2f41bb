// TextSink: writes what the record walker finds into the output text
// stream, in the output's width: each text atom's text, converted to the
// output's encoding where it differs, with normalised line breaks, and the
// separator line between slides.
//
// The shape of the text: a CR not followed by LF becomes CR LF, a VT (the
// soft line break) becomes CR LF, CR LF pairs and lone LFs pass unchanged,
// text stops at the first NUL, and every text ends with CR LF. The sink
// keeps no state; conversion buffers live for one call.
#ifndef TXTPPT2_EXTRACT_TEXT_SINK_H_
#define TXTPPT2_EXTRACT_TEXT_SINK_H_

#include <cstddef>
#include <cstdint>

#include "extract/output_text_stream.h"
#include "platform/windows.h"

namespace txtppt2 {

class TextSink {
 public:
  // The slide separator, thirty hyphens, then CR LF.
  static void AppendSeparator(NarrowOutputStream& out);
  static void AppendSeparator(WideOutputStream& out);

  // byteLength bytes of UTF-16LE text; an odd last byte is ignored.
  static void AppendUtf16Text(NarrowOutputStream& out, const void* buffer,
                              uint32_t byteLength);
  static void AppendUtf16Text(WideOutputStream& out, const void* buffer,
                              uint32_t byteLength);

  // length bytes of text in the ANSI code page.
  static void AppendAnsiText(NarrowOutputStream& out, const void* buffer,
                             uint32_t length);
  static void AppendAnsiText(WideOutputStream& out, const void* buffer,
                             uint32_t length);

  // The normalising writer over count characters of the output's width.
  template <typename CharT>
  static void WriteText(OutputTextStream<CharT>& out, const CharT* text,
                        size_t count);

  // The two conversions, over the platform's code page functions with the
  // ANSI code page. Each returns dest on success and null on failure (an
  // empty source fails); *converted receives the length produced.
  static char* Utf16ToAnsi(const WCHAR* source, int units, char* dest,
                           int destBytes, int* converted);
  static WCHAR* AnsiToUtf16(const char* source, int bytes, WCHAR* dest,
                            int destUnits, int* converted);
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_TEXT_SINK_H_
