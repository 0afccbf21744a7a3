#!/usr/bin/env python3
"""Runs the renderer's Windows benchmarks under Wine in Xvfb and prints:
  - start-up, for each desktop picture size: the time from starting the
    renderer to its first swapped frame, as a ratio to the time to start and
    end an empty Windows program and to the time a bare full-screen GL program
    takes to its first frame (medians of --repeat runs each, alternated, on the
    same warm wineserver), the renderer's peak working set by its first frame,
    and its start-up phases; then one line a size with the ratios;
  - frames per second and processor time per frame of the floor (the same
    window and loop filling the screen once with the ground picture) and the
    renderer unpaced, in alternate runs, with their ratio; then paced as
    shipped (--repeat runs each), and once paced while drawing nothing (as
    when minimised: the loop's own cost); with the first desktop picture, at
    each --rate-size; with --baseline, other builds' frames alternated too:
    1024x768 is the classic run (the display switched to it), any other size
    the every-monitor run over a Wine desktop of that size;
  - with --shell: the shell's own start-up cost, Skyliner.scr /s to the
    renderer's first frame less the renderer alone to its first frame (working
    files in place), and the shell's phases; the shell starts the same
    first-frame renderer, put in a copy of the program folder as Skyliner.dll.
A desktop picture other than 1280x1024 is the bundled one tiled to that size;
--screen 1920x1080 also gives Wine's desktop (which the shell captures) that
size. Not a test: nothing is asserted.

usage: run_bench.py --bin WINDOWS_BIN [--repeat 10] [--ground WxH[,WxH...]] [--screen WxH]
                    [--rate-size WxH[,WxH...]]
                    [--shell] [--baseline DIR]... [--skip-startup] [--skip-rate] [--unpaced-only]
"""

import argparse
import os
import shutil
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "wine"))
import contract  # noqa: E402
import working_files as wf  # noqa: E402
from wine_session import PREFIX_DESKTOP, ROOT, WineSession, shipped_files  # noqa: E402


# One monitor of each common size, and two 2560x1440 monitors side by side.
DESKTOP_SIZES = ("1280x1024", "1920x1080", "3840x2160", "5120x1440")
# The classic run, the span of the two-monitor checks (1280x1024 beside 1024x768), a large panel.
RATE_SIZES = ("1024x768", "2304x1024", "2560x1440")
CLASSIC_SIZE = "1024x768"


def run(session, program, *args):
    """Runs a program to its end; returns (start time, end time, exit code, processor seconds)."""
    start = time.time()
    process = session.start_program(os.path.join(session.bin_dir, program), args)
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    return start, time.time(), process.returncode, usage.ru_utime + usage.ru_stime


def result_lines(session, name):
    path = os.path.join(session.work, name)
    with open(path) as f:
        lines = [line.split(" ", 2) for line in f.read().splitlines()]
    os.remove(path)
    return lines


def result(session, name):
    return {line[0]: float(line[1]) for line in result_lines(session, name)}


def tiled_bitmap(source, width, height):
    """The 24-bit bottom-up bitmap `source` tiled (or cut) to width x height."""
    picture = wf.Bitmap(source)
    source_rows = picture.rows()
    rows = [(source_rows[y % len(source_rows)] * (width // picture.width + 1))[:width * 3] for y in range(height)]
    return wf.bmp24_rows(width, rows)


def describe(name, values):
    return "%s median %.3f s (of %d; min %.3f, max %.3f)" % (name, statistics.median(values), len(values),
                                                             min(values), max(values))


def start_up(session, repeat):
    """Prints the start-up figures; returns (ratio to the bare GL program, peak working set in bytes)."""
    run(session, "bench_empty.exe")  # warm the wineserver and the desktop
    empty, bare, first, peak, phases = [], [], [], [], {}
    for _ in range(repeat):
        start, end, _, _ = run(session, "bench_empty.exe")
        empty.append(end - start)
        start, _, _, _ = run(session, "bench_bare_gl.exe")
        bare.append(result(session, "bare_frame.txt")["first_swap_unix_seconds"] - start)
        start, _, _, _ = run(session, "bench_first_frame.exe")
        lines = result_lines(session, "first_frame.txt")
        first.append(float(lines[0][1]) - start)
        for line in lines[1:]:
            if line[0] == "phase":
                phases.setdefault(line[2], []).append(float(line[1]) - start)
            elif line[0] == "peak_working_set_bytes":
                peak.append(int(line[1]))
        phases.setdefault("first frame drawn and swapped", []).append(float(lines[0][1]) - start)
    e, b, f = statistics.median(empty), statistics.median(bare), statistics.median(first)
    print(describe("empty program, start to end:         ", empty))
    print(describe("bare GL program, start to first frame:", bare))
    print(describe("renderer, start to first frame:       ", first))
    print("start-up ratio to the empty program: %.2f" % (f / e))
    print("start-up ratio to the bare GL program: %.3f" % (f / b))
    print("renderer peak working set by the first frame: %.1f MB (largest of the runs)" % (max(peak) / 2**20))
    # The pictures are read and their levels computed on a thread of their own,
    # so the phases are given as times from the start, not as one sequence.
    print("renderer start-up phases (median s from the program's start to the phase's end; * on the picture thread):")
    ends = sorted((statistics.median(values), phase) for phase, values in phases.items())
    for end, phase in ends:
        ahead = "*" if phase.endswith(("picture read", "mipmaps computed")) else " "
        print("  %s %-32s %.4f" % (ahead, phase, end))
    return f / b, max(peak)


def shell_folder(session, shell_path=None):
    """A copy of the program folder with the first-frame renderer as Skyliner.dll and, if given,
    another program as Skyliner.scr."""
    files = {}
    for name, path in (("Skyliner.dll", os.path.join(session.bin_dir, "bench_first_frame.exe")),
                       ("Skyliner.scr", shell_path)):
        if path:
            with open(path, "rb") as f:
                files[name] = f.read()
    return session.program_copy(replace=files)


def run_shell(session, folder):
    """Runs Skyliner.scr /s of the folder to its end; returns (its start, the renderer's first swap). The
    run removes its working files as it ends: those that were there are put back for the renderer alone."""
    kept = {}
    for name in os.listdir(session.kestrel):
        with open(os.path.join(session.kestrel, name), "rb") as f:
            kept[name] = f.read()
    start = time.time()
    process = session.start_program(os.path.join(folder, "Skyliner.scr"), ("/s",), name="shell")
    process.wait(30)
    session.put_files(kept)
    return start, result(session, "first_frame.txt")["first_swap_unix_seconds"]


def shell_phases(session, folder, phases, cpu):
    """Runs the observed shell of the folder; adds its phase ends to phases and its processor times to cpu."""
    start, swapped = run_shell(session, folder)
    for used, when, phase in result_lines(session, "shell_phases.txt"):
        phases.setdefault(phase, []).append(float(when) - start)
        cpu.setdefault(phase, []).append(float(used))
    phases.setdefault("renderer's first frame", []).append(swapped - start)


def print_phases(title, phases, cpu):
    print("%s (medians: s from the shell's start to the phase's end; the shell's processor s):" % title)
    for end, phase in sorted((statistics.median(values), phase) for phase, values in phases.items()):
        print("    %-32s %.4f  %s" % (phase, end, "%.4f" % statistics.median(cpu[phase]) if phase in cpu else ""))


def shell_start_up(session, repeat, baseline=None):
    """The shell's own cost: Skyliner.scr /s to the renderer's first frame, less the renderer alone. With
    baseline (folders, each holding another build's Skyliner.scr and bench_shell.exe), those builds' runs
    are alternated with this one's."""
    builds = [("this build", os.path.join(session.dist_dir, "Skyliner.scr"),
               os.path.join(session.bin_dir, "bench_shell.exe"))]
    for folder in baseline or ():
        builds.append((os.path.basename(os.path.normpath(folder)), os.path.join(folder, "Skyliner.scr"),
                       os.path.join(folder, "bench_shell.exe")))
    folders = [(name, shell_folder(session, product), shell_folder(session, observed))
               for name, product, observed in builds]
    run_shell(session, folders[0][1])  # warm the wineserver, the desktop and the file cache
    alone, bare = [], []
    shell = {name: [] for name, _, _ in folders}
    phases = {name: ({}, {}) for name, _, _ in folders}
    for _ in range(repeat):
        start, _, _, _ = run(session, "bench_first_frame.exe")
        alone.append(result(session, "first_frame.txt")["first_swap_unix_seconds"] - start)
        start, _, _, _ = run(session, "bench_bare_gl.exe")
        bare.append(result(session, "bare_frame.txt")["first_swap_unix_seconds"] - start)
        for name, product, observed in folders:
            start, swapped = run_shell(session, product)
            shell[name].append(swapped - start)
            shell_phases(session, observed, *phases[name])
    print(describe("bare GL program, start to first frame: ", bare))
    print(describe("renderer alone, start to first frame:  ", alone))
    for name, _, _ in folders:
        print(describe("Skyliner.scr /s (%s), start to first frame:" % name, shell[name]))
        own = statistics.median(shell[name]) - statistics.median(alone)
        print("the shell's own cost (%s; Skyliner.scr /s less the renderer alone): %.3f s (target 0.100 s)" % (
            name, own))
    for name, _, _ in folders:
        print_phases("shell start-up phases, %s" % name, *phases[name])
    for _, product, observed in folders:
        shutil.rmtree(product, ignore_errors=True)
        shutil.rmtree(observed, ignore_errors=True)


def spread(values, unit=""):
    return "%.2f%s (%.2f - %.2f)" % (statistics.median(values), unit, min(values), max(values))


def rate_run(session, program, args):
    """One frame-rate run: (frames per second, processor ms a frame)."""
    run(session, program, *args)
    figures = result(session, "frame_rate.txt")
    return figures["frames_per_second"], figures["cpu_ms_per_frame"]


def frame_rates(session, sizes, desktop, repeat, baseline=None, unpaced_only=False):
    """At each size: the floor and the unpaced frame in alternate runs, their ratio, then (unless
    unpaced_only) the paced frame, repeat runs each, and the idle frame once. With baseline (folders, each holding another build's
    bench_frame_rate.exe), those builds' unpaced and paced frames are alternated with this one's."""
    builds = [("this build", os.path.join(session.bin_dir, "bench_frame_rate.exe"))]
    builds += [(os.path.basename(os.path.normpath(folder)), os.path.join(folder, "bench_frame_rate.exe"))
               for folder in baseline or ()]
    this = builds[0][1]
    ratios = []
    for size in sizes:
        every_monitor = size != CLASSIC_SIZE
        if every_monitor:
            session.set_desktop(size)
        way = (contract.kEveryMonitorArgument,) if every_monitor else ()
        print("frame rate at %s (%s), %d runs each:" % (size, "every monitor" if every_monitor else
                                                        "classic, switched", repeat))
        rate_run(session, this, ("unpaced", "floor") + way)  # warm the wineserver and the desktop at this size
        runs = [("floor", this, ("unpaced", "floor"))] + [("unpaced, " + name, program, ("unpaced",))
                                                          for name, program in builds]
        figures = {name: [] for name, _, _ in runs}
        for _ in range(repeat):
            for name, program, args in runs:
                figures[name].append(rate_run(session, program, args + way))
        paced = [("paced, " + name, program) for name, program in builds]
        figures.update({name: [] for name, _ in paced})
        for _ in range(0 if unpaced_only else repeat):
            for name, program in paced:
                figures[name].append(rate_run(session, program, ("paced",) + way))
        if not unpaced_only:  # the loop's own cost barely varies: one run
            figures["idle, this build"] = [rate_run(session, this, ("idle",) + way)]
        for name, values in figures.items():
            if not values:
                continue
            print("  %-22s %s frames per second, %s ms processor time per frame" % (
                name + ":", spread([fps for fps, _ in values]), spread([cpu for _, cpu in values])))
        floor = [fps for fps, _ in figures["floor"]]
        for name, _ in builds:
            frame = [fps for fps, _ in figures["unpaced, " + name]]
            ratios.append((size, name, statistics.median(floor) / statistics.median(frame),
                           [f / g for f, g in zip(floor, frame)]))
        if every_monitor:
            session.set_desktop(desktop)
    print("unpaced frame time / floor frame time by size (goal 1.15 or less; the spread of the alternate pairs):")
    for size, name, ratio, pairs in ratios:
        print("  %-10s %-12s %.2f  (%.2f - %.2f)" % (size, name, ratio, min(pairs), max(pairs)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--repeat", type=int, default=10)
    parser.add_argument("--ground", default=",".join(DESKTOP_SIZES),
                        help="desktop picture sizes WxH, comma-separated (default: %(default)s)")
    parser.add_argument("--screen", help="Wine's desktop size WxH, which the shell captures (default 1280x1024)")
    parser.add_argument("--shell", action="store_true", help="also the shell's own start-up cost")
    parser.add_argument("--baseline", action="append", help="a folder with another build's bench_frame_rate.exe, "
                        "and with --shell its "
                        "Skyliner.scr and bench_shell.exe, run alternately with this one (repeatable)")
    parser.add_argument("--rate-size", default=",".join(RATE_SIZES),
                        help="sizes WxH for the frame rate, comma-separated (default: %(default)s)")
    parser.add_argument("--skip-startup", action="store_true")
    parser.add_argument("--skip-rate", action="store_true")
    parser.add_argument("--unpaced-only", action="store_true", help="frame rates: the floor and unpaced alone")
    args = parser.parse_args()
    rate_sizes = args.rate_size.split(",")
    widest = [max(int(size.split("x")[side]) for size in rate_sizes) for side in (0, 1)]
    session = WineSession(os.path.abspath(args.bin), os.path.join(ROOT, "build", "bench-shots"),
                          desktop=args.screen, screen="%dx%d" % tuple(widest))
    try:
        shipped = shipped_files()
        desktop = contract.kDesktopPictureName
        grounds = args.ground.split(",")
        if args.skip_startup:  # the shell and the frame rate take the first size alone
            grounds = grounds[:1]
        summary = []
        for ground in grounds:
            width, height = (int(side) for side in ground.split("x"))
            files = dict(shipped)
            if (width, height) != (1280, 1024):
                files[desktop] = tiled_bitmap(shipped[desktop], width, height)
            session.put_files(files)
            print("desktop picture %s, Wine desktop %s, %d runs each" % (ground, args.screen or "1280x1024",
                                                                       args.repeat))
            if not args.skip_startup:
                summary.append((ground,) + start_up(session, args.repeat))
            if ground != grounds[0]:
                continue
            if args.shell:
                shell_start_up(session, args.repeat, args.baseline)
            if not args.skip_rate:
                frame_rates(session, rate_sizes, args.screen or PREFIX_DESKTOP, args.repeat, args.baseline,
                            args.unpaced_only)
        if summary:
            print("start-up ratio to the bare GL program, and peak working set, by desktop picture:")
            for ground, ratio, peak in summary:
                print("  %-10s %.2f  %6.1f MB" % (ground, ratio, peak / 2**20))
    finally:
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
