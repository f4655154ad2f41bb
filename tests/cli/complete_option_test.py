#!/usr/bin/python3
"""--complete end to end: the same text in every encoding, from a path, from
standard input and in batch mode on two threads, and the library's error
for a file that is no presentation.

  complete_option_test.py TXTPPT2 SAMPLE.ppt WORKDIR
"""
import os
import subprocess
import sys

cli, sample, work = sys.argv[1:4]
os.makedirs(work, exist_ok=True)
failures = []


def run(*args, stdin=None):
    return subprocess.run([cli, *args], input=stdin, capture_output=True)


def check(condition, what):
    if not condition:
        failures.append(what)


exact = run(sample).stdout.decode("utf-8")
text = run("--complete", sample).stdout.decode("utf-8")
check(set(exact.split()) <= set(text.split()), "exact words missing")
# The sample's notes belong to its first slide.
check(0 <= text.find("Speaker notes") < text.find("-" * 30), "notes misplaced")
check(text.count("-" * 30 + "\r\n") == exact.count("-" * 30 + "\r\n"),
      "slide count differs")
check(run("--complete", "--encoding", "utf-16le", sample).stdout.decode(
    "utf-16-le") == text, "utf-16le differs from utf-8")
check(run("--complete", "--encoding", "cp1252", sample).stdout.count(b"\r\n")
      == text.count("\r\n"), "cp1252 lines differ")
with open(sample, "rb") as deck:
    check(run("--complete", "-", stdin=deck.read()).stdout.decode() == text,
          "standard input differs")
copy = os.path.join(work, "copy.ppt")
with open(sample, "rb") as deck, open(copy, "wb") as out:
    out.write(deck.read())
batch = run("--complete", "--jobs", "2", "--output-dir", work, sample, copy)
for name in ("sample.txt", "copy.txt"):
    with open(os.path.join(work, name), "rb") as out:
        check(batch.returncode == 0 and out.read().decode() == text,
              "batch output " + name)
not_ppt = os.path.join(work, "notes.txt")
with open(not_ppt, "w") as out:
    out.write("not a presentation")
check(run("--complete", not_ppt).stderr == run(not_ppt).stderr != b"",
      "errors differ")
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
