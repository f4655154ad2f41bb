#include "render/markdown.h"

#include "render/utf8_scan.h"

namespace txtppt2 {
namespace {

// An ordered list item's number has at most nine digits.
constexpr size_t kMaxListNumberDigits = 9;

// Valid UTF-8 with LF line ends and no control characters but TAB and LF.
std::string CleanText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t position = 0; position < text.size();) {
    char32_t codePoint = NextCodePoint(text, position);
    if (codePoint == '\r') {
      if (position < text.size() && text[position] == '\n') ++position;
      codePoint = '\n';
    } else if (codePoint < 0x20 && codePoint != '\t' && codePoint != '\n') {
      codePoint = kReplacementCharacter;
    }
    AppendUtf8(out, codePoint);
  }
  return out;
}

bool IsSetextUnderline(std::string_view rest) {
  size_t end = rest.find_last_not_of(" \t");
  if (end == std::string_view::npos || (rest[0] != '=' && rest[0] != '-'))
    return false;
  return rest.substr(0, end + 1).find_first_not_of(rest[0]) ==
         std::string_view::npos;
}

// Whether a line's content `rest` would open a heading or a code fence, or
// be a setext underline.
bool StartsStructure(std::string_view rest) {
  return rest.starts_with('#') || rest.starts_with("```") ||
         rest.starts_with("~~~") || IsSetextUnderline(rest);
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Appends text with a backslash before each '<' that would open an HTML
// tag, comment, declaration or processing instruction. A '<' after an odd
// run of backslashes is escaped already (one more would escape the last
// backslash instead).
void AppendWithoutTags(std::string& out, std::string_view text) {
  size_t backslashes = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '<' && i + 1 < text.size() && backslashes % 2 == 0) {
      const char next = text[i + 1];
      if (IsAsciiLetter(next) || next == '/' || next == '!' || next == '?')
        out += '\\';
    }
    backslashes = text[i] == '\\' ? backslashes + 1 : 0;
    out += text[i];
  }
}

bool IsSpaceOrEnd(std::string_view line, size_t at) {
  return at >= line.size() || line[at] == ' ' || line[at] == '\t';
}

// Where a line's content starts once the markers of the containers it may
// open (blockquotes, list items, nested to any depth) and any indent are
// skipped: a heading, fence or underline there is still one.
size_t ContentStart(std::string_view line) {
  size_t at = 0;
  for (;;) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at >= line.size()) return at;
    const char c = line[at];
    if (c == '>') {
      ++at;
    } else if ((c == '-' || c == '+' || c == '*') && IsSpaceOrEnd(line, at + 1)) {
      ++at;
    } else {
      size_t digits = 0;
      while (at + digits < line.size() && line[at + digits] >= '0' &&
             line[at + digits] <= '9')
        ++digits;
      const size_t marker = at + digits;
      if (digits == 0 || digits > kMaxListNumberDigits ||
          marker >= line.size() || (line[marker] != '.' && line[marker] != ')') ||
          !IsSpaceOrEnd(line, marker + 1))
        return at;
      at = marker + 1;
    }
  }
}

void AppendEscapedLine(std::string& out, std::string_view line) {
  const size_t start = ContentStart(line);
  const bool escape = StartsStructure(line.substr(start));
  AppendWithoutTags(out, line.substr(0, start));
  if (escape) out += '\\';
  AppendWithoutTags(out, line.substr(start));
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// The slide's text without its title, which the heading shows: the first
// paragraphs that hold exactly the title's text. A title from the slide
// list, which no shape shows, is not in the text.
std::string TextWithoutTitle(const Slide& slide) {
  std::string text = slide.text;
  if (!slide.title || slide.title->empty()) return text;
  std::string title = *slide.title;
  if (!title.ends_with('\n')) title += '\n';
  for (size_t at = text.find(title); at != std::string::npos;
       at = text.find(title, at + 1)) {
    if (at == 0 || text[at - 1] == '\n') {
      text.erase(at, title.size());
      break;
    }
  }
  return text;
}

}  // namespace

std::string EscapeMarkdownBlock(std::string_view text) {
  const std::string clean = CleanText(text);
  std::string out;
  out.reserve(clean.size() + clean.size() / 16);
  size_t start = 0;
  while (start < clean.size()) {
    size_t end = clean.find('\n', start);
    if (end == std::string::npos) end = clean.size();
    AppendEscapedLine(out, std::string_view(clean).substr(start, end - start));
    out += '\n';
    start = end + 1;
  }
  return out;
}

std::string EscapeMarkdownHeading(std::string_view text) {
  std::string line = CleanText(text);
  for (char& c : line)
    if (c == '\n' || c == '\t') c = ' ';
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  line = line.substr(first, line.find_last_not_of(' ') - first + 1);
  std::string out;
  AppendWithoutTags(out, line);
  // A run of '#' at the end, after a space, would be read as the heading's
  // closing sequence and dropped.
  const size_t hashes = out.find_last_not_of('#') + 1;  // npos + 1 == 0
  if (hashes < out.size() && (hashes == 0 || out[hashes - 1] == ' '))
    out.insert(hashes, "\\");
  return out;
}

std::string RenderMarkdown(const Presentation& presentation) {
  std::string out;
  for (const Slide& slide : presentation.slides) {
    out += "<!-- Slide number: " + std::to_string(slide.number) + " -->\n";
    const std::string heading =
        slide.title ? EscapeMarkdownHeading(*slide.title) : "";
    if (!heading.empty()) out += "# " + heading + "\n";
    out += EscapeMarkdownBlock(TextWithoutTitle(slide));
    if (!IsBlank(slide.notes))
      out += "\n### Notes:\n" + EscapeMarkdownBlock(slide.notes);
    out += "\n";
  }
  return out;
}

}  // namespace txtppt2
