#!/usr/bin/env python3
"""Compares the presentation model with Apache POI's reading of each file.

Compiles tools/poi/PoiSlides.java against Debian's POI jars, runs it and
txtppt2_dump_presentation over every .ppt of a folder, and checks, on each
file POI reads: the slide count equals POI's, and each slide's text and
notes hold every word of POI's text and notes for that slide (as many
times as POI has it). Prints one line per file that differs and a summary;
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
