#!/usr/bin/env python3
"""The main job: runs the screensaver as the system would, `Skyliner.scr /s`
from the dist folder under Wine, over a desktop that shows the sample desktop
picture, so the saver's capture has something to show on the ground.

With a display it flies there until you press Esc. Without one it flies in
Xvfb, leaves screenshots of the chase and fixed cameras and the saver's
desktop capture in --shots, ends the run with Esc and checks that the shell
ended too.

usage: fly.py --bin WINDOWS_BIN --shots DIR [--display :0]
"""

import argparse
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "wine"))
import contract  # noqa: E402
from wine_session import (RENDERER_CAPTION, RENDERER_PROGRAM, ROOT, SHELL_PROGRAM, ShellRun,  # noqa: E402
                          WineSession, wait_until)
from working_files import Bitmap, bmp24_rows  # noqa: E402

# Swapped frames at which to take each shot, by the count the renderer publishes: the
# chase view runs for frames 0-999, the fixed view for frames 1000-1099, then the chase again.
SHOTS = [("chase_early", 120), ("chase_late", 600), ("fixed", 1050), ("chase_again", 1200)]
WINDOW_TIMEOUT = 30  # a cold wineserver and the capture take a few seconds
SHELL_END_TIMEOUT = 10  # the shell looks for the renderer's window every 500 ms


class Failure(Exception):
    """A failed run, described by one plain sentence, with Wine's errors to show under it."""

    def __init__(self, sentence, show_wine_errors=True):
        super().__init__(sentence)
        self.show_wine_errors = show_wine_errors


def mirrored(row):
    """A row of 24-bit pixels in reverse order, each pixel's bytes kept."""
    reversed_bytes = row[::-1]  # pixels reversed, each one's bytes too
    out = bytearray(len(row))
    for channel in range(3):
        out[channel::3] = reversed_bytes[2 - channel::3]
    return bytes(out)


def unmirrored_desktop(folder):
    """The sample desktop turned the right way round (the file holds it mirrored, as the saver
    writes its capture), as a 24-bit bitmap in folder; the saver's capture mirrors it back."""
    with open(os.path.join(ROOT, "assets", "sample-desktop.bmp"), "rb") as f:
        picture = Bitmap(f.read())
    if picture.bits != 24 or picture.width <= 0 or picture.height <= 0:
        raise Failure("assets/sample-desktop.bmp is not the 24-bit picture this script expects", False)
    path = os.path.join(folder, "desktop.bmp")
    with open(path, "wb") as f:
        f.write(bmp24_rows(picture.width, [mirrored(row) for row in picture.rows()]))
    return path


def show_desktop(session):
    """Puts the sample desktop on Wine's desktop; returns the window's process."""
    path = session.windows_path(unmirrored_desktop(session.work))
    try:
        process, _ = session.probe_window("picture", path)
    except AssertionError:
        raise Failure("The sample desktop could not be shown on Wine's desktop (wine_probe picture failed).")
    return process


def renderer_window_or_end(session, run):
    """Waits until the renderer's window exists (True) or the shell and every renderer have
    ended without one (False)."""
    def settled():
        if session.x_windows(RENDERER_CAPTION):
            return "window"
        if run.process.poll() is not None and not run.renderer_processes():
            return "ended"
        return None
    return wait_until(settled, WINDOW_TIMEOUT, step=0.1) == "window"


def start_saver(session):
    run = ShellRun(session, args=("/s",))
    if renderer_window_or_end(session, run):
        return run
    code = run.process.poll()
    if code is None:
        run.kill()
        raise Failure("Skyliner did not show its window within %d s; Wine's last error lines:" % WINDOW_TIMEOUT)
    raise Failure("Skyliner ended without showing its window (exit code %d); Wine's last error lines:" % code)


def keep_capture(session):
    """Copies the saver's desktop capture beside the screenshots, if it wrote one."""
    capture = os.path.join(session.kestrel, contract.kDesktopPictureName)
    if os.path.exists(capture):
        target = os.path.join(session.shots_dir, "capture.bmp")
        shutil.copyfile(capture, target)
        print("the saver's desktop capture: %s" % target)


def frame_deadline(frame):
    """Seconds from the window's focus within which the renderer must reach frame: a slow
    machine draws well under 60 frames a second."""
    return frame / 10 + 30


def wait_for_frame(session, frame, start):
    """Polls the renderer's published frame count until it reaches frame; returns the count."""
    while True:
        count = session.renderer_frames()
        if count is None:
            raise Failure("Skyliner's window closed by itself before frame %d; Wine's last error lines:" % frame)
        if count >= frame:
            return count
        if time.monotonic() - start > frame_deadline(frame):
            raise Failure("Skyliner drew only %d frames in %.0f s, short of frame %d for a screenshot."
                          % (count, time.monotonic() - start, frame), False)
        # Half the time the remaining frames take at 60 a second, so the shot lands close to its frame.
        time.sleep(min(1.0, (frame - count) / 120.0))


def fly_headless(session):
    run = start_saver(session)
    try:
        if not run.wait_for_focus():
            if not session.x_windows(RENDERER_CAPTION):
                raise Failure("Skyliner's window closed right after it opened; Wine's last error lines:")
            raise Failure("The window \"%s\" never got the input focus, so Esc cannot reach it." % RENDERER_CAPTION)
        start = time.monotonic()
        for name, frame in SHOTS:
            before = wait_for_frame(session, frame, start)
            path = session.screenshot(name)
            after = session.renderer_frames() or before  # the probe itself takes a few frames
            print("screenshot %s, taken between frames %d and %d" % (path, before, after))
        keep_capture(session)
        session.tap_key("Escape")
        code = run.wait_for_exit(SHELL_END_TIMEOUT)
        if code is None:
            raise Failure("Skyliner.scr was still running %d s after Esc; Wine's last error lines:"
                          % SHELL_END_TIMEOUT)
    finally:
        run.kill()
    print("Skyliner.scr ended with exit code %d after Esc" % code)
    return code


def fly_on_display(session):
    run = start_saver(session)
    try:
        print("flying on %s: press Esc to end" % session.env["DISPLAY"])
        code = run.process.wait()
    finally:
        run.kill()
    print("Skyliner.scr ended with exit code %d" % code)
    return code


def fly(args):
    session = WineSession(os.path.abspath(args.bin), os.path.abspath(args.shots), display=args.display)
    desktop = None
    try:
        for name in (SHELL_PROGRAM, RENDERER_PROGRAM, contract.kModelFileName):
            if not os.path.exists(os.path.join(session.dist_dir, name)):
                raise Failure("%s is missing from %s; build the Windows preset first." % (name, session.dist_dir),
                              False)
        session.put_files({})  # whatever the renderer reads, the saver must have written
        desktop = show_desktop(session)
        return fly_on_display(session) if args.display else fly_headless(session)
    except Failure as failure:
        print(failure)
        if failure.show_wine_errors:
            print("\n".join(session.wine_errors(limit=20)) or "(Wine logged no error lines)")
        return 1
    finally:
        if desktop:
            session.end_process(desktop)
        session.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder (dist/ lies beside it)")
    parser.add_argument("--shots", required=True)
    parser.add_argument("--display", help="an X display to fly on; without it, headless in Xvfb")
    args = parser.parse_args()
    try:
        return fly(args)
    except KeyboardInterrupt:
        print("interrupted")
        return 130
    except Exception as error:  # a plain sentence, not a traceback, for whoever runs the main job
        print("The run could not go on: %s" % (error or type(error).__name__))
        return 1


if __name__ == "__main__":
    sys.exit(main())
