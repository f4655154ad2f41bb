// The text that survives in what is left of a damaged PowerPoint Document
// stream, when the converter cannot read it as a presentation: every text
// atom (TextCharsAtom, TextBytesAtom) in stream order, found by one walk
// over the records, into every container. It needs neither the user edit
// nor the persist directory, which a cut-short stream loses first.
#ifndef TXTPPT2_IDENTIFY_SALVAGED_TEXT_H_
#define TXTPPT2_IDENTIFY_SALVAGED_TEXT_H_

#include <cstdint>
#include <span>
#include <string>

namespace txtppt2 {

// Each atom's text ended by CR LF; CR and VT inside it become CR LF, and a
// NUL ends it. Linear in the stream's size: each step moves past at least
// one record header.
std::u16string SalvagedText(std::span<const uint8_t> document);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_SALVAGED_TEXT_H_
