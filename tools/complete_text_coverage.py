#!/usr/bin/python3
"""Compares, per presentation, the distinct words of txtppt2's complete text
(--complete) with those of its exact text and, where installed, of catppt
(catdoc) and of Apache POI (HSLF, slides and notes).

  tools/complete_text_coverage.py [--txtppt2 BUILD/cli/txtppt2] [DIR|FILE...]

Prints one line per file and the totals. A word is a run of letters and
digits, compared in lower case. The figures read:
  exact-missing  exact walk words the complete text lacks; 'stale' of them
                 POI lacks too (copies of earlier saves, master text)
  poi-missing    POI words the complete text lacks
  poi-cover      the share of POI's words (summed over files) the complete
                 text holds
  less-than-exact  files POI reads whose complete text has fewer distinct
                 words than the exact text, and files POI reads whose
                 complete text lacks a word that both the exact text and
                 POI have
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

WORD = re.compile(r"\w+")
POI_JARS = ["/usr/share/java/poi.jar", "/usr/share/java/poi-scratchpad.jar"]

# Prints each file's slides and notes text into OUT/NAME.txt, or the error
# into OUT/NAME.err.
POI_PROGRAM = r"""
import java.io.*;
import java.nio.charset.StandardCharsets;
import org.apache.poi.hslf.extractor.PowerPointExtractor;
public class PoiText {
  public static void main(String[] args) throws Exception {
    for (int i = 1; i < args.length; i++) {
      String name = new File(args[i]).getName();
      try (FileInputStream in = new FileInputStream(args[i])) {
        String text = new PowerPointExtractor(in).getText(true, true, false, false);
        write(new File(args[0], name + ".txt"), text);
      } catch (Throwable error) {
        write(new File(args[0], name + ".err"), String.valueOf(error));
      }
    }
  }
  static void write(File file, String text) throws IOException {
    try (Writer out = new OutputStreamWriter(new FileOutputStream(file),
                                             StandardCharsets.UTF_8)) {
      out.write(text);
    }
  }
}
"""


def words(text):
    return set(WORD.findall(text.lower())) if text is not None else None


def run_text(command):
    result = subprocess.run(command, capture_output=True, timeout=120)
    if result.returncode != 0:
        return None
    return result.stdout.decode("utf-8", "replace")


def poi_texts(files, scratch):
    """NAME -> text (None where POI fails); empty when POI is missing."""
    if not shutil.which("java") or not shutil.which("javac") or not all(
            os.path.exists(jar) for jar in POI_JARS):
        return {}
    classpath = ":".join(POI_JARS)
    with open(os.path.join(scratch, "PoiText.java"), "w") as source:
        source.write(POI_PROGRAM)
    subprocess.run(["javac", "-nowarn", "-cp", classpath, "-d", scratch,
                    os.path.join(scratch, "PoiText.java")], check=True,
                   capture_output=True)
    out = os.path.join(scratch, "poi")
    os.mkdir(out)
    subprocess.run(["java", "-cp", classpath + ":" + scratch, "PoiText", out]
                   + files, capture_output=True, timeout=1800)
    texts = {}
    for path in files:
        name = os.path.basename(path)
        text_path = os.path.join(out, name + ".txt")
        if os.path.exists(text_path):
            with open(text_path, encoding="utf-8") as text:
                texts[name] = text.read()
        else:
            texts[name] = None
    return texts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--txtppt2", default="build-dev/cli/txtppt2")
    parser.add_argument("inputs", nargs="*",
                        default=["../shared/corpus/ppt"])
    args = parser.parse_args()
    files = []
    for item in args.inputs:
        if os.path.isdir(item):
            files += sorted(os.path.join(item, name)
                            for name in os.listdir(item)
                            if name.lower().endswith(".ppt"))
        else:
            files.append(item)
    catppt = shutil.which("catppt")
    with tempfile.TemporaryDirectory() as scratch:
        poi = poi_texts(files, scratch)
    print("peers: catppt %s, POI %s" % ("yes" if catppt else "not installed",
                                        "yes" if poi else "not installed"))
    print("%-52s %6s %6s %6s %6s %6s %6s %6s" % (
        "file", "exact", "compl", "catppt", "poi", "ex-mis", "stale",
        "poi-mis"))
    totals = dict(exact=0, complete=0, catppt=0, poi=0, exact_missing=0,
                  stale=0, poi_missing=0, poi_held=0, less=0, lacks=0,
                  failed=0)
    for path in files:
        name = os.path.basename(path)
        exact = words(run_text([args.txtppt2, path]))
        complete = words(run_text([args.txtppt2, "--complete", path]))
        cat = words(run_text([catppt, path])) if catppt else None
        theirs = words(poi.get(name))
        if exact is not None and complete is None:
            totals["failed"] += 1
        exact, complete = exact or set(), complete or set()
        missing = exact - complete
        stale = missing - theirs if theirs is not None else missing
        poi_missing = theirs - complete if theirs is not None else set()
        totals["exact"] += len(exact)
        totals["complete"] += len(complete)
        totals["catppt"] += len(cat or ())
        totals["exact_missing"] += len(missing)
        totals["stale"] += len(stale)
        if theirs is not None:
            totals["poi"] += len(theirs)
            totals["poi_missing"] += len(poi_missing)
            totals["poi_held"] += len(theirs & complete)
            totals["less"] += len(complete) < len(exact)
            totals["lacks"] += bool(missing & theirs)

        def show(value):
            return "-" if value is None else str(len(value))
        print("%-52s %6d %6d %6s %6s %6d %6d %6s" % (
            name[:52], len(exact), len(complete), show(cat), show(theirs),
            len(missing), len(stale),
            "-" if theirs is None else len(poi_missing)))
    print("total: %d files; distinct words per file summed: exact %d, "
          "complete %d, catppt %d, POI %d" % (
              len(files), totals["exact"], totals["complete"],
              totals["catppt"], totals["poi"]))
    print("exact words missing from complete: %d (%d of them absent from "
          "POI too: stale copies or master text)" % (
              totals["exact_missing"], totals["stale"]))
    if poi:
        print("POI words held by complete: %d of %d (%.2f %%)" % (
            totals["poi_held"], totals["poi"],
            100.0 * totals["poi_held"] / max(totals["poi"], 1)))
        print("files POI reads with fewer words than exact: %d; lacking a "
              "word both exact and POI have: %d" % (totals["less"],
                                                     totals["lacks"]))
    print("files the exact mode converts and complete mode fails: %d"
          % totals["failed"])
    return 0


if __name__ == "__main__":
    sys.exit(main())
