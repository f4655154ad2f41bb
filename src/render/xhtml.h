// The deck as one XHTML document, in the shape indexers emit for
// presentations:
//
//   <html xmlns="http://www.w3.org/1999/xhtml"><head>
//     <meta name="author" content="..."/> ... <title>...</title></head>
//   <body>
//     <div class="slide">
//       <div class="slide-content"><p>...</p> ...
//         <table><tr><td>...</td> ...</tr> ...</table> ...</div>
//       <div class="slide-notes"><p>...</p></div>
//       <div class="slide-comments"><p class="slide-comment">...</p></div>
//     </div> ...
//     <div class="slide-master-content"><p>...</p></div> ...
//   </body></html>
//
// The meta names are the JSON record's property keys ("custom:NAME" for a
// user-defined property); only present properties are listed. Each line of
// text is a <p>, but a table's, which are its cells' <td>, a cell's lines
// parted by <br/>; blank lines are left out. A link's text (its first
// line) is an <a href> where it is found in the slide's text, in order,
// else an <a> in a <p class="link"> of its own after the text (the target
// as its text where the link has none, as a picture's). The notes and
// comments divs are there where the slide has notes or comments. The
// document is well-formed XML whatever the text holds (see AppendXmlText).
#ifndef TXTPPT2_RENDER_XHTML_H_
#define TXTPPT2_RENDER_XHTML_H_

#include <string>

#include "model/presentation.h"

namespace txtppt2 {

std::string RenderXhtml(const Presentation& presentation);

}  // namespace txtppt2

#endif  // TXTPPT2_RENDER_XHTML_H_
