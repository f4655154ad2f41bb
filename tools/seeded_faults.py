#!/usr/bin/python3
"""Seeded-fault runner: how many small faults in src/ does the fast suite catch?

Each fault (a "mutant") in tools/seeded_faults.txt is applied alone to a copy
of the sources, the copy is rebuilt incrementally in one build directory
(Debug, no sanitizers), and the fast suite runs against it: ctest with
CI=true, without the Windows and install tests. A mutant is caught
when the suite fails or times out, and survives when it passes.

  /usr/bin/python3 tools/seeded_faults.py [--tree DIR | --commit REV]
      [--work DIR] [--only ID,ID] [--timeout SECONDS] [--matrix FILE]

With --matrix, every test runs for every mutant (no stop at the first
failure), FILE records as JSON which tests failed for each mutant, and the
summary names, for each test, the faults that it alone catches: the map that
shows which tests a smaller suite must keep.

The list format, one mutant per block:

  [id] path/in/tree.cpp
  - text that occurs exactly once in the file (one or more lines)
  + the text that replaces it (no + line: the text is deleted)

Lines are compared without their leading indentation, so that a block may
span lines. Blocks that share an id are one fault written for different
shapes of the code: the first whose text is found is applied. A mutant whose
text is missing or ambiguous is reported as not applicable and left out of
the share.
"""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
EXCLUDED_TESTS = r"windows|install"


def parse_mutants(path):
    mutants = []
    current = None
    with open(path, encoding="utf-8") as listing:
        for raw in listing:
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("["):
                ident, _, file_name = line[1:].partition("]")
                current = {"id": ident, "file": file_name.strip(),
                           "find": [], "replace": []}
                mutants.append(current)
            elif line.startswith("- "):
                current["find"].append(line[2:])
            elif line.startswith("+ ") or line == "+":
                current["replace"].append(line[2:])
            else:
                raise SystemExit(f"{path}: cannot read line: {line!r}")
    return mutants


def apply_mutant(text, mutant):
    """The mutated text, or None when the text to change is not found once."""
    lines = text.split("\n")
    find = [f.strip() for f in mutant["find"]]
    hits = [i for i in range(len(lines) - len(find) + 1)
            if all(find[k] in lines[i + k] for k in range(len(find)))]
    if len(hits) != 1:
        return None
    i = hits[0]
    if len(find) == 1 and mutant["replace"]:
        # A change inside one line keeps the rest of the line.
        lines[i] = lines[i].replace(find[0], mutant["replace"][0].strip(), 1)
        return "\n".join(lines)
    indent = lines[i][: len(lines[i]) - len(lines[i].lstrip())]
    return "\n".join(lines[:i] + [indent + r.strip() for r in mutant["replace"]]
                     + lines[i + len(find):])


def run(command, timeout=None, env=None, cwd=None):
    """Runs command in a session of its own; a timeout ends the whole
    session, so that no test a mutant sent into a loop runs on."""
    process = subprocess.Popen(command, cwd=cwd, env=env, text=True,
                               errors="replace", stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, start_new_session=True)
    try:
        out, _ = process.communicate(timeout=timeout)
        return process.returncode, out
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None, "timed out"


def prepare_sources(args, src):
    if os.path.isdir(src):
        shutil.rmtree(src)
    os.makedirs(src)
    if args.commit:
        archive = subprocess.run(["git", "-C", args.tree, "archive", args.commit],
                                 check=True, stdout=subprocess.PIPE).stdout
        subprocess.run(["tar", "-x", "-m", "-C", src], input=archive, check=True)
        return
    files = subprocess.run(
        ["git", "-C", args.tree, "ls-files", "-z", "--cached", "--others",
         "--exclude-standard"], check=True, stdout=subprocess.PIPE).stdout
    for name in filter(None, files.decode().split("\0")):
        origin = os.path.join(args.tree, name)
        if os.path.isfile(origin):
            os.makedirs(os.path.dirname(os.path.join(src, name)), exist_ok=True)
            # New times, not the originals: the build directory may hold
            # objects newer than an edited file, built from an older copy.
            shutil.copy(origin, os.path.join(src, name))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--tree", default=os.path.dirname(HERE),
                        help="the project tree (default: this one)")
    parser.add_argument("--commit", help="use this commit of the tree instead")
    parser.add_argument("--mutants", default=os.path.join(HERE, "seeded_faults.txt"))
    parser.add_argument("--work", default=None,
                        help="scratch folder (default: TREE/build-faults)")
    parser.add_argument("--only", help="comma-separated mutant ids")
    parser.add_argument("--timeout", type=int, default=180,
                        help="seconds allowed to each mutant's test run")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--matrix", help="record the failing tests of each mutant here")
    args = parser.parse_args()
    args.tree = os.path.abspath(args.tree)
    work = os.path.abspath(args.work or os.path.join(args.tree, "build-faults"))
    src, obj = os.path.join(work, "src"), os.path.join(work, "obj")
    shared = os.path.abspath(os.path.join(args.tree, "..", "shared"))

    mutants = []
    for block in parse_mutants(args.mutants):
        same = [m for m in mutants if m["id"] == block["id"]]
        if same:
            same[0]["alternatives"].append(block)
        else:
            mutants.append(dict(block, alternatives=[block]))
    if args.only:
        wanted = set(args.only.split(","))
        mutants = [m for m in mutants if m["id"] in wanted]

    prepare_sources(args, src)
    # Unoptimised and without debug information: each mutant rebuilds one
    # object and relinks, fast (faster still with lld, when it is there).
    configure = ["cmake", "-S", src, "-B", obj, "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0",
                 "-DCMAKE_C_FLAGS_DEBUG=-O0", "-DTXTPPT2_LTO=OFF",
                 "-DTXTPPT2_STATIC_RUNTIME=OFF", f"-DTXTPPT2_SHARED_DIR={shared}"]
    if shutil.which("ninja"):
        configure += ["-G", "Ninja"]
    if shutil.which("ld.lld"):
        configure += ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld",
                      "-DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld"]
    code, out = run(configure)
    if code != 0:
        raise SystemExit("configure failed:\n" + out)
    build = ["cmake", "--build", obj, "-j", str(args.jobs)]
    env = dict(os.environ, CI="true")
    # A test a mutant sends into a loop fails after a minute.
    test = ["ctest", "--test-dir", obj, "-j", str(args.jobs), "-E",
            EXCLUDED_TESTS, "--stop-on-failure", "--timeout", "60"]
    fast = list(test)
    if args.matrix:
        fast.remove("--stop-on-failure")
    failed_log = os.path.join(obj, "Testing", "Temporary", "LastTestsFailed.log")
    matrix = {}

    started = time.time()
    code, out = run(build)
    if code != 0:
        raise SystemExit("the unchanged tree does not build:\n" + out[-3000:])
    code, out = run(test, timeout=args.timeout * 3, env=env)
    if code != 0:
        raise SystemExit("the unchanged tree fails its tests:\n" + out[-3000:])
    print(f"unchanged tree: built and passed in {time.time() - started:.0f} s",
          flush=True)

    results = {"caught": [], "survived": [], "not applicable": [],
               "does not build": []}
    for mutant in mutants:
        mutated = None
        for block in mutant["alternatives"]:
            path = os.path.join(src, block["file"])
            if not os.path.isfile(path):
                continue
            original = open(path, encoding="utf-8").read()
            mutated = apply_mutant(original, block)
            if mutated is not None:
                break
        if mutated is None:
            verdict = "not applicable"
        else:
            with open(path, "w", encoding="utf-8") as f:
                f.write(mutated)
            try:
                code, out = run(build, timeout=1200)
                if code != 0:
                    verdict = "does not build"
                else:
                    if os.path.exists(failed_log):
                        os.remove(failed_log)
                    code, out = run(fast, timeout=args.timeout, env=env)
                    verdict = "survived" if code == 0 else "caught"
                    matrix[mutant["id"]] = failed_tests(failed_log, code)
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)
        results[verdict].append(mutant["id"])
        print(f"{verdict:15} {mutant['id']}  ({mutant['file']})", flush=True)

    # Leave the build matching the unchanged sources.
    run(build)
    caught, survived = len(results["caught"]), len(results["survived"])
    judged = caught + survived
    print(f"\ncaught {caught} of {judged} ({100.0 * caught / max(judged, 1):.1f}%);"
          f" not applicable {len(results['not applicable'])},"
          f" not building {len(results['does not build'])};"
          f" {time.time() - started:.0f} s")
    for verdict in ("survived", "not applicable", "does not build"):
        if results[verdict]:
            print(f"{verdict}: {' '.join(results[verdict])}")
    if args.matrix:
        with open(args.matrix, "w", encoding="utf-8") as f:
            json.dump(matrix, f, indent=1, sort_keys=True)
        print_sole_catchers(matrix)
    return 0


def failed_tests(failed_log, code):
    """The names ctest listed as failed ("N:name" lines), or "(timed out)"
    when the whole run was stopped before ctest could write them."""
    if code is None:
        return ["(timed out)"]
    if not os.path.exists(failed_log):
        return [] if code == 0 else ["(no test named)"]
    with open(failed_log, encoding="utf-8") as log:
        return sorted(line.strip().partition(":")[2] for line in log if line.strip())


def print_sole_catchers(matrix):
    sole = {}
    for ident, tests in matrix.items():
        if len(tests) == 1:
            sole.setdefault(tests[0], []).append(ident)
    print("\ntests that alone catch a fault:")
    for test in sorted(sole):
        print(f"  {test}: {' '.join(sorted(sole[test]))}")


if __name__ == "__main__":
    sys.exit(main())
