#!/usr/bin/env python3
"""How txtppt2's ways of converting many files scale from one core to two.

Converts the shared corpus (repeated --repeat times, so that each run lasts
long enough to time) with:

- txtppt2.extract_many on 1 and 2 threads;
- the txtppt2 command with --jobs 1 and --jobs 2 (text to /dev/null);
- txtppt2.dask.extract_bag on a distributed.LocalCluster of 1 and 2 worker
  processes of one thread each (cluster start-up not timed).

Prints files/s and MB/s (of input files) for each, best of --runs runs, the
ratio of 2 to 1 for each way, and the cores the run kept busy (CPU time of
this process, of the command, or of Dask's workers, over wall time): on a
machine busy with other work a second thread cannot speed up what gets no
second core.

  /usr/bin/python3 bench/python_scaling.py --build build
"""
import argparse
import os
import resource
import subprocess
import sys
import time


def children_cpu_time(n):
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def best_times(runs, convert, cpu_clock=None):
    """Best seconds of convert(1) and of convert(2), the runs alternated so
    that both meet the same load on a busy machine, each with the cores it
    kept busy in that run (CPU time of cpu_clock(n) over wall time)."""
    best = {1: (float("inf"), None), 2: (float("inf"), None)}
    for _ in range(runs):
        for n in best:
            cpu = cpu_clock(n) if cpu_clock else 0.0
            start = time.perf_counter()
            convert(n)
            seconds = time.perf_counter() - start
            cores = (cpu_clock(n) - cpu) / seconds if cpu_clock else None
            best[n] = min(best[n], (seconds, cores), key=lambda b: b[0])
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--build", default=os.path.join(root, "build"))
    parser.add_argument("--corpus",
                        default=os.path.join(root, "..", "shared", "corpus", "ppt"))
    parser.add_argument("--repeat", type=int, default=10)
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()

    sys.path.insert(0, os.path.join(args.build, "python"))
    import txtppt2
    import txtppt2.dask
    from distributed import Client, LocalCluster

    names = sorted(os.listdir(args.corpus))
    files = [os.path.join(args.corpus, name) for name in names] * args.repeat
    megabytes = sum(os.path.getsize(path) for path in files) / 1e6
    command = os.path.join(args.build, "cli", "txtppt2")
    print(f"{len(files)} files, {megabytes:.1f} MB; best of {args.runs} runs")
    for _ in txtppt2.extract_many(files[:len(names)]):
        pass  # every file in the page cache before timing starts

    def extract_many(jobs):
        for _ in txtppt2.extract_many(files, jobs=jobs):
            pass

    def run_command(jobs):
        subprocess.run([command, "--jobs", str(jobs), "--"] + files,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def dask_times():
        clusters = {n: LocalCluster(n_workers=n, threads_per_worker=1,
                                    processes=True, dashboard_address=":0")
                    for n in (1, 2)}
        clients = {n: Client(cluster, set_as_default=False)
                   for n, cluster in clusters.items()}
        bag = txtppt2.dask.extract_bag(files)
        for client in clients.values():
            client.compute(bag).result()  # workers import txtppt2 first
        try:
            return best_times(
                args.runs, lambda n: clients[n].compute(bag).result(),
                lambda n: sum(clients[n].run(time.process_time).values()))
        finally:
            for n in clients:
                clients[n].close()
                clusters[n].close()

    ways = [
        ("extract_many", "threads",
         lambda: best_times(args.runs, extract_many,
                            lambda n: time.process_time())),
        ("txtppt2 --jobs", "jobs",
         lambda: best_times(args.runs, run_command, children_cpu_time)),
        ("dask extract_bag", "workers", dask_times),
    ]
    print(f"{'way':<18}{'':>10}{'files/s':>10}{'MB/s':>9}{'2:1':>7}{'cores':>7}")
    for way, unit, timed in ways:
        best = timed()
        for n in (1, 2):
            seconds, cores = best[n]
            ratio = f"{best[1][0] / seconds:.2f}" if n == 2 else ""
            print(f"{way:<18}{f'{n} {unit}':>10}{len(files) / seconds:>10.0f}"
                  f"{megabytes / seconds:>9.1f}{ratio:>7}{cores:>7.2f}", flush=True)

if __name__ == "__main__":
    main()
