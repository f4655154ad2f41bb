// Text for XML 1.0 documents, whatever the text holds.
#ifndef TXTPPT2_RENDER_XML_TEXT_H_
#define TXTPPT2_RENDER_XML_TEXT_H_

#include <string>
#include <string_view>

namespace txtppt2 {

// Appends text escaped for element content and for attribute values in
// double or single quotes: '&', '<', '>', '"' and '\'' as references; CR
// as "&#13;" (a parser would make it LF); in an attribute also TAB and LF
// as references (a parser would make them spaces). A character XML 1.0
// forbids (the control characters but TAB, LF and CR; U+FFFE, U+FFFF) and
// a byte sequence that is not UTF-8 become U+FFFD.
void AppendXmlText(std::string& out, std::string_view text,
                   bool inAttribute = false);

}  // namespace txtppt2

#endif  // TXTPPT2_RENDER_XML_TEXT_H_
