#!/usr/bin/env python3
"""End-to-end tests of the txtppt2 command, on the sample presentation and
on sample files that txtppt2_make_seeds wrote into SEEDS, copied into WORK
(and run from there, so that names are short). Every case is run; all
failed checks are reported.

  cli_test.py CLI SEEDS WORK EXAMPLES VERSION
"""
import json
import os
import pty
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

SEP = "-" * 30 + "\r\n"
# What the converter makes of the sample file "mixed_scripts".
DECK = ("Café crème à 3 € čĊ\r\n日本 \U0001F600 \ud800!\r\n"
        "Line one\r\nLine two\r\nsoft\r\nbreak\r\n" + SEP + "Second slide\r\n")
# Windows-1252: a best fit (c for U+010D) or else a space per UTF-16 unit.
DECK_CP1252 = (b"Caf\xe9 cr\xe8me \xe0 3 \x80 cC\r\n       !\r\n"
               b"Line one\r\nLine two\r\nsoft\r\nbreak\r\n" + SEP.encode() +
               b"Second slide\r\n")
# Each file kind's own words (tests/python/test_statuses.py has every kind).
NOT_PPT = "not a PowerPoint 97-2003 presentation, nor a format txtppt2 knows"
BAD = [("missing.ppt", "No such file or directory"),
       ("missing folder/x.ppt", "No such file or directory"),
       ("notes.txt", NOT_PPT),
       ("no_document_stream.ppt",
        "not a PowerPoint 97-2003 presentation but a Word 97-2003 document")]


def utf8(text):  # a lone surrogate becomes U+FFFD
    return text.encode("utf-16-le", "surrogatepass").decode(
        "utf-16-le", "replace").encode()


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


def line(path, message):
    return ("txtppt2: %s: %s\n" % (path, message)).encode()


def cases(deck_bytes, large, second, complete):
    """(args, stdin, stdout, stderr, status): stderr as bytes is exact, as
    str a part that must appear (with the usage line when status is 2).
    second.ppt and -x.ppt are the sample presentation, which gives second."""
    table = [
        (["deck.ppt"], b"", utf8(DECK), b"", 0),
        (["--encoding", "utf-16le", "deck.ppt"], b"", utf16(DECK), b"", 0),
        (["--encoding=cp1252", "deck.ppt"], b"", DECK_CP1252, b"", 0),
        (["--lf", "--encoding", "utf-16le", "deck.ppt"], b"",
         utf16(DECK.replace("\r\n", "\n")), b"", 0),
        (["-"], deck_bytes, utf8(DECK), b"", 0),
        (["--encoding", "cp1252", "--lf", "deck.ppt", "-"], deck_bytes,
         DECK_CP1252.replace(b"\r\n", b"\n") * 2, b"", 0),
        (["-", "second.ppt"], b"x" * 600, second,
         line("-", NOT_PPT), 1),
        (["--", "-x.ppt"], b"", second, b"", 0),
        (["--probe", "deck.ppt", "-"], deck_bytes,
         b"deck.ppt: supported\n-: supported\n", b"", 0),
        (["--probe", "-"], b"", b"-: not supported\n", b"", 1),
        # --complete from standard input, and its errors, as from the path.
        (["--complete", "-"], open("second.ppt", "rb").read(), complete, b"",
         0),
        (["--complete", "notes.txt", "x" * 1100], b"", b"",
         line("notes.txt", NOT_PPT) +
         line("x" * 1100, "File name too long"), 1),
        # A failure costs its own input; the others keep their order, also
        # after a large deck that finishes last on four threads.
        (["--jobs", "4", large, "deck.ppt"] +
         [arg for bad in BAD for arg in (bad[0], "second.ppt")], b"",
         run([large]).stdout + utf8(DECK) + second * len(BAD),
         b"".join(line(*bad) for bad in BAD), 1),
    ]
    for args, message in [
            ([], "no input file"),
            (["--bogus", "deck.ppt"], "unknown option '--bogus'"),
            (["-x", "deck.ppt"], "unknown option '-x'"),
            (["--encoding", "latin1", "deck.ppt"], "unknown encoding 'latin1'"),
            (["deck.ppt", "--encoding"], "option '--encoding' needs a value"),
            (["--jobs", "0", "deck.ppt"], "invalid number of jobs '0'"),
            (["-j", "4x", "deck.ppt"], "invalid number of jobs '4x'"),
            (["--lf=yes", "deck.ppt"], "option '--lf' takes no value"),
            (["-o", "a.txt", "--output-dir", "b", "deck.ppt"],
             "-o and --output-dir exclude each other"),
            (["--probe", "-o", "a.txt", "deck.ppt"], "--probe"),
            (["-", "-"], "standard input given more than once"),
            (["--format", "csv", "deck.ppt"], "unknown format 'csv'"),
            (["--format=json", "--encoding", "cp1252", "deck.ppt"],
             "--encoding applies to --format text only")]:
        table.append((args, b"", b"", message, 2))
    return table


def run(args, stdin=b""):
    return subprocess.run([CLI] + args, input=stdin, capture_output=True,
                          timeout=120)


def tree(folder):
    return {name: open(os.path.join(folder, name), "rb").read()
            for name in sorted(os.listdir(folder))}


def on_terminal(args):
    """Standard error as a terminal sees it."""
    master, slave = pty.openpty()
    process = subprocess.Popen([CLI] + args, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=slave)
    os.close(slave)
    seen = b""
    try:
        while chunk := os.read(master, 4096):
            seen += chunk
    except OSError:  # the terminal closed with its last writer
        pass
    os.close(master)
    return process.wait(timeout=120), seen.replace(b"\r\n", b"\n")


def check_formats(check, work, decks):
    """--format json, markdown and xhtml: one JSON record per input, failed
    ones included; the three formats show the same slides; --jobs, -o and
    --output-dir change nothing but where the bytes go."""
    inputs = ["deck.ppt", "second.ppt", "notes.txt"] + decks[:3]
    stdin = open("second.ppt", "rb").read()
    outputs = {}
    for fmt in ("json", "markdown", "xhtml"):
        runs = [run(["--format", fmt, "-j", jobs] + inputs + ["-"], stdin)
                for jobs in ("1", "4")]
        check(all(r.returncode == 1 and r.stderr == line("notes.txt", NOT_PPT)
                  for r in runs) and
              runs[0].stdout == runs[1].stdout,
              fmt + ": --jobs 1 and 4", [r.stderr for r in runs])
        outputs[fmt] = runs[0].stdout
    records = [json.loads(line) for line in outputs["json"].splitlines()]
    check([(r["path"], r["status"]) for r in records] ==
          [(name, "other_format" if name == "notes.txt" else "ok")
           for name in inputs + ["-"]], "json: one record per input",
          records)
    failed = records[2]
    check(failed["error"] and failed["code"] == 4 and
          failed["slides"] is None and failed["properties"] is None,
          "json: the failed file's record", failed)
    check(records[1]["slides"] == records[-1]["slides"] and
          [slide["number"] for slide in records[1]["slides"]] == [1, 2, 3],
          "json: a path and standard input", records[1])
    check(set(records[0]) == {"path", "status", "format", "error", "errno",
                              "code", "properties", "slides", "masters"},
          "json: keys", sorted(records[0]))
    # Each format shows the same slides: markdown's comments, xhtml's divs.
    counts = [len(r["slides"]) for r in records if r["slides"] is not None]
    check([len(re.findall(rb"^<!-- Slide number: \d+ -->$", part, re.M))
           for part in re.split(rb"(?m)^(?=<!-- Slide number: 1 -->$)",
                                outputs["markdown"]) if part] ==
          [count for count in counts if count],
          "markdown: slides per file", outputs["markdown"][:200])
    documents = outputs["xhtml"].split(b"<?xml ")[1:]
    check([len(ET.fromstring(b"<?xml " + d).findall(
        ".//{http://www.w3.org/1999/xhtml}div[@class='slide']"))
        for d in documents] == counts, "xhtml: slides per file")

    for fmt, extension in (("json", "json"), ("markdown", "md"),
                           ("xhtml", "html")):
        out = os.path.join(work, "formats", "all." + extension)
        os.makedirs(os.path.dirname(out), exist_ok=True)
        r = run(["--format", fmt, "-o", out] + inputs + ["-"], stdin)
        check(r.stdout == b"" and open(out, "rb").read() == outputs[fmt],
              fmt + ": -o", r.stderr)
        folder = os.path.join(work, "formats", fmt)
        r = run(["--format=" + fmt, "--output-dir", folder, "-j", "2"] +
                inputs + ["-"], stdin)
        expected = {os.path.basename(name).rsplit(".", 1)[0] + "." +
                    extension: run(["--format", fmt, name]).stdout
                    for name in inputs[:2] + inputs[3:]}
        expected["stdin." + extension] = run(["--format", fmt, "-"],
                                             stdin).stdout
        if fmt == "json":  # a failed file keeps its record
            expected["notes.json"] = (json.dumps(failed, separators=(",", ":"),
                                                 ensure_ascii=False) +
                                      "\n").encode()
        check(r.returncode == 1 and tree(folder) == expected,
              fmt + ": --output-dir", sorted(tree(folder)))


def main():
    global CLI
    CLI, seeds, work, examples, version = sys.argv[1:6]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "in"))
    os.chdir(os.path.join(work, "in"))
    for name in ("second.ppt", "-x.ppt"):
        shutil.copy(examples + "/sample.ppt", name)
    shutil.copy(seeds + "/mixed_scripts.ppt", "deck.ppt")
    shutil.copy(seeds + "/no_document_stream.ppt", ".")
    open("notes.txt", "wb").write(b"n" * 600 + b"\n")
    failures = []

    def check(ok, what, got=""):
        if not ok:
            failures.append("%s: got %r" % (what, got[:300] if got else got))

    deck_bytes = open("deck.ppt", "rb").read()
    second = open(examples + "/sample.expected.txt", "rb").read()
    # Sound sample files, the first the slowest to convert.
    decks = [seeds + "/" + name + ".ppt" for name in (
        "many_containers", "v3_mini_stream", "v4_regular_stream",
        "other_streams_and_storages", "text_with_nul_lone_cr_and_vt",
        "empty_document_stream")]
    complete = run(["--complete", "second.ppt"]).stdout
    check(complete != second, "--complete gives the exact text", complete)
    for args, stdin, stdout, stderr, status in cases(deck_bytes, decks[0],
                                                     second, complete):
        what = " ".join(args) or "(no arguments)"
        r = run(args, stdin)
        check(r.returncode == status, what + ": status", r.returncode)
        check(r.stdout == stdout, what + ": stdout", r.stdout)
        if isinstance(stderr, bytes):
            check(r.stderr == stderr, what + ": stderr", r.stderr)
        else:
            check(("txtppt2: " + stderr).encode() in r.stderr and
                  b"usage: txtppt2" in r.stderr, what + ": stderr", r.stderr)

    # Output files: -o, and --output-dir with names from the inputs; --jobs
    # changes nothing; a failure or a name taken costs only its own file.
    out = os.path.join(work, "o", "out.txt")
    os.makedirs(os.path.dirname(out))
    r = run(["-o", out, "deck.ppt", "second.ppt"])
    check(r.stdout == b"" and tree(os.path.dirname(out)) ==
          {"out.txt": utf8(DECK) + second}, "-o", r.stderr)
    shutil.copy("deck.ppt", os.path.join(work, "talk.v2.ppt"))
    inputs = decks + [os.path.join(work, "talk.v2.ppt"), "notes.txt", "-"]
    expected = {os.path.basename(name)[:-4] + ".txt": run([name]).stdout
                for name in decks}
    expected.update({"talk.v2.txt": utf8(DECK), "stdin.txt": second})
    for jobs in ("1", "4"):
        folder = os.path.join(work, "jobs" + jobs, "made")
        r = run(["--output-dir", folder, "-j", jobs] + inputs,
                open("second.ppt", "rb").read())
        check(r.returncode == 1 and r.stderr == line("notes.txt", NOT_PPT)
              and tree(folder) == expected,
              "--output-dir -j " + jobs, (r.stderr, sorted(tree(folder))))
    os.makedirs(os.path.join(work, "other"))
    shutil.copy("second.ppt", os.path.join(work, "other", "deck.ppt"))
    folder = os.path.join(work, "clash")
    r = run(["--output-dir", folder, "deck.ppt", work + "/other/deck.ppt"])
    check(r.returncode == 1 and b"already written for deck.ppt" in r.stderr
          and tree(folder) == {"deck.txt": utf8(DECK)},
          "--output-dir: a name taken", r.stderr)

    check_formats(check, work, decks)

    # On a terminal, batch mode shows its progress on a line that messages
    # clear; a pipe gets the messages alone.
    error = line("notes.txt", NOT_PPT)
    args = ["--output-dir", work, "-j", "2", "deck.ppt", "notes.txt"]
    status, seen = on_terminal(args)
    check(status == 1 and b"\x1b[K" + error in seen and
          seen.rstrip().endswith(b"txtppt2: 2/2 files, 1 failed"),
          "progress on a terminal", seen)
    check(on_terminal(["deck.ppt", "notes.txt"])[1] == error,
          "no progress outside batch mode")

    for args in (["--help"], ["--bogus", "-h"]):
        r = run(args)
        check(r.returncode == 0 and b"--output-dir" in r.stdout,
              " ".join(args), r.stdout)
    r = run(["--version"])
    lines = r.stdout.decode().splitlines()
    check(lines[:1] == ["txtppt2 " + version] and len(lines) == 2,
          "--version", r.stdout)

    for failure in failures:
        print("FAILED: " + failure)
    print("%d failed checks" % len(failures) if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
