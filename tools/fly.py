#!/usr/bin/env python3
"""The main job: lays the working files the saver writes (the bundled model,
sky and puff, and the sample desktop as the mirrored capture) into the Wine
prefix's C:\\kestrel and runs Skyliner.dll full screen.

With a display it flies there until you press Esc. Without one it flies in
Xvfb, leaves screenshots of the chase and fixed cameras in --shots, and ends
the run with Esc.

usage: fly.py --bin WINDOWS_BIN --shots DIR [--display :0]
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "wine"))
from wine_session import RendererRun, WineSession, shipped_files  # noqa: E402

# Seconds after the window appears, at 60 frames a second: the chase view runs
# for frames 0-999 (about 16.7 s), the fixed view for frames 1000-1099.
SHOTS = [("chase_early", 2), ("chase_late", 10), ("fixed", 17.2), ("chase_again", 22)]


def fly_headless(session):
    run = RendererRun(session)
    try:
        run.wait_for_window()
        start = time.monotonic()
        for name, at in SHOTS:
            time.sleep(max(0.0, at - (time.monotonic() - start)))
            print("screenshot %s" % session.screenshot(name))
        code = run.end_with_escape()
    finally:
        run.kill()
    print("Skyliner.dll ended with exit code %s" % code)
    return code


def fly_on_display(session):
    run = RendererRun(session)
    print("flying on %s: press Esc to end" % session.env["DISPLAY"])
    code = run.process.wait()
    print("Skyliner.dll ended with exit code %s" % code)
    return code


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--shots", required=True)
    parser.add_argument("--display", help="an X display to fly on; without it, headless in Xvfb")
    args = parser.parse_args()
    session = WineSession(os.path.abspath(args.bin), os.path.abspath(args.shots), display=args.display)
    try:
        session.put_files(shipped_files())
        return fly_on_display(session) if args.display else fly_headless(session)
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main())
