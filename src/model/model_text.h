// The text of the slide model from text atoms: the atom's UTF-16 units (an
// 8-bit atom read through the ANSI code page, as the complete text reads
// it), then UTF-8 where the text stops at its first NUL and CR LF, a lone
// CR and VT each become LF. A text appended as a paragraph ends with LF, as
// each text of the complete text ends with CR LF.
#ifndef TXTPPT2_MODEL_MODEL_TEXT_H_
#define TXTPPT2_MODEL_MODEL_TEXT_H_

#include <string>
#include <string_view>

#include "extract/record_view.h"

namespace txtppt2 {

// The atom's units: kRtTextBytesAtom widened, the others as stored.
std::u16string AtomUnits(std::string_view image, const RecordHeader& atom);
// The same into units, whose room is reused from call to call.
void ReadAtomUnits(std::string_view image, const RecordHeader& atom,
                   std::u16string& units);

// The units as UTF-8 with line breaks made LF; nothing added at the end.
void AppendLineText(std::string& out, std::u16string_view units);

// The same, then LF: one text of a page.
void AppendParagraphs(std::string& out, std::u16string_view units);

// A short text (a title, a link's text, an author): the line text with its
// line breaks at the end dropped.
std::string TrimmedText(std::u16string_view units);

}  // namespace txtppt2

#endif  // TXTPPT2_MODEL_MODEL_TEXT_H_
