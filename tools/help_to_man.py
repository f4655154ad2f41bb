#!/usr/bin/env python3
"""Writes the txtppt2(1) manual page from the command's own --help text.

    help_to_man.py COMMAND VERSION OUT.1

The help is the one list of options; the page is made from it at build
time, so it says what the built command does. The help's layout is read as
follows:

- the lines from "usage:" to the first empty line are the SYNOPSIS (the
  word "usage:" dropped);
- the first line after them is the NAME line's description;
- an unindented line of a few words ending in ":" ("Options:") starts a
  section of that name; an unindented paragraph that begins with such a
  heading and goes on after it ("Exit status: 0 when ...") is a section of
  its own, holding the rest of the paragraph;
- other unindented paragraphs are paragraphs of the section they are in
  (DESCRIPTION before the first heading);
- an indented line is an item: its term, then, after two or more spaces,
  its description; lines indented to the description's column continue
  it, lines indented further are the description's own items, read the
  same way.

A SEE ALSO section naming libtxtppt2(3) ends the page.
"""
import re
import subprocess
import sys

# A heading: at most four words of letters, hyphens or digits, then a colon.
HEADING = re.compile(r"^([A-Z][A-Za-z0-9-]*(?: [A-Za-z0-9-]+){0,3}):(?:\s+(.*))?$")
# An item's term and description, parted by two spaces or more.
GAP = re.compile(r"\S( {2,})\S")


def escape(text):
    """Text as roff: backslashes and hyphens escaped, no leading control
    character."""
    text = text.replace("\\", "\\e").replace("-", "\\-")
    if text.startswith((".", "'")):
        text = "\\&" + text
    return text


def description_column(lines, indent):
    """Where the descriptions of a list of items start: the column most of
    its items with a clear gap (two spaces or more) agree on."""
    columns = {}
    for line in lines:
        if len(line) - len(line.lstrip()) == indent:
            gap = GAP.search(line, indent)
            if gap:
                columns[gap.end(1)] = columns.get(gap.end(1), 0) + 1
    if not columns:
        return None
    return max(columns, key=lambda column: (columns[column], -column))


# What a command line has and a description in words has not.
SHELL_WORDS = re.compile(r"(?:^|\s)-|[/*|<>='\"`]")


def split_item(line, column):
    """An item line's term and description (None when it has none). A term
    as long as the column leaves one space before the description; unless
    the term is an option, that description must read as words, not as the
    rest of a long example command."""
    if (column is not None and len(line) > column
            and line[column - 1] == " " and line[column] != " "):
        term, description = line[:column].strip(), line[column:]
        if (line[column - 2] == " " or term.startswith("-")
                or not SHELL_WORDS.search(description)):
            return term, description
    gap = GAP.search(line)
    if gap:
        return line[:gap.start(1) + 1].strip(), line[gap.end(1):]
    return line.strip(), None


def paragraphs(lines):
    """The lines split at empty lines."""
    block = []
    for line in lines:
        if line.strip():
            block.append(line.rstrip())
        elif block:
            yield block
            block = []
    if block:
        yield block


class Page:
    def __init__(self):
        self.out = []

    def section(self, name):
        self.out.append(".SH " + escape(name.upper()))

    def text(self, lines):
        self.out.append(".PP")
        self.out.extend(escape(line.strip()) for line in lines)

    def items(self, lines, depth=0):
        """Indented lines: items with their descriptions and sub-items."""
        indent = len(lines[0]) - len(lines[0].lstrip())
        column = description_column(lines, indent)
        deepest = column if column is not None else len(max(lines, key=len))
        index = 0
        while index < len(lines):
            term, description = split_item(lines[index], column)
            body = [description] if description else []
            index += 1
            while index < len(lines):
                line = lines[index]
                line_indent = len(line) - len(line.lstrip())
                if line_indent <= indent:
                    break
                # Continuations keep the column; deeper lines are sub-items.
                body.append(line if line_indent > deepest else line.strip())
                index += 1
            self.out.append(".TP")
            self.out.append("\\fB" + escape(term) + "\\fR")
            self.description(body, depth)

    def description(self, body, depth):
        """An item's description: its text, with runs of sub-items (the
        lines still indented) between paragraphs of it."""
        index = 0
        while index < len(body):
            nested = body[index].startswith(" ")
            end = index
            while end < len(body) and body[end].startswith(" ") == nested:
                end += 1
            if nested:
                self.out.append(".RS")
                self.items(body[index:end], depth + 1)
                self.out.append(".RE")
            else:
                if index > 0:
                    self.out.append(".IP")
                self.out.extend(escape(line) for line in body[index:end])
            index = end


def make_page(help_text, version):
    lines = help_text.splitlines()
    blocks = list(paragraphs(lines))
    usage = blocks.pop(0)
    if not usage[0].lower().startswith("usage:"):
        raise ValueError("the help does not start with a usage line")
    summary = usage.pop() if len(usage) > 1 and not usage[-1].startswith(" ") \
        else blocks[0].pop(0)
    if blocks and not blocks[0]:
        blocks.pop(0)
    summary = summary.rstrip(".")
    summary = summary[0].lower() + summary[1:]

    page = Page()
    page.out.append(f'.TH TXTPPT2 1 "" "txtppt2 {version}" "User Commands"')
    page.section("name")
    page.out.append("txtppt2 \\- " + escape(summary))
    page.section("synopsis")
    page.out.append(".nf")
    for line in usage:
        words = line.split(None, 1) if line.lower().startswith("usage:") \
            else [None, line.strip()]
        page.out.append(escape(words[1]))
    page.out.append(".fi")
    page.section("description")
    for block in blocks:
        heading = HEADING.match(block[0])
        if heading and not block[0].startswith(" "):
            page.section(heading.group(1))
            rest = ([heading.group(2)] if heading.group(2) else []) + block[1:]
        else:
            rest = block
        while rest:
            # Unindented lines are text; indented ones items.
            cut = next((i for i, line in enumerate(rest)
                        if line.startswith(" ") != rest[0].startswith(" ")),
                       len(rest))
            if rest[0].startswith(" "):
                page.items(rest[:cut])
            else:
                page.text(rest[:cut])
            rest = rest[cut:]
    page.section("see also")
    page.out.append(".BR libtxtppt2 (3)")
    return "\n".join(page.out) + "\n"


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: help_to_man.py COMMAND VERSION OUT.1")
    command, version, out = sys.argv[1:]
    help_text = subprocess.run([command, "--help"], check=True,
                               capture_output=True, text=True).stdout
    with open(out, "w", encoding="utf-8") as page:
        page.write(make_page(help_text, version))


if __name__ == "__main__":
    main()
