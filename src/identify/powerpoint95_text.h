// The text of a PowerPoint 95 presentation, which keeps a plain copy of it
// in its Text_Content stream: Windows-1252 bytes, a CR after each
// paragraph, VT for a line break inside one.
#ifndef TXTPPT2_IDENTIFY_POWERPOINT95_TEXT_H_
#define TXTPPT2_IDENTIFY_POWERPOINT95_TEXT_H_

#include <cstdint>
#include <span>
#include <string>

namespace txtppt2 {

// The stream's paragraphs as UTF-16, each ended by CR LF as the library's
// own text ends its pieces: a CR, a VT, a lone LF and a CR LF pair each
// become one CR LF, and a last paragraph without one gets it. A NUL byte
// ends the text.
std::u16string PowerPoint95Text(std::span<const uint8_t> textContent);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_POWERPOINT95_TEXT_H_
