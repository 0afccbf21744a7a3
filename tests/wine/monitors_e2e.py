#!/usr/bin/env python3
"""End-to-end checks of the renderer, in a prefix without Wine's virtual desktop, on two monitors
(Xorg's dummy driver: the flight takes the primary, a black topmost window covers the other; or, in
the every-monitor way, one flight spans both with no mode changed) and on plain Xvfb, which refuses
the 1024 x 768 switch. Covers are judged by the window list and by pixels.

usage: monitors_e2e.py --bin WINDOWS_BIN --shots DIR --group GROUP
"""

import os
import subprocess
import sys
import time

import contract
import dummy_display
import working_files as wf
from check_groups import CheckSet, run_groups
from renderer_e2e import GROUND, SKY, share, stand_in_files
from wine_session import (RENDERER_CAPTION, ROOT, RendererRun, ShellRun, WineSession, wait_until,
                          write_settings)

COVER = "class=Skyliner cover"
OURS = ("Skyliner cover", "OpenGL")
KNOWN_COLOUR = (255, 128, 0)
FLIGHT = (0, 0, 1024, 768)
MARKER_COLOUR = (255, 0, 255)
MARKER_SIZE = (160, 120)


def region_share(shot, rect, colour):
    return share(WineSession.pixels(shot, *rect, sample=(256, 192)), colour)


class Checks(CheckSet):
    def ours(self):
        return [w for w in self.s.windows() if w[0] in OURS]

    def before(self):
        """(monitors, mode) before a run, with the primary first and as many monitors as the layout has."""
        monitors, mode = self.s.monitors(), self.s.probe("mode")[1]
        wanted = len(dummy_display.LAYOUTS[self.s.layout])
        assert len(monitors) == wanted and monitors[0][4] == 1, "expected %d monitors, the primary first: %s" % (
            wanted, monitors)
        return monitors, mode

    def assert_left_as_found(self, monitors, mode):
        """The monitors back in their old modes and places, nothing of ours on screen."""
        assert wait_until(lambda: self.s.monitors() == monitors and not self.ours(), 5, step=0.2), (
            "after the run: monitors %s (before %s), our windows %s" % (self.s.monitors(), monitors, self.ours()))
        assert self.s.probe("mode")[1] == mode, "display mode %s, before %s" % (self.s.probe("mode")[1], mode)

    def picture_at(self, x, y, path=None, size=None, colour=None):
        """A window showing the picture (or a plain one of the size and colour) at (x, y)."""
        if path is None:
            path = os.path.join(self.s.work, "plain%d.bmp" % x)
            with open(path, "wb") as f:
                f.write(wf.bmp24(*size, colour))
        process, _ = self.s.probe_window("picture", self.s.windows_path(path), str(x), str(y))
        self.later(lambda: self.s.end_process(process))

    def known_window_on(self, monitor):
        x, y, width, height, _ = monitor
        self.picture_at(x, y, size=(width, height), colour=KNOWN_COLOUR)
        time.sleep(0.2)  # painted; let the X server show it
        shot = self.s.screenshot("known_window_on_second_monitor", x + width, max(height, y + height))
        assert region_share(shot, monitor[:4], KNOWN_COLOUR) > 0.99, "the known window is not seen"

    def assert_covered(self, shot_name):
        """The flight on the primary at 1024 x 768; one black topmost cover exactly over the second
        monitor as listed now, above the known window."""
        assert self.s.probe("mode")[1] == "1024x768x32", "display mode while running: %s" % self.s.probe("mode")[1]
        primary, second = sorted(self.s.monitors(), key=lambda m: -m[4])
        assert primary[:4] == FLIGHT, "primary monitor while running: %s" % (primary,)
        listed = self.s.windows()
        found = [(w[0], w[2], w[3]) for w in listed if w[0] in OURS]
        assert sorted(found) == [("OpenGL", FLIGHT, False), ("Skyliner cover", second[:4], True)], found
        order = [w[0] for w in listed]
        assert order.index(OURS[0]) < order.index("wine_probe window"), "cover below the known window: %s" % order
        shot = self.s.screenshot(shot_name, second[0] + second[2], max(768, second[1] + second[3]))
        assert region_share(shot, second[:4], (0, 0, 0)) > 0.99, "the second monitor is not black"
        assert region_share(shot, (0, 0, 1024, 120), SKY) > 0.95, "no sky at the top of the primary"
        return second[:4]

    def wait_for_frames(self):
        """Until the loop draws: a key pressed and released within one pass would be missed."""
        assert wait_until(lambda: (self.s.renderer_frames() or 0) >= 10, 15), "the renderer draws no frames"

    def kill(self, run):
        """Ends a run a failed check left, and puts back the modes it may have left switched."""
        if run.process.poll() is None:
            run.kill()
            if self.s.layout:
                dummy_display.arrange(self.s.env["DISPLAY"], self.s.layout)

    def escape(self, window, ended, pointer_on=None):
        """Esc on the window (or from the keyboard with the pointer on a monitor) until ended()
        (a busy loop can see a tap's press and release together)."""
        if pointer_on:
            x, y, width, height, _ = pointer_on
            subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2)], env=self.s.env,
                           check=True)
        for _ in range(3):
            if pointer_on:
                self.s.tap_key("Escape")
            else:
                assert self.s.probe("press", window)[0] == 0, "no window %s to press Esc on" % window
            if wait_until(ended, 4):
                return
            print("  (the renderer went on after Esc; pressing it again)")
        raise AssertionError("the renderer did not end after three presses of Esc on %s" % window)

    def start_flight(self, files=None, args=()):
        self.s.put_files(files or stand_in_files())
        run = RendererRun(self.s, args=args)
        self.later(lambda: self.kill(run))
        if files is None:
            run.wait_for_window()
            self.wait_for_frames()
        return run

    def start_saver(self, program_dir=None):
        run = ShellRun(self.s, program_dir=program_dir)
        self.later(run.kill)
        assert run.wait_for_renderer_window() and run.wait_for_focus(), "no renderer window with the focus"
        self.wait_for_frames()
        return run

    # --- two monitors ----------------------------------------------------------------

    def test_covers_the_second_monitor_and_esc_there_ends_the_run(self):
        monitors, mode = self.before()
        self.known_window_on(monitors[1])
        run = self.start_flight()
        x, y, width, height = self.assert_covered("flight_with_second_monitor_covered")
        self.s.click(x + width // 2, y + height // 2)
        time.sleep(0.3)
        assert run.process.poll() is None and self.s.wait_for_renderer_focus(2), "a click on the cover changed the run"
        self.assert_covered("after_click_on_cover")
        self.escape(COVER, lambda: run.process.poll() is not None)
        assert run.wait_for_exit() == 0, "exit code after Esc on the cover"
        self.assert_left_as_found(monitors, mode)

    def test_a_close_request_or_a_failed_start_takes_the_covers_down(self):
        for what, files in (("close request to the cover", None), ("no scene picture", stand_in_files(None, None))):
            monitors, mode = self.before()
            run = self.start_flight(files)
            if files is None:
                assert self.s.probe("close", COVER)[0] == 0, "no cover to close"
            assert run.wait_for_exit() == 0, "%s: exit code" % what
            self.assert_left_as_found(monitors, mode)

    def test_shell_ends_within_a_second_of_the_renderer(self):
        monitors, mode = self.before()
        self.known_window_on(monitors[1])
        run = self.start_saver()
        assert wait_until(lambda: [w for w in self.ours() if w[0] == OURS[0]], 5), "no cover"
        self.s.screenshot("saver_with_second_monitor_covered", 2048, 768)
        self.escape(COVER, lambda: not run.renderer_processes())
        self.assert_shell_follows(run)
        self.assert_left_as_found(monitors, mode)

    def assert_shell_follows(self, run):
        renderer_end = time.monotonic()
        assert run.wait_for_exit(5) is not None, "the shell still runs 5 s after the renderer ended"
        lag = time.monotonic() - renderer_end
        assert lag <= 1.0, "the shell ended %.2f s after the renderer" % lag

    # --- every monitor at its own mode ---------------------------------------------

    def marker_on(self, monitor):
        """A small window of a known colour inside the monitor; returns its rectangle."""
        rect = (monitor[0] + 200, monitor[1] + 100) + MARKER_SIZE
        self.picture_at(*rect[:2], size=MARKER_SIZE, colour=MARKER_COLOUR)
        shown = lambda: region_share(self.s.screenshot("marker", rect[0] + 200, rect[1] + 200), rect,
                                     MARKER_COLOUR) > 0.99
        assert wait_until(shown, 3, step=0.2), "the marker window is not seen"
        return rect

    def before_spanning(self):
        """(monitors, mode, span) before an every-monitor run; check_spanning() then checks the span is
        one topmost flight and, as after the run, that no mode or output changed."""
        monitors, mode = self.before()
        outputs = dummy_display.outputs(self.s.env["DISPLAY"])
        span = (0, 0, max(m[0] + m[2] for m in monitors), max(m[1] + m[3] for m in monitors))

        def check(when):
            now = (dummy_display.outputs(self.s.env["DISPLAY"]), self.s.monitors(), self.s.probe("mode")[1])
            assert now == (outputs, monitors, mode), "%s: outputs, monitors, mode %s, before %s" % (
                when, now, (outputs, monitors, mode))
            if when == "while running":
                found = [(w[0], w[2], w[3]) for w in self.ours()]
                assert found == [("OpenGL", span, True)], "our windows: %s, not one over %s" % (found, span)
            else:
                self.assert_left_as_found(monitors, mode)
        self.check_spanning = check
        return monitors, mode, span

    def test_every_monitor_saver_spans_both_at_their_modes(self):
        monitors, mode, span = self.before_spanning()
        self.picture_at(*monitors[0][:2], path=os.path.join(ROOT, "assets", "sample-desktop.bmp"))
        marker = self.marker_on(monitors[1])
        folder = self.s.program_copy()
        write_settings(folder, 0, display=1)
        self.later(lambda: dummy_display.arrange(self.s.env["DISPLAY"], self.s.layout))
        run = self.start_saver(folder)
        self.check_spanning("while running")
        self.s.screenshot("saver_over_every_monitor", span[2], span[3])
        ground = wf.Bitmap(open(os.path.join(self.s.kestrel, contract.kDesktopPictureName), "rb").read())
        ground.assert_plain(span[2], span[3])
        x, y, width, height = marker
        mirrored = [ground.pixel(span[2] - 1 - (x + dx), y + dy) for dx in range(width) for dy in range(height)]
        assert share(mirrored, MARKER_COLOUR) > 0.99, "the marker is not at its mirrored place in the capture"
        self.escape(None, lambda: not run.renderer_processes(), pointer_on=monitors[1])
        self.assert_shell_follows(run)
        self.check_spanning("after the run")

    def test_every_monitor_flight_shows_on_both(self):
        monitors, mode, span = self.before_spanning()
        run = self.start_flight(args=(contract.kEveryMonitorArgument,))
        self.check_spanning("while running")
        wide = "_wide_panel" if self.s.layout == "wide" else ""
        shot = self.s.screenshot("flight_over_every_monitor" + wide, span[2], span[3])
        for x, y, width, height, _ in monitors:
            assert region_share(shot, (x, y, width, 120), SKY) > 0.95, "no sky at the top of %s" % ((x, y),)
        primary = monitors[0]
        assert region_share(shot, (0, primary[3] - 120, primary[2], 120), GROUND) > 0.95, "no ground at the bottom"
        self.escape(None, lambda: run.process.poll() is not None, pointer_on=primary)
        assert run.wait_for_exit() == 0, "exit code after Esc"
        self.check_spanning("after the run")

    # --- a display that refuses the mode ----------------------------------------------

    def test_refused_mode_flies_at_the_current_mode(self):
        monitors, mode = self.s.monitors(), self.s.probe("mode")[1]
        screen = monitors[0][:4]
        run = self.start_flight()
        assert self.s.probe("mode")[1] == mode, "the mode changed to %s" % self.s.probe("mode")[1]
        assert [w[2] for w in self.ours()] == [screen], "our windows: %s" % self.ours()
        shot = self.s.screenshot("flight_at_the_current_mode", screen[2], screen[3])
        assert region_share(shot, (0, 0, screen[2], 120), SKY) > 0.95, "no sky at the top"
        assert region_share(shot, (0, screen[3] - 120, screen[2], 120), GROUND) > 0.95, "no ground at the bottom"
        self.escape(RENDERER_CAPTION, lambda: run.process.poll() is not None)
        assert run.wait_for_exit() == 0, "exit code after Esc"
        self.assert_left_as_found(monitors, mode)


GROUPS = {
    "two_monitors": ["test_covers_the_second_monitor_and_esc_there_ends_the_run",
                     "test_a_close_request_or_a_failed_start_takes_the_covers_down",
                     "test_shell_ends_within_a_second_of_the_renderer"],
    "refused_mode": ["test_refused_mode_flies_at_the_current_mode"],
    "every_monitor": ["test_every_monitor_saver_spans_both_at_their_modes",
                      "test_every_monitor_flight_shows_on_both"],
    "wide_panel": ["test_every_monitor_flight_shows_on_both"],
}


def session_options(chosen):
    if len(chosen) != 1:
        raise SystemExit("monitors_e2e.py: name one --group (each needs its own display)")
    layouts = {"two_monitors": "two", "every_monitor": "two", "wide_panel": "wide"}
    return {"virtual_desktop": False, "monitors": layouts.get(chosen[0])}


def main():
    return run_groups(GROUPS, Checks, lambda session: "display %s, prefix %s, monitors %s" % (
        session.env["DISPLAY"], session.env["WINEPREFIX"], session.monitors()), session_options)


if __name__ == "__main__":
    sys.exit(main())
