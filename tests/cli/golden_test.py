#!/usr/bin/env python3
"""txtppt2 --format json on a handful of shared-corpus files against what
Apache POI 4.0.1 (Debian's libapache-poi-java) reads of them, its paragraph
separators written as LF. golden/poi_slides.json holds per file only what
POI shows: each listed slide's title (exact), text and notes (words the
slide's own must hold, in order where "ordered"), links (exact), tables
(exact, a cell's last LF aside), comments (author, initials, words); the
properties listed (exact). Every slide is listed unless "slide_count" says
otherwise. Then every corpus file in every format, for well-formed output
and the JSON's tables, cell for cell, in the XHTML.

  golden_test.py CLI CORPUS_DIR     (77: skipped, no corpus and CI unset)
"""
import collections
import json
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

XHTML = "{http://www.w3.org/1999/xhtml}"
failures = []


def check(ok, what, got=None):
    if not ok:
        failures.append(f"{what}: got {got!r}"[:500])


def holds_words(ours, theirs, ordered):
    ours, theirs = ours.split(), theirs.split()
    if ordered:
        remaining = iter(ours)
        return all(word in remaining for word in theirs)
    return not collections.Counter(theirs) - collections.Counter(ours)


def check_slide(name, expected, slide, ordered):
    where = f"{name} slide {expected['number']}"
    if "title" in expected:
        check(slide["title"] == expected["title"], where + " title",
              slide["title"])
    for key in ("text", "notes"):
        if key in expected:
            check(holds_words(slide[key], expected[key], ordered),
                  f"{where} {key}", slide[key])
    if "links" in expected:
        check(slide["links"] == expected["links"], where + " links",
              slide["links"])
    if "tables" in expected:
        got = [[[cell.removesuffix("\n") for cell in row] for row in table]
               for table in slide["tables"]]
        check(got == expected["tables"], where + " tables", got)
    if "comments" in expected:
        got = slide["comments"]
        check(len(got) == len(expected["comments"]) and all(
            (c["author"], c["initials"]) == (e["author"], e["initials"]) and
            holds_words(c["text"], e["text"], True)
            for c, e in zip(got, expected["comments"])),
            where + " comments", got)


def check_whole_corpus(cli, corpus):
    """Every file in every format: a record each, failed at least where
    the exports fail; each XHTML document well-formed; the same slides in
    the Markdown as in the JSON."""
    names = sorted(name for name in os.listdir(corpus) if name.endswith(".ppt"))
    failing = {name for name in names if os.path.exists(
        os.path.join(corpus, "..", "expected", name + ".error"))}
    out = {fmt: subprocess.run([cli, "--format", fmt, "-j", "2"] + names,
                               cwd=corpus, capture_output=True,
                               timeout=600).stdout
           for fmt in ("json", "markdown", "xhtml")}
    records = [json.loads(line) for line in out["json"].splitlines()]
    # The exports' failures and the encrypted, damaged, older and other
    # files: each with its status and format (golden/corpus_statuses.json).
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "golden", "corpus_statuses.json")) as file:
        statuses = json.load(file)["files"]
    unsound = {r["path"]: f'{r["status"]} {r["format"]}' for r in records
               if (r["status"], r["format"]) != ("ok", "ppt")}
    check([r["path"] for r in records] == names and failing <= set(unsound)
          and unsound == statuses, "corpus: statuses", unsound)
    slides = [len(r["slides"]) for r in records if r["slides"]]
    firsts = re.findall(rb"(?m)^<!-- Slide number: 1 -->$", out["markdown"])
    check(len(firsts) == len(slides) and
          out["markdown"].count(b"<!-- Slide number: ") == sum(slides),
          "corpus: markdown slides", len(firsts))
    cells = [[[[len(row) for row in table] for table in slide["tables"]]
              for slide in r["slides"]] for r in records
             if r["slides"] is not None]
    documents = out["xhtml"].split(b"<?xml ")[1:]
    check(len(documents) == len(cells), "corpus: XHTML documents",
          len(documents))
    for document, expected in zip(documents, cells):
        try:
            root = ET.fromstring(b"<?xml " + document)
        except ET.ParseError as error:
            failures.append(f"corpus: XHTML not well-formed: {error}")
            continue
        slides = [div for div in root.iter(XHTML + "div")
                  if div.get("class") == "slide"]
        got = [[[len(tr) for tr in table]
                for table in slide.iter(XHTML + "table")] for slide in slides]
        check(got == expected, "corpus: XHTML tables", (got, expected))


def main():
    cli, corpus = sys.argv[1:3]
    if not os.path.isdir(corpus):
        print(f"the shared corpus is not at {corpus}")
        return 1 if os.environ.get("CI") == "true" else 77
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "golden", "poi_slides.json"),
              encoding="utf-8") as file:
        golden = json.load(file)
    paths = [os.path.join(corpus, entry["file"]) for entry in golden]
    run = subprocess.run([cli, "--format", "json"] + paths,
                         capture_output=True, timeout=300)
    records = [json.loads(line) for line in run.stdout.splitlines()]
    check(run.returncode == 0 and len(records) == len(golden),
          "every file converts", run.stderr)
    for entry, record in zip(golden, records):
        name = entry["file"]
        check(record["status"] == "ok", name + " status", record["status"])
        slides = record["slides"] or []
        count = entry.get("slide_count", len(entry["slides"]))
        check(len(slides) == count and
              [s["number"] for s in slides] == list(range(1, count + 1)),
              name + " slide numbers", [s["number"] for s in slides])
        for expected in entry["slides"]:
            if expected["number"] <= len(slides):
                check_slide(name, expected, slides[expected["number"] - 1],
                            entry.get("ordered", False))
        properties = record["properties"] or {}
        for key, value in entry.get("properties", {}).items():
            check(properties.get(key) == value, f"{name} property {key}",
                  properties.get(key))
    check_whole_corpus(cli, corpus)
    for failure in failures:
        print("FAILED: " + failure)
    print("%d failed checks" % len(failures) if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
