// The deck as data: what the command's --format json|markdown|xhtml, the
// Python module's extract_presentation and Dask's slide records show. The
// exports never see it.
//
// Every string is UTF-8; a lone surrogate of the file's UTF-16 text becomes
// U+FFFD. Paragraphs end with LF. Absent values are empty optionals.
#ifndef TXTPPT2_MODEL_PRESENTATION_H_
#define TXTPPT2_MODEL_PRESENTATION_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace txtppt2 {

// A hyperlinked run, or a shape (a picture, a text box) whose mouse click
// follows a hyperlink with a target: the run's text or the shape's whole text ("" where the
// shape has none, as a picture), and the target from the document's
// hyperlink list.
struct Link {
  std::string text;
  std::string url;
};

struct Comment {
  std::string author;
  std::string initials;
  std::string text;
  std::optional<std::string> date;  // ISO 8601, "2008-08-04T22:27:16Z"
};

// A header, footer or date text shown on the slide or on its notes page.
struct HeaderText {
  std::string place;  // "slide" or "notes"
  std::string kind;   // "header", "footer" or "date"
  std::string text;
};

// A table among the slide's shapes: its cells' texts, row by row (a row:
// the cells whose tops line up), each as the slide's text holds it, its
// paragraphs ended by LF ("" for a cell without text). In the slide's text
// the cells' texts follow one another in this order from textOffset on.
struct Table {
  size_t textOffset{};  // in bytes of Slide::text
  std::vector<std::vector<std::string>> rows;
};

struct Slide {
  uint32_t number{};  // 1-based, in presentation order
  // The title placeholder's text; the slide list's title where no shape
  // shows one; absent where there is none.
  std::optional<std::string> title;
  // The slide's own text in drawing order, title included, groups entered,
  // table cells row by row; no master or prompt text.
  std::string text;
  std::string notes;  // the notes page's own text
  bool hidden = false;
  std::vector<Link> links;
  std::vector<Comment> comments;
  std::vector<HeaderText> headers;
  std::vector<Table> tables;  // in drawing order
};

// A user-defined property's value: empty, boolean, integer, real, or text
// (dates as ISO 8601 text).
using PropertyValue =
    std::variant<std::monostate, bool, int64_t, double, std::string>;

struct CustomProperty {
  std::string name;
  PropertyValue value;
};

// From the "\005SummaryInformation" and "\005DocumentSummaryInformation"
// property sets, each property read with its own code page.
struct DocumentProperties {
  std::optional<std::string> title, subject, author, keywords, comments,
      lastSavedBy, revision, application, company, category, manager;
  std::optional<std::string> created, modified;  // ISO 8601 UTC
  std::optional<int64_t> slides, notes, hiddenSlides;
  std::vector<CustomProperty> custom;
};

struct Presentation {
  DocumentProperties properties;
  std::vector<Slide> slides;
  // The non-prompt text of each master that a slide uses, once each.
  std::vector<std::string> masters;
};

}  // namespace txtppt2

#endif  // TXTPPT2_MODEL_PRESENTATION_H_
