#!/usr/bin/env python3
"""Runs the renderer's Windows benchmarks under Wine in Xvfb and prints:
  - start-up: the time from starting the renderer to its first swapped frame,
    as a ratio to the time to start and end an empty Windows program (medians
    of --repeat runs each, alternated, on the same warm wineserver);
  - frames per second of the renderer unpaced, and paced as shipped.
Not a test: nothing is asserted.

usage: run_bench.py --bin WINDOWS_BIN [--repeat 10]
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "wine"))
from wine_session import ROOT, WineSession, shipped_files  # noqa: E402


def run(session, program, *args):
    """Runs a program to its end; returns (start time, end time, exit code)."""
    start = time.time()
    with open(os.path.join(session.work, "bench.out"), "w") as out:
        code = subprocess.call([session.wine, os.path.join(session.bin_dir, program), *args], stdout=out,
                               stderr=subprocess.STDOUT, env=session.env, cwd=session.work, timeout=120)
    return start, time.time(), code


def result(session, name):
    path = os.path.join(session.work, name)
    with open(path) as f:
        value = float(f.read().split()[1])
    os.remove(path)
    return value


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--repeat", type=int, default=10)
    args = parser.parse_args()
    session = WineSession(os.path.abspath(args.bin), os.path.join(ROOT, "build", "bench-shots"))
    try:
        session.put_files(shipped_files())
        run(session, "bench_empty.exe")  # warm the wineserver and the desktop
        empty, first = [], []
        for _ in range(args.repeat):
            start, end, _ = run(session, "bench_empty.exe")
            empty.append(end - start)
            start, _, code = run(session, "bench_first_frame.exe")
            first.append(result(session, "first_frame.txt") - start)
        e, f = statistics.median(empty), statistics.median(first)
        print("empty program, start to end:    median %.3f s (of %d; min %.3f, max %.3f)" % (
            e, len(empty), min(empty), max(empty)))
        print("renderer, start to first frame: median %.3f s (of %d; min %.3f, max %.3f)" % (
            f, len(first), min(first), max(first)))
        print("start-up ratio (first frame / empty program): %.1f" % (f / e))
        for mode in ("unpaced", "paced"):
            run(session, "bench_frame_rate.exe", mode)
            print("frames per second, %s: %.1f" % (mode, result(session, "frame_rate.txt")))
    finally:
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
