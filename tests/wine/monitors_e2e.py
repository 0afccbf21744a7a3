#!/usr/bin/env python3
"""End-to-end checks of the renderer on displays Wine's virtual desktop cannot
show, in a prefix without one: two monitors (Xorg's dummy driver), where the
flight takes the primary and a black topmost window covers the other; and
plain Xvfb, which refuses the 1024 x 768 switch, so the flight takes the mode
it finds. Covers are judged by the window list (EnumWindows, GetWindowRect)
and by the screenshot's pixels.

usage: monitors_e2e.py --bin WINDOWS_BIN --shots DIR --group GROUP
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "wine"))
from check_groups import CheckSet, run_groups  # noqa: E402
from renderer_e2e import GROUND, SKY, share, stand_in_files  # noqa: E402
from wine_session import RENDERER_CAPTION, RendererRun, ShellRun, wait_until  # noqa: E402

COVER_CLASS = "Skyliner cover"
FLIGHT_CLASS = "OpenGL"
KNOWN_COLOUR = (255, 128, 0)
BLACK = (0, 0, 0)
RUNNING_MODE = "1024x768x32"


def parse_rect(text):
    return tuple(int(v) for v in text.split())


def region_share(shot, x, y, width, height, colour):
    """The share of the region's pixels near colour, from a 256 x 192 sample of it (a whole monitor
    would take seconds pixel by pixel)."""
    raw = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                          "-sample", "256x192!", "-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
    return share([tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)], colour)


class Checks(CheckSet):
    # --- what Windows lists ---------------------------------------------------

    def monitors(self):
        """[(x, y, width, height, primary)] as the system lists them."""
        return [parse_rect(line) for line in self.s.probe("monitors")[1].splitlines()]

    def windows(self):
        """[(class, title, (x, y, width, height), topmost)], topmost of the Z order first."""
        found = []
        for line in self.s.probe("windows")[1].splitlines():
            cls, title, rect, topmost = line.split("|")
            found.append((cls, title, parse_rect(rect), topmost == "1"))
        return found

    def ours(self):
        return [w for w in self.windows() if w[0] in (COVER_CLASS, FLIGHT_CLASS)]

    def assert_left_as_found(self, monitors, mode):
        """Both monitors back in their old modes and places, nothing of ours on screen."""
        settled = wait_until(lambda: self.monitors() == monitors and not self.ours(), 5, step=0.2)
        assert settled, "after the run: monitors %s (before %s), our windows %s" % (
            self.monitors(), monitors, self.ours())
        assert self.s.probe("mode")[1] == mode, "display mode %s, before %s" % (self.s.probe("mode")[1], mode)

    # --- a run over a known window on the second monitor ------------------------

    def two_monitors(self):
        monitors = self.monitors()
        assert len(monitors) == 2 and monitors[0][4] == 1, "expected a primary and a second monitor: %s" % monitors
        return monitors

    def known_window_on(self, monitor):
        x, y, width, height, _ = monitor
        process, line = self.s.probe_window("solid", str(x), str(y), str(width), str(height), "FF8000")
        self.later(lambda: self.s.end_process(process))
        time.sleep(0.3)
        shot = self.s.screenshot("known_window_on_second_monitor", x + width, max(height, y + height))
        assert region_share(shot, x, y, width, height, KNOWN_COLOUR) > 0.99, "the known window is not seen"

    def assert_covered(self, shot_name):
        """The flight on the primary at 1024 x 768, one black topmost cover exactly over the second
        monitor as listed now, above the known window; returns the cover's rectangle."""
        assert self.s.probe("mode")[1] == RUNNING_MODE, "display mode while running: %s" % self.s.probe("mode")[1]
        primary, second = sorted(self.monitors(), key=lambda m: -m[4])
        assert primary[:4] == (0, 0, 1024, 768), "primary monitor while running: %s" % (primary,)
        listed = self.windows()
        covers = [w for w in listed if w[0] == COVER_CLASS]
        assert [(w[2], w[3]) for w in covers] == [(second[:4], True)], "covers %s, second monitor %s" % (
            covers, second)
        flight = [w for w in listed if w[0] == FLIGHT_CLASS]
        assert [w[2] for w in flight] == [(0, 0, 1024, 768)], "flight window %s" % flight
        order = [w[1] or w[0] for w in listed]
        assert order.index(COVER_CLASS) < order.index("wine_probe solid"), "cover not above the known window: %s" % (
            order)
        x, y, width, height = second[:4]
        shot = self.s.screenshot(shot_name, x + width, max(768, y + height))
        assert region_share(shot, x, y, width, height, BLACK) > 0.99, "the second monitor is not black"
        sky = region_share(shot, 0, 0, 1024, 120, SKY)
        assert sky > 0.95, "the primary's top band is %.0f%% sky" % (100 * sky)
        return second[:4]

    def wait_for_frames(self):
        """Until the loop draws: a key's press and release handled in one pass would be missed."""
        assert wait_until(lambda: (self.s.renderer_frames() or 0) >= 10, 15), "the renderer draws no frames"

    def start_flight(self):
        self.s.put_files(stand_in_files())
        run = RendererRun(self.s)
        self.later(run.kill)
        run.wait_for_window()
        self.wait_for_frames()
        return run

    def test_covers_the_second_monitor_and_esc_there_ends_the_run(self):
        monitors, mode = self.two_monitors(), self.s.probe("mode")[1]
        self.known_window_on(monitors[1])
        run = self.start_flight()
        x, y, width, height = self.assert_covered("flight_with_second_monitor_covered")
        # A click on the cover changes nothing: the flight keeps the focus and goes on.
        self.s.click(x + width // 2, y + height // 2)
        time.sleep(0.3)
        assert run.process.poll() is None, "a click on the cover ended the run"
        assert self.s.wait_for_renderer_focus(2), "a click on the cover took the focus from the flight"
        self.assert_covered("after_click_on_cover")
        code, _ = self.s.probe("press", COVER_CLASS)
        assert code == 0, "no cover to press Esc on"
        assert run.wait_for_exit() == 0, "exit code after Esc on the cover"
        self.assert_left_as_found(monitors, mode)

    def test_close_request_on_the_cover_ends_the_run(self):
        monitors, mode = self.two_monitors(), self.s.probe("mode")[1]
        run = self.start_flight()
        code, _ = self.s.probe("close-class", COVER_CLASS)
        assert code == 0, "no cover to close"
        assert run.wait_for_exit() == 0, "exit code after closing the cover"
        self.assert_left_as_found(monitors, mode)

    def test_failed_start_takes_the_covers_down(self):
        monitors, mode = self.two_monitors(), self.s.probe("mode")[1]
        self.s.put_files(stand_in_files(sky=None, ground=None))  # the scene cannot start
        run = RendererRun(self.s)
        self.later(run.kill)
        assert run.wait_for_exit() == 0, "exit code after the failed start"
        self.assert_left_as_found(monitors, mode)

    def test_shell_ends_within_a_second_of_the_renderer(self):
        monitors, mode = self.two_monitors(), self.s.probe("mode")[1]
        self.known_window_on(monitors[1])
        run = ShellRun(self.s)
        self.later(run.kill)
        assert run.wait_for_renderer_window(), "no window \"%s\" (shell exit code %s)" % (
            RENDERER_CAPTION, run.process.poll())
        assert run.wait_for_focus(), "the renderer's window never got the input focus"
        self.wait_for_frames()
        assert wait_until(lambda: [w for w in self.windows() if w[0] == COVER_CLASS], 5), "no cover"
        self.s.screenshot("saver_with_second_monitor_covered", 2048, 768)
        assert self.s.probe("press", COVER_CLASS)[0] == 0, "no cover to press Esc on"
        assert wait_until(lambda: not run.renderer_processes(), 10), "the renderer did not end"
        renderer_end = time.monotonic()
        assert run.wait_for_exit(5) is not None, "the shell still runs 5 s after the renderer ended"
        lag = time.monotonic() - renderer_end
        print("  the shell ended %.2f s after the renderer" % lag)
        assert lag <= 1.0, "the shell ended %.2f s after the renderer" % lag
        self.assert_left_as_found(monitors, mode)

    # --- a display that refuses the mode ------------------------------------------

    def test_refused_mode_flies_at_the_current_mode(self):
        mode, monitors = self.s.probe("mode")[1], self.monitors()
        assert mode != RUNNING_MODE, "this display is already at %s" % mode
        width, height = monitors[0][2], monitors[0][3]
        run = self.start_flight()
        assert self.s.probe("mode")[1] == mode, "the mode changed to %s" % self.s.probe("mode")[1]
        assert [w[2] for w in self.ours()] == [(0, 0, width, height)], "our windows: %s" % self.ours()
        shot = self.s.screenshot("flight_at_the_current_mode", width, height)
        sky, ground = region_share(shot, 0, 0, width, 120, SKY), region_share(shot, 0, height - 120, width, 120, GROUND)
        assert sky > 0.95, "top band is %.0f%% sky" % (100 * sky)
        assert ground > 0.95, "bottom band is %.0f%% ground" % (100 * ground)
        self.s.tap_key("Escape")
        assert run.wait_for_exit() == 0, "exit code after Esc"
        self.assert_left_as_found(monitors, mode)


GROUPS = {
    "two_monitors": ["test_covers_the_second_monitor_and_esc_there_ends_the_run",
                     "test_close_request_on_the_cover_ends_the_run", "test_failed_start_takes_the_covers_down",
                     "test_shell_ends_within_a_second_of_the_renderer"],
    "refused_mode": ["test_refused_mode_flies_at_the_current_mode"],
}


def session_options(chosen):
    if len(chosen) != 1:
        raise SystemExit("monitors_e2e.py: name one --group (each needs its own display)")
    return {"virtual_desktop": False, "two_monitors": chosen[0] == "two_monitors"}


def main():
    return run_groups(GROUPS, Checks, lambda session: "display %s, prefix %s, monitors %s" % (
        session.env["DISPLAY"], session.env["WINEPREFIX"], session.probe("monitors")[1].replace("\n", "; ")),
        session_options)


if __name__ == "__main__":
    sys.exit(main())
