#!/usr/bin/env python3
"""Compares the presentation model with Apache POI's reading of each file.

Compiles tools/poi/PoiSlides.java against Debian's POI jars, runs it and
txtppt2_dump_presentation over every .ppt of a folder, and checks, on each
file POI reads: the slide count equals POI's, and each slide's text and
notes hold every word of POI's text and notes for that slide (as many
times as POI has it); its tables have POI's rows and cells, each cell
POI's words; its links hold each link POI finds on a shape with a target,
with the shape's words. Prints one line per file that differs and a summary;
exits 1 when a file differs for a reason not listed in KNOWN, 77 when Java
or POI is missing.

    tools/compare_with_poi.py DUMP_PROGRAM FOLDER [--json OUT]
"""

import argparse
import collections
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

JARS = ["poi", "poi-scratchpad", "commons-collections4", "commons-math3",
        "commons-codec"]
JAVA_DIR = "/usr/share/java"
SKIP = 77

# Files where the two readings differ by design, with the reason; a file
# listed here that agrees is reported, so that the list stays true.
KNOWN = {}


def words(text):
    return collections.Counter(re.findall(r"\w+", text or ""))


def missing_words(poi_text, ours):
    """POI's words that our text lacks (with multiplicity)."""
    return words(poi_text) - words(ours)


def table_shapes(tables):
    return [[len(row) for row in table] for table in tables]


def compare_tables(number, theirs, ours):
    """Why a slide's tables differ from POI's; empty when they agree."""
    if table_shapes(theirs) != table_shapes(ours):
        return ["slide %d tables (cells a row) %s, POI %s" %
                (number, table_shapes(ours), table_shapes(theirs))]
    lost = sum(1 for table, mine in zip(theirs, ours)
               for row, my_row in zip(table, mine)
               for cell, my_cell in zip(row, my_row)
               if missing_words(cell, my_cell))
    return ["slide %d: %d table cells lack POI's words" % (number, lost)
            ] if lost else []


def compare_shape_links(number, theirs, ours):
    """The links POI finds on shapes that ours lack. A target is the link's
    address, else its label (the address as typed), as ours reads the
    list; POI also lists links without either, which ours leaves out."""
    lacking = []
    for link in theirs:
        url = link["address"] or link["label"]
        if url and not any(mine["url"] == url and
                           not missing_words(link["text"], mine["text"])
                           for mine in ours):
            lacking.append(url)
    return ["slide %d lacks the shape links %s" % (number, lacking)
            ] if lacking else []


def run_poi(files, workdir):
    classpath = ":".join(os.path.join(JAVA_DIR, jar + ".jar") for jar in JARS)
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "poi",
                          "PoiSlides.java")
    subprocess.run(["javac", "-nowarn", "-cp", classpath, "-d", workdir,
                    source], check=True)
    result = subprocess.run(
        ["java", "-cp", workdir + ":" + classpath, "PoiSlides"] + files,
        check=True, capture_output=True)
    return [json.loads(line) for line in result.stdout.decode().splitlines()]


def run_ours(program, files):
    result = subprocess.run([program] + files, check=True, capture_output=True)
    return [json.loads(line) for line in result.stdout.decode().splitlines()]


def compare(poi, ours):
    """The reasons the two readings of one file differ; empty when they agree."""
    if ours["status"] != "ok":
        return ["we fail: %s" % ours["error"]]
    reasons = []
    theirs, mine = poi["slides"], ours["slides"]
    if len(theirs) != len(mine):
        reasons.append("slide count %d, POI %d" % (len(mine), len(theirs)))
    for index, (a, b) in enumerate(zip(theirs, mine), 1):
        for part in ("text", "notes"):
            lost = missing_words(a[part], b[part])
            if lost:
                sample = " ".join(sorted(lost)[:6])
                reasons.append("slide %d %s lacks %d of POI's words (%s)" %
                               (index, part, sum(lost.values()), sample))
        reasons += compare_tables(index, a["tables"], b["tables"])
        reasons += compare_shape_links(index, a["shape_links"], b["links"])
    return reasons


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dump")
    parser.add_argument("folder")
    parser.add_argument("--json", help="write both readings here")
    args = parser.parse_args()
    if not shutil.which("javac") or not all(
            os.path.exists(os.path.join(JAVA_DIR, jar + ".jar"))
            for jar in JARS):
        print("skipped: javac or Apache POI (libapache-poi-java) missing")
        return SKIP
    files = sorted(glob.glob(os.path.join(args.folder, "*.ppt")))
    if not files:
        print("no .ppt files in %s" % args.folder)
        return 1
    with tempfile.TemporaryDirectory() as workdir:
        poi = run_poi(files, workdir)
    ours = run_ours(args.dump, files)
    if args.json:
        with open(args.json, "w") as out:
            json.dump({"poi": poi, "ours": ours}, out)
    read = agree = 0
    unexpected = []
    for path, theirs, mine in zip(files, poi, ours):
        name = os.path.basename(path)
        if not theirs["ok"]:
            continue
        read += 1
        reasons = compare(theirs, mine)
        if not reasons:
            agree += 1
            if name in KNOWN:
                print("%s: agrees now; drop it from KNOWN" % name)
            continue
        print("%s: %s" % (name, "; ".join(reasons[:4])))
        if name in KNOWN:
            print("  known: %s" % KNOWN[name])
        else:
            unexpected.append(name)
    print("%d files, POI reads %d; %d agree, %d differ (%d not known)" %
          (len(files), read, agree, read - agree, len(unexpected)))
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main())
