#!/usr/bin/env python3
"""Compares the txtppt2 command with catppt (Debian's catdoc) side by side.

Runs `txtppt2 --encoding ENC FILE > /dev/null` and `catppt FILE > /dev/null`
on the same files and prints, for each file and in total, with the ratio
txtppt2/catppt:

  wall time    median of --runs runs (at least 5), the two commands
               alternated within each run
  instructions total Ir under valgrind --tool=callgrind
  peak memory  maximum resident set size from /usr/bin/time -v

The files are the five largest of the corpus, the synthetic presentation of
--synthetic-mb megabytes of "PowerPoint Document" stream (written by
txtppt2_synthetic_presentation to a temporary folder, deleted afterwards),
and, on a line of its own outside the totals, the smallest corpus file, whose
figures are mostly process start-up. catppt's output is checked to be
non-empty for every file.

catdoc, valgrind and time are installed with apt-get when missing (as root).

  bench/compare_with_catppt.py [--build DIR] [--runs N] [--corpus DIR]
      [--synthetic-mb N] [--encoding ENC] [--markdown] [FILE...]

Files given on the command line replace the corpus files. --encoding picks
the txtppt2 command's output (utf-8, its default, utf-16le or cp1252: the
library's Unicode or pure text as it is). A last line gives the
instruction ratio of the corpus files alone, beside its target of 0.85.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PROJECT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGES = {"catppt": "catdoc", "valgrind": "valgrind", "/usr/bin/time": "time"}


def ensure_tools():
    missing = [pkg for tool, pkg in PACKAGES.items() if shutil.which(tool) is None]
    if not missing:
        return
    if os.geteuid() != 0:
        sys.exit("compare_with_catppt.py: missing %s; install them (as root: apt-get install %s)"
                 % (", ".join(missing), " ".join(missing)))
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(["apt-get", "update"], check=True, env=env,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends"] + missing,
                   check=True, env=env, stdout=subprocess.DEVNULL)


def find_program(build, name):
    for sub in ("cli", "bench", ""):
        path = os.path.join(build, sub, name)
        if os.path.isfile(path) and os.access(path, os.X_OK):
            return path
    sys.exit("compare: %s not found under %s (build with "
             "-DTXTPPT2_BUILD_BENCHMARKS=ON)" % (name, build))


def wall_seconds(command):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def instructions(command, scratch):
    out = os.path.join(scratch, "callgrind.out")
    subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out]
                   + command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True)
    with open(out) as f:
        text = f.read()
    os.remove(out)
    match = re.search(r"^(?:summary|totals): (\d+)", text, re.M)
    return int(match.group(1))


def peak_kib(command, scratch):
    out = os.path.join(scratch, "time.out")
    subprocess.run(["/usr/bin/time", "-v", "-o", out] + command,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(out) as f:
        text = f.read()
    os.remove(out)
    return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", text).group(1))


def catppt_output_bytes(path):
    result = subprocess.run(["catppt", path], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    return len(result.stdout)


def measure(label, path, txtppt2, runs, scratch):
    commands = {"txtppt2": txtppt2 + [path], "catppt": ["catppt", path]}
    times = {name: [] for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            times[name].append(wall_seconds(command))
    row = {"label": label, "size": os.path.getsize(path)}
    for name, command in commands.items():
        row[name] = {
            "wall": statistics.median(times[name]),
            "ir": instructions(command, scratch),
            "rss": peak_kib(command, scratch),
        }
    return row


def ratio(a, b):
    return a / b if b else float("inf")


def print_table(rows, totals, small, markdown):
    header = ["file", "size", "wall txtppt2", "wall catppt", "ratio",
              "Ir txtppt2", "Ir catppt", "ratio", "peak txtppt2", "peak catppt",
              "ratio"]

    def cells(row):
        t, c = row["txtppt2"], row["catppt"]
        return [row["label"], "%.1f MB" % (row["size"] / 1e6),
                "%.1f ms" % (t["wall"] * 1e3), "%.1f ms" % (c["wall"] * 1e3),
                "%.2f" % ratio(t["wall"], c["wall"]),
                "{:,}".format(t["ir"]), "{:,}".format(c["ir"]),
                "%.2f" % ratio(t["ir"], c["ir"]),
                "%.1f MiB" % (t["rss"] / 1024), "%.1f MiB" % (c["rss"] / 1024),
                "%.2f" % ratio(t["rss"], c["rss"])]

    table = [cells(r) for r in rows + totals]
    if small is not None:
        table.append(cells(small))
    if markdown:
        print("| " + " | ".join(header) + " |")
        print("|" + "|".join("---" if i == 0 else "---:" for i in range(len(header))) + "|")
        for line in table:
            print("| " + " | ".join(line) + " |")
        return
    widths = [max(len(h), *(len(line[i]) for line in table)) for i, h in enumerate(header)]
    fmt = "  ".join("{:<%d}" % w if i == 0 else "{:>%d}" % w for i, w in enumerate(widths))
    print(fmt.format(*header))
    for line in table:
        print(fmt.format(*line))


def total(label, rows):
    row = {"label": label, "size": sum(r["size"] for r in rows)}
    for name in ("txtppt2", "catppt"):
        row[name] = {
            "wall": sum(r[name]["wall"] for r in rows),
            "ir": sum(r[name]["ir"] for r in rows),
            "rss": max(r[name]["rss"] for r in rows),  # the largest peak
        }
    return row


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(PROJECT, "build"),
                        help="build folder holding cli/txtppt2 and "
                             "bench/txtppt2_synthetic_presentation")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--corpus", default=os.path.join(PROJECT, "..", "shared",
                                                         "corpus", "ppt"))
    parser.add_argument("--synthetic-mb", type=int, default=100,
                        help="size of the synthetic stream in MB; 0 for none")
    parser.add_argument("--encoding", default="utf-8",
                        choices=["utf-8", "utf-16le", "cp1252"],
                        help="the txtppt2 command's output encoding")
    parser.add_argument("--markdown", action="store_true",
                        help="print the table in Markdown")
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    if args.runs < 5:
        sys.exit("compare: --runs must be at least 5")

    ensure_tools()
    program = find_program(args.build, "txtppt2")
    txtppt2 = [program, "--encoding", args.encoding]
    files, small = args.files, None
    if not files:
        corpus = sorted((os.path.join(args.corpus, f) for f in os.listdir(args.corpus)
                         if f.endswith(".ppt")), key=os.path.getsize)
        files = corpus[-5:][::-1]
        for f in corpus:  # the smallest file catppt and txtppt2 both convert
            if catppt_output_bytes(f) > 0 and subprocess.run(
                    txtppt2 + [f], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL).returncode == 0:
                small = f
                break

    with tempfile.TemporaryDirectory(prefix="txtppt2-compare-") as scratch:
        rows = []
        for path in files:
            if catppt_output_bytes(path) == 0:
                print("compare: warning: catppt prints nothing for " + path,
                      file=sys.stderr)
            rows.append(measure(os.path.basename(path), path, txtppt2, args.runs,
                                scratch))
        totals = [total("total (%d files)" % len(rows), rows)] if rows else []
        files_ratio = (ratio(totals[0]["txtppt2"]["ir"], totals[0]["catppt"]["ir"])
                       if totals else None)
        if args.synthetic_mb > 0:
            writer = find_program(args.build, "txtppt2_synthetic_presentation")
            synthetic = os.path.join(scratch, "synthetic-%dMB.ppt" % args.synthetic_mb)
            subprocess.run([writer, str(args.synthetic_mb), synthetic], check=True,
                           stdout=subprocess.DEVNULL)
            produced = catppt_output_bytes(synthetic)
            if produced == 0:
                sys.exit("compare: catppt prints nothing for the synthetic file")
            rows.append(measure("synthetic %d MB stream" % args.synthetic_mb,
                                synthetic, txtppt2, args.runs, scratch))
            os.remove(synthetic)
            totals.append(total("total (all %d)" % len(rows), rows))
        small_row = None
        if small is not None:
            small_row = measure("start-up: " + os.path.basename(small), small,
                                txtppt2, args.runs, scratch)
        print("txtppt2: %s; catppt: %s; wall time: median of %d runs"
              % (" ".join(txtppt2), shutil.which("catppt"), args.runs))
        print_table(rows, totals, small_row, args.markdown)
        if files_ratio is not None:
            print("\ninstructions txtppt2/catppt, %d %s: %.2f (target 0.85 or less)"
                  % (len(files), "files given" if args.files
                     else "largest corpus files", files_ratio))


if __name__ == "__main__":
    main()
