#include "render/xhtml.h"

#include <string_view>
#include <variant>
#include <vector>

#include "render/json_builder.h"
#include "render/xml_text.h"

namespace txtppt2 {
namespace {

// Link texts longer than this are not looked for in the slide's text, and
// the search stops at the first link not found: the search stays linear in
// the text's size whatever the file holds.
constexpr size_t kLongestFoundLink = 256;

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

void AppendElement(std::string& out, std::string_view tag,
                   std::string_view text) {
  out += '<';
  out += tag;
  out += '>';
  AppendXmlText(out, text);
  out += "</";
  out += tag;
  out += '>';
}

void AppendLink(std::string& out, std::string_view url,
                std::string_view text) {
  out += "<a href=\"";
  AppendXmlText(out, url, true);
  out += "\">";
  AppendXmlText(out, text);
  out += "</a>";
}

void AppendParagraphs(std::string& out, std::string_view text) {
  for (std::string_view line : Lines(text))
    if (!IsBlank(line)) AppendElement(out, "p", line);
}

// What of a link's text is looked for: its first line.
std::string_view ShownText(const Link& link) {
  std::string_view text = link.text;
  return text.substr(0, text.find('\n'));
}

// Where a link shows in the slide's lines: `length` bytes of line `line`
// from `begin` on.
struct LinkPlace {
  size_t line;
  size_t begin;
  size_t length;
  const Link* link;
};

// The links found in the lines that are shown, in order, each after the
// one before; the rest go into `unplaced`. A link without text (a
// picture's) is not looked for.
std::vector<LinkPlace> PlaceLinks(const std::vector<std::string_view>& lines,
                                  const std::vector<Link>& links,
                                  std::vector<const Link*>& unplaced) {
  std::vector<LinkPlace> places;
  size_t line = 0, offset = 0;
  bool searching = true;
  for (const Link& link : links) {
    const std::string_view shown = ShownText(link);
    if (shown.empty()) {
      unplaced.push_back(&link);
      continue;
    }
    searching = searching && shown.size() <= kLongestFoundLink;
    size_t found = std::string_view::npos;
    size_t at = line;
    for (; searching && at < lines.size(); ++at, offset = 0) {
      if (IsBlank(lines[at])) continue;  // left out of the document
      found = lines[at].find(shown, offset);
      if (found != std::string_view::npos) break;
    }
    if (found == std::string_view::npos) {
      searching = false;
      unplaced.push_back(&link);
      continue;
    }
    places.push_back({at, found, shown.size(), &link});
    line = at;
    offset = found + shown.size();
  }
  return places;
}

// The slide's lines, each with the links placed in it, and its tables.
class SlideContentWriter {
 public:
  SlideContentWriter(std::string& out_, const Slide& slide_)
      : out(out_), slide(slide_), lines(Lines(slide.text)) {
    places = PlaceLinks(lines, slide.links, unplaced);
  }

  void Write() {
    out += "<div class=\"slide-content\">";
    for (const Table& table : slide.tables) {
      for (; line < lines.size() && Offset(line) < table.textOffset; ++line)
        WriteParagraph();
      WriteTable(table);
    }
    for (; line < lines.size(); ++line) WriteParagraph();
    for (const Link* link : unplaced) {
      // A link without text shows its target.
      out += "<p class=\"link\">";
      AppendLink(out, link->url, link->text.empty() ? link->url : link->text);
      out += "</p>";
    }
    out += "</div>\n";
  }

 private:
  size_t Offset(size_t index) const {
    return static_cast<size_t>(lines[index].data() - slide.text.data());
  }

  void WriteParagraph() {
    if (IsBlank(lines[line])) return;
    out += "<p>";
    WriteLine();
    out += "</p>";
  }

  // Each cell holds the lines of its text, parted by <br/>.
  void WriteTable(const Table& table) {
    size_t cellEnd = table.textOffset;
    out += "<table>";
    for (const auto& row : table.rows) {
      out += "<tr>";
      for (const std::string& cell : row) {
        cellEnd += cell.size();
        out += "<td>";
        bool first = true;
        for (; line < lines.size() && Offset(line) < cellEnd; ++line) {
          if (IsBlank(lines[line])) continue;
          if (!first) out += "<br/>";
          WriteLine();
          first = false;
        }
        out += "</td>";
      }
      out += "</tr>";
    }
    out += "</table>";
  }

  void WriteLine() {
    const std::string_view text = lines[line];
    size_t written = 0;
    for (; next < places.size() && places[next].line == line; ++next) {
      const LinkPlace& place = places[next];
      AppendXmlText(out, text.substr(written, place.begin - written));
      AppendLink(out, place.link->url, text.substr(place.begin, place.length));
      written = place.begin + place.length;
    }
    AppendXmlText(out, text.substr(written));
  }

  std::string& out;
  const Slide& slide;
  const std::vector<std::string_view> lines;
  std::vector<LinkPlace> places;
  std::vector<const Link*> unplaced;
  size_t line = 0;  // the next line to write
  size_t next = 0;  // the next place
};

void AppendComments(std::string& out, const std::vector<Comment>& comments) {
  out += "<div class=\"slide-comments\">";
  for (const Comment& comment : comments) {
    out += "<p class=\"slide-comment\"><b>";
    AppendXmlText(out, comment.author);
    if (!comment.initials.empty()) {
      out += " (";
      AppendXmlText(out, comment.initials);
      out += ')';
    }
    out += "</b>";
    if (comment.date) {
      out += " <span class=\"date\">";
      AppendXmlText(out, *comment.date);
      out += "</span>";
    }
    bool first = true;
    for (std::string_view line : Lines(comment.text)) {
      out += first ? " " : "<br/>";
      AppendXmlText(out, line);
      first = false;
    }
    out += "</p>";
  }
  out += "</div>\n";
}

void AppendMeta(std::string& out, std::string_view name,
                std::string_view content) {
  out += "<meta name=\"";
  AppendXmlText(out, name, true);
  out += "\" content=\"";
  AppendXmlText(out, content, true);
  out += "\"/>\n";
}

void AppendOptionalMeta(std::string& out, std::string_view name,
                        const std::optional<std::string>& content) {
  if (content) AppendMeta(out, name, *content);
}

void AppendOptionalMeta(std::string& out, std::string_view name,
                        const std::optional<int64_t>& content) {
  if (content) AppendMeta(out, name, std::to_string(*content));
}

// A user-defined value as text: numbers as JSON writes them.
std::string ValueText(const PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (std::holds_alternative<std::monostate>(value)) return "";
  if (const auto* flag = std::get_if<bool>(&value))
    return *flag ? "true" : "false";
  JsonBuilder number;
  if (const auto* integer = std::get_if<int64_t>(&value))
    number.Integer(*integer);
  else
    number.Real(std::get<double>(value));
  return number.Take();
}

void AppendHead(std::string& out, const DocumentProperties& p) {
  out += "<head>\n";
  AppendOptionalMeta(out, "title", p.title);
  AppendOptionalMeta(out, "subject", p.subject);
  AppendOptionalMeta(out, "author", p.author);
  AppendOptionalMeta(out, "keywords", p.keywords);
  AppendOptionalMeta(out, "comments", p.comments);
  AppendOptionalMeta(out, "last_saved_by", p.lastSavedBy);
  AppendOptionalMeta(out, "revision", p.revision);
  AppendOptionalMeta(out, "application", p.application);
  AppendOptionalMeta(out, "company", p.company);
  AppendOptionalMeta(out, "category", p.category);
  AppendOptionalMeta(out, "manager", p.manager);
  AppendOptionalMeta(out, "created", p.created);
  AppendOptionalMeta(out, "modified", p.modified);
  AppendOptionalMeta(out, "slides", p.slides);
  AppendOptionalMeta(out, "notes", p.notes);
  AppendOptionalMeta(out, "hidden_slides", p.hiddenSlides);
  for (const CustomProperty& property : p.custom)
    AppendOptionalMeta(out, "custom:" + property.name, ValueText(property.value));
  AppendElement(out, "title", p.title.value_or(""));
  out += "\n</head>\n";
}

}  // namespace

std::string RenderXhtml(const Presentation& presentation) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n";
  AppendHead(out, presentation.properties);
  out += "<body>\n";
  for (const Slide& slide : presentation.slides) {
    out += "<div class=\"slide\">\n";
    SlideContentWriter(out, slide).Write();
    if (!IsBlank(slide.notes)) {
      out += "<div class=\"slide-notes\">";
      AppendParagraphs(out, slide.notes);
      out += "</div>\n";
    }
    if (!slide.comments.empty()) AppendComments(out, slide.comments);
    out += "</div>\n";
  }
  for (const std::string& master : presentation.masters) {
    out += "<div class=\"slide-master-content\">";
    AppendParagraphs(out, master);
    out += "</div>\n";
  }
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace txtppt2
