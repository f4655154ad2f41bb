#!/usr/bin/env python3
"""End-to-end tests of the txtppt2 command.

Each group of cases runs the built command on the inputs that
txtppt2_cli_fixtures wrote and checks its standard output, standard error,
exit status and output files. A group collects every failed check and
reports them all.

  cli_test.py GROUP --cli TXTPPT2 --fixtures DIR --work DIR --examples DIR
              --version VERSION
  cli_test.py --list
"""
import argparse
import os
import pty
import shutil
import subprocess
import sys

SEPARATOR = "-" * 30 + "\r\n"

# What the converter makes of the fixtures (see make_cli_fixtures.cpp): the
# text atoms' text, each ended by CR LF, with CR and VT turned into CR LF
# and a separator before the second slide.
DECK = ("Café crème à 3 € čĊ\r\n"
        "日本 \U0001F600 \ud800!\r\n"
        "Line one\r\nLine two\r\n"
        "soft\r\nbreak\r\n" + SEPARATOR +
        "Second slide\r\n")
# The pure-text call: Windows-1252, where a character the code page lacks
# becomes its best fit (c for U+010D) or else a space, one per UTF-16 unit.
DECK_CP1252 = (b"Caf\xe9 cr\xe8me \xe0 3 \x80 cC\r\n"
               # 日 本 ␠ (two units of U+1F600) ␠ (lone surrogate) !
               b"  " b" " b"  " b" " b" " b"!\r\n"
               b"Line one\r\nLine two\r\n"
               b"soft\r\nbreak\r\n" + SEPARATOR.encode() +
               b"Second slide\r\n")
SECOND = "Second deck\r\n"


def utf8(text):
    """The command's UTF-8: a lone surrogate becomes U+FFFD."""
    return text.encode("utf-16-le", "surrogatepass").decode(
        "utf-16-le", "replace").encode("utf-8")


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


def lf(data):
    """--lf of text or of single-byte output."""
    return data.replace("\r\n", "\n") if isinstance(data, str) else \
        data.replace(b"\r\n", b"\n")


class Context:
    def __init__(self, args):
        self.cli = args.cli
        self.fixtures = args.fixtures
        self.work = args.work
        self.examples = args.examples
        self.version = args.version
        self.failures = []

    def fixture(self, name):
        return os.path.join(self.fixtures, name)

    def run(self, args, stdin=b"", cwd=None):
        return subprocess.run([self.cli] + args, input=stdin,
                              capture_output=True, cwd=cwd, timeout=120)

    def check(self, condition, what, detail=""):
        if not condition:
            if not isinstance(detail, str):
                detail = repr(detail)
            self.failures.append(what + (": " + detail if detail else ""))

    def check_equal(self, actual, expected, what):
        def shown(value):
            return value[:400] if isinstance(value, (bytes, str)) else value
        self.check(actual == expected, what,
                   "got %r, want %r" % (shown(actual), shown(expected)))

    def check_run(self, what, result, stdout=None, stderr=b"", status=0):
        self.check_equal(result.returncode, status, what + ": exit status")
        if stdout is not None:
            self.check_equal(result.stdout, stdout, what + ": stdout")
        if stderr is not None:
            self.check_equal(result.stderr, stderr, what + ": stderr")


GROUPS = {}


def group(function):
    GROUPS[function.__name__] = function
    return function


@group
def encodings(t):
    deck, second = t.fixture("deck.ppt"), t.fixture("second.ppt")
    cases = [
        ([deck], utf8(DECK)),
        (["--encoding", "utf-8", deck], utf8(DECK)),
        (["--encoding", "utf-16le", deck], utf16(DECK)),
        (["--encoding=utf-16le", deck], utf16(DECK)),
        (["--encoding", "cp1252", deck], DECK_CP1252),
        (["--lf", deck], utf8(lf(DECK))),
        (["--lf", "--encoding", "utf-16le", deck], utf16(lf(DECK))),
        (["--encoding", "cp1252", "--lf", deck], lf(DECK_CP1252)),
        # Several files: their text in the order given, whatever the jobs.
        ([deck, second], utf8(DECK) + utf8(SECOND)),
        ([second, deck, "--jobs", "4"], utf8(SECOND) + utf8(DECK)),
        (["-j1", second, deck, second], utf8(SECOND + DECK + SECOND)),
    ]
    for args, expected in cases:
        t.check_run(" ".join(args[:-1]) or "default", t.run(args), expected)


@group
def standard_input(t):
    with open(t.fixture("deck.ppt"), "rb") as f:
        deck_bytes = f.read()
    with open(t.fixture("notes.txt"), "rb") as f:
        text_bytes = f.read()
    second = t.fixture("second.ppt")
    cases = [
        # args, stdin, stdout, stderr, status
        (["-"], deck_bytes, utf8(DECK), b"", 0),
        (["--encoding", "utf-16le", "-"], deck_bytes, utf16(DECK), b"", 0),
        (["--encoding", "cp1252", "--lf", "-"], deck_bytes, lf(DECK_CP1252),
         b"", 0),
        ([second, "-", second], deck_bytes, utf8(SECOND + DECK + SECOND), b"",
         0),
        (["-", second], text_bytes, utf8(SECOND),
         b"txtppt2: -: The file is not a storage object (code 4)\n", 1),
        (["-"], b"", b"",
         b"txtppt2: -: The file is not a storage object (code 4)\n", 1),
    ]
    for args, stdin, stdout, stderr, status in cases:
        t.check_run("stdin %s (%d bytes)" % (args, len(stdin)),
                    t.run(args, stdin=stdin), stdout, stderr, status)


@group
def output_file(t):
    os.makedirs(t.work, exist_ok=True)
    deck, second = t.fixture("deck.ppt"), t.fixture("second.ppt")
    out = os.path.join(t.work, "out.txt")
    cases = [
        (["-o", out, deck, second], utf8(DECK + SECOND)),
        (["--output", out, "--encoding", "utf-16le", deck], utf16(DECK)),
        (["--output=" + out, "--lf", second], utf8(lf(SECOND))),
    ]
    for args, expected in cases:
        t.check_run("%s" % args, t.run(args), b"")
        with open(out, "rb") as f:
            t.check_equal(f.read(), expected, "%s: file" % args)

    missing = os.path.join(t.work, "no such folder", "out.txt")
    result = t.run(["-o", missing, deck])
    t.check_run("-o into a missing folder", result, b"", None, 1)
    t.check(result.stderr.startswith(b"txtppt2: " + missing.encode() + b": "),
            "-o into a missing folder: message names the file", result.stderr)


def read_tree(folder):
    tree = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            tree[name] = f.read()
    return tree


@group
def batch(t):
    shutil.rmtree(t.work, ignore_errors=True)
    os.makedirs(t.work)
    batch_dir = t.fixture("batch")
    decks = [os.path.join(batch_dir, n) for n in sorted(os.listdir(batch_dir))]
    dotted = os.path.join(t.work, "talk.v2.ppt")
    shutil.copy(t.fixture("deck.ppt"), dotted)
    with open(t.fixture("second.ppt"), "rb") as f:
        stdin = f.read()
    inputs = decks + [dotted, "-"]

    trees = {}
    for jobs in ("1", "4"):
        out = os.path.join(t.work, "jobs" + jobs, "nested")  # made when missing
        result = t.run(["--output-dir", out, "--jobs", jobs] + inputs,
                       stdin=stdin)
        t.check_run("batch --jobs " + jobs, result, b"", b"", 0)
        trees[jobs] = read_tree(out)

    expected_names = sorted([os.path.basename(d)[:-4] + ".txt" for d in decks]
                            + ["talk.v2.txt", "stdin.txt"])
    t.check_equal(sorted(trees["1"]), expected_names, "batch: output names")
    t.check(trees["1"] == trees["4"], "batch: --jobs 4 writes what --jobs 1 "
            "writes")
    t.check_equal(trees["1"].get("talk.v2.txt"), utf8(DECK), "batch: text")
    t.check_equal(trees["1"].get("stdin.txt"), utf8(SECOND), "batch: stdin")
    for deck in decks:
        name = os.path.basename(deck)[:-4] + ".txt"
        t.check_equal(trees["4"].get(name), t.run([deck]).stdout,
                      "batch: %s as printed alone" % name)
        t.check(trees["4"].get(name, b"").startswith(b"Deck "),
                "batch: %s holds its deck" % name)

    # On standard output the texts keep the input order, though the first
    # deck finishes last on four threads.
    alone = b"".join(t.run([deck]).stdout for deck in decks)
    t.check_run("stdout --jobs 4", t.run(["--jobs", "4"] + decks), alone)

    # A failure costs its own file only; encodings apply per file.
    out = os.path.join(t.work, "mixed")
    result = t.run(["--output-dir=" + out, "-j", "3", "--encoding", "cp1252",
                    t.fixture("deck.ppt"), t.fixture("notes.txt"),
                    t.fixture("second.ppt")])
    t.check_run("batch with a failure", result, b"",
                b"txtppt2: %s: The file is not a storage object (code 4)\n"
                % t.fixture("notes.txt").encode(), 1)
    t.check_equal(read_tree(out), {"deck.txt": DECK_CP1252,
                                   "second.txt": SECOND.encode()},
                  "batch with a failure: files")

    # Two inputs with one output name: the first is written, the second
    # fails instead of overwriting it.
    other = os.path.join(t.work, "other")
    os.makedirs(other)
    shutil.copy(t.fixture("second.ppt"), os.path.join(other, "deck.ppt"))
    out = os.path.join(t.work, "clash")
    result = t.run(["--output-dir", out, t.fixture("deck.ppt"),
                    os.path.join(other, "deck.ppt")])
    t.check_equal(result.returncode, 1, "name clash: exit status")
    t.check(b"already written for " + t.fixture("deck.ppt").encode()
            in result.stderr, "name clash: message", result.stderr)
    t.check_equal(read_tree(out), {"deck.txt": utf8(DECK)},
                  "name clash: first input kept")


@group
def failures(t):
    deck, second = t.fixture("deck.ppt"), t.fixture("second.ppt")
    bad = [
        (t.fixture("missing.ppt"),
         "The stream with the name specified does not exist", 4),
        (t.fixture("missing folder/missing.ppt"),
         "The path specified does not exist", 4),
        (t.fixture("notes.txt"), "The file is not a storage object", 4),
        (t.fixture("no_document_stream.ppt"), "Unsupported data format", 1003),
    ]

    def line(path, message, code):
        return ("txtppt2: %s: %s (code %d)\n" % (path, message, code)).encode()

    for path, message, code in bad:
        for encoding, expected in (("utf-8", utf8(DECK + SECOND)),
                                   ("cp1252", DECK_CP1252 + SECOND.encode())):
            t.check_run("%s (%s)" % (os.path.basename(path), encoding),
                        t.run(["--encoding", encoding, deck, path, second]),
                        expected, line(path, message, code), 1)
    # All of them among good files on four threads, after a large deck that
    # finishes last: messages and text in input order.
    large = t.fixture(os.path.join("batch", "deck00.ppt"))
    inputs = [large, deck]
    for path, _, _ in bad:
        inputs += [path, second]
    t.check_run("all failures, --jobs 4",
                t.run(["--jobs", "4"] + inputs),
                t.run([large]).stdout + utf8(DECK + SECOND * len(bad)),
                b"".join(line(*b) for b in bad), 1)


@group
def probe(t):
    deck, second = t.fixture("deck.ppt"), t.fixture("second.ppt")
    with open(deck, "rb") as f:
        deck_bytes = f.read()
    supported = [deck, second]
    unsupported = [t.fixture("notes.txt"), t.fixture("no_document_stream.ppt"),
                   t.fixture("missing.ppt")]

    def lines(pairs):
        return "".join("%s: %s\n" % p for p in pairs).encode()

    t.check_run("all supported", t.run(["--probe"] + supported),
                lines((p, "supported") for p in supported))
    for path in unsupported:
        t.check_run("probe " + os.path.basename(path),
                    t.run(["--probe", deck, path]),
                    lines([(deck, "supported"), (path, "not supported")]),
                    b"", 1)
    t.check_run("probe stdin", t.run(["--probe", "-"], stdin=deck_bytes),
                b"-: supported\n")
    t.check_run("probe empty stdin", t.run(["--probe", "-"], stdin=b""),
                b"-: not supported\n", b"", 1)


@group
def usage(t):
    shutil.rmtree(t.work, ignore_errors=True)
    os.makedirs(t.work)
    deck = t.fixture("deck.ppt")
    cases = [
        ([], "no input file"),
        (["--bogus", deck], "unknown option '--bogus'"),
        (["-x", deck], "unknown option '-x'"),
        (["--encoding", "latin1", deck], "unknown encoding 'latin1'"),
        ([deck, "--encoding"], "option '--encoding' needs a value"),
        (["--jobs", "0", deck], "invalid number of jobs '0'"),
        (["--jobs", "two", deck], "invalid number of jobs 'two'"),
        (["-j", "4x", deck], "invalid number of jobs '4x'"),
        (["--lf=yes", deck], "option '--lf' takes no value"),
        (["-o", "a.txt", "--output-dir", "b", deck], "-o and --output-dir exclude each other"),
        (["--probe", "-o", "a.txt", deck], "--probe"),
        (["-", "-"], "standard input given more than once"),
        (["--lf"], "no input file"),
    ]
    for args, message in cases:
        result = t.run(args, cwd=t.work)
        what = "usage %s" % args
        t.check_run(what, result, b"", None, 2)
        t.check(("txtppt2: " + message).encode() in result.stderr,
                what + ": names the problem", result.stderr)
        t.check(b"usage: txtppt2" in result.stderr, what + ": usage line",
                result.stderr)
    t.check(os.listdir(t.work) == [], "usage errors write no files")

    # After "--" an argument that looks like an option is a file name.
    shutil.copy(t.fixture("second.ppt"), os.path.join(t.work, "-x.ppt"))
    t.check_run("-- then -x.ppt", t.run(["--", "-x.ppt"], cwd=t.work),
                utf8(SECOND))


@group
def help_and_version(t):
    for args in (["--help"], ["-h"], ["--bogus", "--help"]):
        result = t.run(args)
        t.check_run("%s" % args, result, None, b"", 0)
        for word in (b"--encoding", b"utf-16le", b"cp1252", b"--lf", b"-o",
                     b"--output-dir", b"--jobs", b"--probe", b"--version",
                     b"Exit status", b"Examples:", b"txtppt2 --output-dir"):
            t.check(word in result.stdout, "%s mentions %s" % (args, word))

    result = t.run(["--version"])
    t.check_run("--version", result, None, b"", 0)
    lines = result.stdout.decode().splitlines()
    t.check_equal(lines[:1], ["txtppt2 " + t.version], "--version: first line")
    t.check(len(lines) == 2 and lines[1].strip() != "",
            "--version: the library's information follows", repr(lines))


def run_on_terminal(t, args):
    """Runs the command with standard error on a pseudo-terminal."""
    master, slave = pty.openpty()
    process = subprocess.Popen([t.cli] + args, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=slave)
    os.close(slave)
    seen = b""
    while True:
        try:
            chunk = os.read(master, 4096)
        except OSError:  # the terminal closed with the last writer
            break
        if not chunk:
            break
        seen += chunk
    os.close(master)
    return process.wait(timeout=120), seen.replace(b"\r\n", b"\n")


@group
def progress(t):
    shutil.rmtree(t.work, ignore_errors=True)
    deck, second = t.fixture("deck.ppt"), t.fixture("second.ppt")
    notes = t.fixture("notes.txt")
    args = ["--output-dir", t.work, "--jobs", "2", deck, notes, second]
    error = b"txtppt2: %s: The file is not a storage object (code 4)\n" % (
        notes.encode())

    status, seen = run_on_terminal(t, args)
    t.check_equal(status, 1, "terminal: exit status")
    t.check(seen.rstrip(b"\n").endswith(b"txtppt2: 3/3 files, 1 failed"),
            "terminal: the last progress state stays", seen)
    t.check(b"\x1b[K" + error in seen, "terminal: message on a line of its "
            "own", seen)

    result = t.run(args)
    t.check_run("pipe: only the message", result, b"", error, 1)

    status, seen = run_on_terminal(t, [deck, notes])
    t.check_equal(seen, error, "terminal without batch mode: no progress")


@group
def sample(t):
    with open(os.path.join(t.examples, "sample.expected.txt"), "rb") as f:
        expected = f.read()
    result = t.run([os.path.join(t.examples, "sample.ppt")])
    t.check_run("examples/sample.ppt", result, expected)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("group", nargs="?", choices=sorted(GROUPS))
    parser.add_argument("--list", action="store_true")
    for option in ("--cli", "--fixtures", "--work", "--examples", "--version"):
        parser.add_argument(option)
    args = parser.parse_args()
    if args.list or args.group is None:
        print("\n".join(sorted(GROUPS)))
        return 0
    context = Context(args)
    GROUPS[args.group](context)
    for failure in context.failures:
        print("FAILED: " + failure)
    print("%s: %s" % (args.group, "failed" if context.failures else "passed"))
    return 1 if context.failures else 0


if __name__ == "__main__":
    sys.exit(main())
