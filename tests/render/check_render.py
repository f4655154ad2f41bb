#!/usr/bin/env python3
"""Reads back what render_hostile wrote with parsers of our own output's
syntax (json, xml.etree, markdown-it for CommonMark) and checks that every
hostile string comes through as its text, that nothing breaks the syntax,
and that no text forges structure. The expected text is Python's own
decoding of the bytes (invalid UTF-8 as U+FFFD).

  check_render.py RENDER_HOSTILE WORKDIR
"""
import json
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

from markdown_it import MarkdownIt

XHTML = "{http://www.w3.org/1999/xhtml}"
failures = []


def check(ok, what, got=None):
    if not ok:
        failures.append(f"{what}: got {got!r}"[:400])


def text(raw):
    return raw.decode("utf-8", "replace")


def xml_text(raw):
    """The text as XML keeps it: forbidden characters as U+FFFD."""
    return "".join(c if c in "\t\n\r" or 0x20 <= ord(c) < 0xFFFE or
                   ord(c) > 0xFFFF else "\ufffd" for c in text(raw))


def lines(value):
    # The renderer splits on LF only: a CR stays inside its paragraph.
    return [line for line in value.split("\n") if line.strip(" \t\r\n")]


def check_json(strings, path):
    with open(path, "rb") as file:
        data = file.read()
    # Strict UTF-8, with the line and paragraph separators escaped (a
    # JavaScript reader of old takes them for line ends).
    check("\u2028" not in data.decode("utf-8") and "\u2029" not in
          data.decode("utf-8"), "JSON: raw U+2028 or U+2029")
    records = [json.loads(line, parse_constant=lambda name: failures.append(
        "non-JSON constant " + name)) for line in data.split(b"\n") if line]
    check(len(records) == 2 and data.count(b"\n") == 2, "two JSON lines",
          len(records))
    deck, failed = records
    check(deck["path"] == text(strings[6]) and deck["status"] == "ok" and
          deck["error"] is None and deck["code"] == 0, "ok record", deck)
    check(failed == {"path": text(strings[36]), "status": "damaged",
                     "format": "ppt", "error": text(strings[44]), "errno": None,
                     "code": 4,
                     "properties": None, "slides": None, "masters": None},
          "failed record", failed)
    props = deck["properties"]
    names = list(props)[:13]  # the text properties, in the model's order
    check([props[name] for name in names] ==
          [text(strings[i % len(strings)]) for i in range(len(names))],
          "properties", props)
    check((props["slides"], props["notes"], props["hidden_slides"]) ==
          (len(strings), -1, None), "counts", props)
    custom = dict((text(s), text(s)) for s in reversed(strings))
    custom.update(flag=True, count=-42, ratio=2.0, nan=None, empty=None)
    check(props["custom"] == custom and
          isinstance(props["custom"]["ratio"], float), "custom", props["custom"])
    for number, (raw, slide) in enumerate(zip(strings, deck["slides"]), 1):
        value = text(raw)
        check(slide == {
            "number": number, "title": value,
            "text": value + "\nbody " + value + "\nend\n", "notes": value,
            "hidden": number % 2 == 0,
            "links": [{"text": value, "url": value}],
            "comments": [{"author": value, "initials": value, "text": value,
                          "date": value}],
            "headers": [{"place": "slide", "kind": "footer", "text": value}],
            "tables": [[["body " + value + "\n", ""], ["end\n"]]]},
            f"JSON slide {number}", slide)
    check(deck["masters"] == [text(raw) for raw in strings], "masters")


def cell_lines(td):
    """A table cell's lines, which <br/> parts."""
    parts = [td.text or ""]
    for child in td:
        if child.tag == XHTML + "br":
            parts.append(child.tail or "")
        else:
            parts[-1] += "".join(child.itertext()) + (child.tail or "")
    return [part for part in parts if part]


def check_xhtml(strings, path):
    root = ET.parse(path).getroot()  # raises unless well-formed
    metas = {meta.get("name"): meta.get("content")
             for meta in root.iter(XHTML + "meta")}
    check(metas["author"] == xml_text(strings[2]) and
          metas["custom:" + xml_text(strings[9])] == xml_text(strings[9]) and
          metas["custom:ratio"] == "2.0" and "hidden_slides" not in metas,
          "meta elements", metas)
    body = root.find(XHTML + "body")
    slides = body.findall(XHTML + "div[@class='slide']")
    check(len(slides) == len(strings), "slide divs", len(slides))
    for number, (raw, slide) in enumerate(zip(strings, slides), 1):
        value = xml_text(raw)
        content = slide.find(XHTML + "div[@class='slide-content']")
        paragraphs = ["".join(p.itertext()) for p in content
                      if p.tag == XHTML + "p" and p.get("class") is None]
        check(paragraphs == lines(value), f"slide {number} paragraphs",
              paragraphs)
        rows = [[cell_lines(td) for td in tr]
                for table in content.iter(XHTML + "table") for tr in table]
        check(rows == [[lines("body " + value), []], [["end"]]],
              f"slide {number} table", rows)
        links = [(a.get("href"), "".join(a.itertext()))
                 for a in content.iter(XHTML + "a")]
        # The first line where the text is found, the whole where it is not.
        check(links == [(value, value.split("\n")[0] or value)],
              f"slide {number} link", links)
        notes = slide.find(XHTML + "div[@class='slide-notes']")
        check((notes is None and not lines(value)) or
              ["".join(p.itertext()) for p in notes] == lines(value),
              f"slide {number} notes")
        author = slide.find(f".//{XHTML}p[@class='slide-comment']/{XHTML}b")
        check("".join(author.itertext()) ==
              (value + f" ({value})" if value else value),
              f"slide {number} comment author")
    masters = body.findall(XHTML + "div[@class='slide-master-content']")
    check([["".join(p.itertext()) for p in master] for master in masters] ==
          [lines(xml_text(raw)) for raw in strings], "master paragraphs")


def markdown_heading(raw):
    value = text(raw).replace("\r\n", "\n").replace("\r", "\n")
    value = "".join(c if c in "\t\n" or ord(c) >= 0x20 else "\ufffd"
                    for c in value)
    return value.replace("\n", " ").replace("\t", " ").strip(" ")


def check_markdown(strings, path):
    with open(path, "rb") as file:
        source = file.read().decode("utf-8")
    tokens = MarkdownIt("commonmark").parse(source)
    html = [t.content.strip() for t in tokens if t.type == "html_block"]
    check(html == ["<!-- Slide number: %d -->" % n
                   for n in range(1, len(strings) + 1)],
          "slide comments are the only HTML blocks", html)
    inline_html = [c.content for t in tokens if t.type == "inline"
                   for c in t.children if c.type == "html_inline"]
    check(inline_html == [], "no inline HTML", inline_html)
    check([t.type for t in tokens if t.type == "fence"] == [], "no fences")
    headings = [(t.tag, t.markup) for t in tokens if t.type == "heading_open"]
    titled = sum(1 for raw in strings if markdown_heading(raw))
    noted = sum(1 for raw in strings if text(raw).strip(" \t\r\n"))
    check(sorted(set(headings)) == [("h1", "#"), ("h3", "###")] and
          headings.count(("h1", "#")) == titled and
          headings.count(("h3", "###")) == noted, "headings", headings)
    contents = [tokens[i + 1].content for i, t in enumerate(tokens)
                if t.type == "heading_open" and t.tag == "h3"]
    check(set(contents) == {"Notes:"}, "notes headings", contents)


def main():
    program, work = sys.argv[1:3]
    os.makedirs(work, exist_ok=True)
    subprocess.run([program, work], check=True)
    with open(os.path.join(work, "strings.hex")) as file:
        strings = [bytes.fromhex(line) for line in file.read().split("\n")]
    strings.pop()  # after the last line end
    check_json(strings, os.path.join(work, "deck.jsonl"))
    check_xhtml(strings, os.path.join(work, "deck.html"))
    check_markdown(strings, os.path.join(work, "deck.md"))
    for failure in failures:
        print("FAILED: " + failure)
    print("%d failed checks" % len(failures) if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
