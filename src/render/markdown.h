// The deck as Markdown, in the layout language-model pipelines read:
//
//   <!-- Slide number: 1 -->
//   # Title
//   the slide's text, title left out
//
//   ### Notes:
//   the notes
//
// The heading is left out where the slide has no title, the notes part
// where its notes are blank; a blank line ends each slide.
//
// Text is escaped where Markdown would read it as structure, so that no
// text can make a slide comment, a heading, a code block or an HTML block:
// a '#' that starts a line's content, a content of '=' or '-' alone (which
// would turn the line above into a heading), a code fence (``` or ~~~)
// that starts a line's content, and a '<' that starts a tag or a comment
// each get a backslash. A line's content starts after any indent and any
// blockquote or list item markers, inside which these would count too. CR and CR LF
// become LF; other control characters but TAB, and bytes that are not
// UTF-8, become U+FFFD.
#ifndef TXTPPT2_RENDER_MARKDOWN_H_
#define TXTPPT2_RENDER_MARKDOWN_H_

#include <string>
#include <string_view>

#include "model/presentation.h"

namespace txtppt2 {

std::string RenderMarkdown(const Presentation& presentation);

// A block of text (lines ending with LF) escaped as above.
std::string EscapeMarkdownBlock(std::string_view text);

// A heading's text on one line: line ends and tabs become spaces, the ends
// are trimmed, and a closing run of '#' is kept as text.
std::string EscapeMarkdownHeading(std::string_view text);

}  // namespace txtppt2

#endif  // TXTPPT2_RENDER_MARKDOWN_H_
