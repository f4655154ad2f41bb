// The text sink: the functions that write what the record walkers find into
// the output text stream, in the output's width: each text atom's text,
// converted to the output's encoding where it differs, with normalised line
// breaks, and the separator line between slides.
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

// The slide separator, thirty hyphens, then CR LF.
void AppendSeparator(NarrowOutputStream& out);
void AppendSeparator(WideOutputStream& out);

// byteLength bytes of UTF-16LE text; an odd last byte is ignored.
void AppendUtf16Text(NarrowOutputStream& out, const void* buffer,
                     uint32_t byteLength);
void AppendUtf16Text(WideOutputStream& out, const void* buffer,
                     uint32_t byteLength);

// length bytes of text in the ANSI code page.
void AppendAnsiText(NarrowOutputStream& out, const void* buffer,
                    uint32_t length);
void AppendAnsiText(WideOutputStream& out, const void* buffer, uint32_t length);

// The two conversions with the ANSI code page, over the platform's code
// page functions; each gives the length it produced, 0 for an empty source
// or a failure. Characters without an ANSI form become their best fit or a
// space. The slide model reads 8-bit text atoms through AnsiToUtf16, as the
// sink does.
int Utf16ToAnsi(const WCHAR* source, int units, char* dest, int destBytes);
int AnsiToUtf16(const char* source, int bytes, WCHAR* dest, int destUnits);

// The normalising writer over count characters of the output's width.
template <typename CharT>
void WriteText(OutputTextStream<CharT>& out, const CharT* text, size_t count);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_TEXT_SINK_H_
