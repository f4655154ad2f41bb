#!/usr/bin/env python3
"""Measures what one conversion costs on worst-case inputs.

For an input of N bytes a conversion must take time proportional to N and
at most a small constant times N of memory, plus a constant, whatever the
file declares. This script writes each worst case at two sizes (and a 1 GB
presentation), converts each file once in a child process with
txtppt2_convert_once (ConvertToUnicode from the path), and prints a
Markdown table of input size, output size, wall and CPU time, peak RSS, and
the ratios per MB of input. A ratio that grows with the size marks a cost
that is not linear: the last column says so.

    bench/resource_bounds.py [--build DIR] [--sizes 16,64] [--big-mb 1024]
                             [--out FILE] [--complete]

--complete measures the complete text (TextScope kCompleteText) instead of
the exports' exact text.

Files go to a folder under /tmp and are deleted as soon as they have been
measured.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

CASES = [
    ("declared_4gib", "stream size field says 4 GiB"),
    ("long_chain", "512-byte sectors: one long FAT chain"),
    ("cyclic_chain", "chain loops to its start, size says 4 GiB"),
    ("deep_cyclic_directory", "root's children in one looping sibling chain, nested storages"),
    ("zero_length_records", "millions of zero-length atoms"),
    ("containers", "millions of containers (slides)"),
    ("one_byte_text_atoms", "millions of one-byte text atoms"),
    ("max_length_text_atom", "one text atom declaring 0xFFFFFFFF bytes"),
    ("presentation", "an ordinary presentation"),
    ("deep_nesting", "each container the child of the one before, to any depth"),
    ("edit_chain", "one long chain of edits looping back to the newest"),
    ("persist_anywhere", "a slide list whose entries all name one large slide"),
]

MB = 1 << 20


def build(build_dir):
    if not os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
        subprocess.run(["cmake", "-S", ROOT, "-B", build_dir,
                        "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                        "-DTXTPPT2_BUILD_CLI=OFF"], check=True,
                       stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target",
                    "txtppt2_worst_case_writer", "txtppt2_convert_once"],
                   check=True, stdout=subprocess.DEVNULL)
    tools = os.path.join(build_dir, "bench", "resource_bounds")
    return (os.path.join(tools, "txtppt2_worst_case_writer"),
            os.path.join(tools, "txtppt2_convert_once"))


def measure(converter, path, scope):
    """One conversion in a child: (wall s, cpu s, peak RSS bytes, count, code).

    GNU time runs the child, so that the peak is the converter's own: a
    child forked from this script would count Python's pages until its exec.
    """
    start = time.monotonic()
    done = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", converter, path,
                           scope],
                          capture_output=True, text=True, check=True)
    wall = time.monotonic() - start
    user, system, kilobytes = done.stderr.split()[-3:]
    count, code = (int(field) for field in done.stdout.split())
    return wall, float(user) + float(system), int(kilobytes) * 1024, count, code


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build-limits"))
    parser.add_argument("--sizes", default="16,64",
                        help="sizes in MB of each worst case, comma separated")
    parser.add_argument("--big-mb", type=int, default=1024,
                        help="size of the large presentation (0: none)")
    parser.add_argument("--out", help="also write the table to this file")
    parser.add_argument("--complete", action="store_true",
                        help="measure the complete text")
    args = parser.parse_args()

    writer, converter = build(args.build)
    scope = "complete" if args.complete else "unicode"
    sizes = [int(s) for s in args.sizes.split(",")]
    runs = [(name, what, mb) for name, what in CASES for mb in sizes]
    if args.big_mb:
        runs.append(("presentation", "a large ordinary presentation", args.big_mb))

    folder = tempfile.mkdtemp(prefix="txtppt2_limits_", dir="/tmp")
    rows = []
    try:
        # The cost of a process that converts next to nothing.
        small = os.path.join(folder, "small.ppt")
        subprocess.run([writer, "presentation", "0", small], check=True)
        _, _, baseline, _, _ = measure(converter, small, scope)
        os.remove(small)

        per_case = {}
        for name, what, mb in runs:
            path = os.path.join(folder, f"{name}_{mb}.ppt")
            subprocess.run([writer, name, str(mb), path], check=True)
            size = os.path.getsize(path)
            wall, cpu, rss, count, code = measure(converter, path, scope)
            os.remove(path)
            n = size / MB
            row = {
                "case": name, "what": what, "input": n, "output": count / MB,
                "code": code, "wall": wall, "cpu": cpu, "rss": rss / MB,
                "cpu_per_mb": cpu / n, "rss_per_mb": max(rss - baseline, 0) / MB / n,
            }
            # Linear means the ratios stay put as the input grows; memory
            # ratios under 0.25 MB per MB are noise around the baseline, and
            # CPU times under 0.05 s are a few ticks of GNU time's 10 ms.
            first = per_case.setdefault(name, row)
            if first is not row:
                cpu_growth = row["cpu_per_mb"] / max(first["cpu_per_mb"],
                                                     0.05 / first["input"])
                rss_growth = (row["rss_per_mb"] + 0.25) / (first["rss_per_mb"] + 0.25)
                growth = max(cpu_growth, rss_growth)
                row["verdict"] = "linear" if growth < 2 else f"GROWS x{growth:.1f}"
            rows.append(row)
            print(f"{name} {n:.0f} MB: {cpu:.2f} s cpu, {rss / MB:.0f} MB peak",
                  file=sys.stderr)
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    lines = [
        f"Baseline: a process converting a tiny file peaks at {baseline / MB:.1f} MB RSS.",
        "",
        "| input | size (MB) | text out (MB) | code | wall (s) | CPU (s) | peak RSS (MB) "
        "| CPU s/MB | (RSS - baseline) MB/MB | scaling |",
        "|---|---:|---:|---:|---:|---:|---:|---:|---:|---|",
    ]
    for r in rows:
        lines.append(
            f"| {r['case']}: {r['what']} | {r['input']:.1f} | {r['output']:.1f} | {r['code']} "
            f"| {r['wall']:.2f} | {r['cpu']:.2f} | {r['rss']:.1f} | {r['cpu_per_mb']:.3f} "
            f"| {r['rss_per_mb']:.2f} | {r.get('verdict', '')} |")
    table = "\n".join(lines)
    print(table)
    if args.out:
        with open(args.out, "w") as out:
            out.write(table + "\n")


if __name__ == "__main__":
    main()
