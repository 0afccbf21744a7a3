#!/usr/bin/env python3
"""End-to-end checks of Skyliner.dll under Wine in Xvfb: the window and the
display mode, what a frame shows, the ways a run ends (Esc, WM_CLOSE from
another process, missing or broken files) and that broken files never crash
it. Screenshots are left in --shots for a person to look at.

usage: renderer_e2e.py --bin WINDOWS_BIN --shots DIR --group GROUP
"""

import os
import shutil
import sys
import tempfile
import time

import contract
import working_files as wf
from check_groups import CheckSet, run_groups
from wine_session import RENDERER_CAPTION, RendererRun, shipped_files, wait_until

SKY = (40, 80, 220)
GROUND = (40, 160, 40)
WHITE = (255, 255, 255)
FRAME = (1024, 768)
MODE_RUNNING = "1024x768x32"
FRAMES_PER_SECOND = 60
SKY_PATH = contract.kRendererSkyPicturePath


def close(a, b, tolerance=3):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def share(pixels, colour):
    return sum(close(p, colour) for p in pixels) / len(pixels)


def stand_in_files(sky=SKY, ground=GROUND, model=None):
    """A small model (or the given bytes) and solid-colour pictures, so colours can be checked."""
    files = {contract.kModelCopyName: wf.ms3d() if model is None else model}
    if sky:
        files[contract.kSkyPictureName] = wf.bmp24(64, 64, sky)
    if ground:
        files[contract.kDesktopPictureName] = wf.bmp24(64, 64, ground)
    return files


class Checks(CheckSet):
    # --- helpers -------------------------------------------------------------

    def assert_window_full_screen(self):
        mode, where = self.s.state(RENDERER_CAPTION)
        assert where == "0 0 %d %d 1" % FRAME, "window placement: %r" % where
        assert mode == MODE_RUNNING, "display mode while running: %r" % mode

    def assert_ended_cleanly(self, code):
        assert code == 0, "exit code %s" % code
        seen = []

        def restored():
            seen.append(self.s.state(RENDERER_CAPTION))
            return seen[-1] == (self.s.initial_mode, "absent")

        # Wine's virtual desktop may apply the restored mode a moment after the process ends.
        wait_until(restored, 5, step=0.2)
        mode, where = seen[-1]
        assert where == "absent", "the window outlived the process"
        assert mode == self.s.initial_mode, "display mode after the run: %s, before: %s" % (mode, self.s.initial_mode)

    def assert_refused_without_window(self, files, what):
        self.s.put_files(files)
        run = RendererRun(self.s)
        seen = []

        def window_or_exit():
            if self.s.x_windows(RENDERER_CAPTION):
                seen.append(True)
            return seen or run.process.poll() is not None

        wait_until(window_or_exit, 15)
        code = run.wait_for_exit()
        assert not seen, "%s: a window appeared" % what
        self.assert_ended_cleanly(code)

    def fly_and_end(self, run):
        """Lets the run fly a moment once its window shows, then ends it with Esc, cleanly."""
        run.wait_for_window()
        time.sleep(0.3)
        self.assert_ended_cleanly(run.end_with_escape())

    def frame_after_start(self, name, settle=0.5):
        run = RendererRun(self.s)
        try:
            run.wait_for_window()
            time.sleep(settle)  # let a few frames be drawn and the mode change settle
            self.assert_window_full_screen()
            shot = self.s.screenshot(name)
            return run, shot
        except BaseException:
            run.kill()
            raise

    def dismiss_message_box(self, run, timeout=15, shot=None):
        """Waits for the reader's "Error" box, presses OK; returns its text."""
        found = wait_until(lambda: self.s.x_windows("Error") or run.process.poll() is not None, timeout)
        assert found and run.process.poll() is None, "no \"Error\" message box (exit code %s)" % run.process.poll()
        if shot:
            self.s.screenshot(shot, 1280, 1024)
        code, text = self.s.dismiss("Error")
        assert code == 0, "the message box could not be found from another process"
        wait_until(lambda: not self.s.x_windows("Error"), 5)
        return text

    # --- display -------------------------------------------------------------

    def test_frame_shows_sky_ground_and_aircraft(self):
        self.s.put_files(stand_in_files())
        run, shot = self.frame_after_start("solid_sky_and_ground")
        code = run.end_with_escape()
        top = self.s.pixels(shot, 0, 0, FRAME[0], 120)
        bottom = self.s.pixels(shot, 0, FRAME[1] - 120, FRAME[0], 120)
        middle = self.s.pixels(shot, 312, 234, 400, 300)
        assert share(top, SKY) > 0.95, "top band is %.0f%% sky colour" % (100 * share(top, SKY))
        assert share(bottom, GROUND) > 0.95, "bottom band is %.0f%% ground colour" % (100 * share(bottom, GROUND))
        aircraft = sum(not close(p, SKY) and not close(p, GROUND) for p in middle)
        assert aircraft > 1000, "only %d aircraft pixels in the middle of the frame" % aircraft
        self.assert_ended_cleanly(code)

    def test_missing_sky_picture_gives_white_sphere(self):
        self.s.put_files(stand_in_files(sky=None))
        run, shot = self.frame_after_start("missing_sky")
        code = run.end_with_escape()
        top = self.s.pixels(shot, 0, 0, FRAME[0], 120)
        bottom = self.s.pixels(shot, 0, FRAME[1] - 120, FRAME[0], 120)
        assert share(top, WHITE) > 0.95, "top band is %.0f%% white" % (100 * share(top, WHITE))
        assert share(bottom, GROUND) > 0.95, "bottom band is %.0f%% ground colour" % (100 * share(bottom, GROUND))
        self.assert_ended_cleanly(code)

    def test_shipped_files_frame(self):
        files = shipped_files()
        if files is None:
            print("  (bundled assets not found: running with stand-ins)")
            files = stand_in_files()
        self.s.put_files(files)
        run, shot = self.frame_after_start("shipped_files", settle=1.0)
        self.s.screenshot("shipped_files_later")
        code = run.end_with_escape()
        middle = self.s.pixels(shot, 312, 234, 400, 300)
        assert len(set(middle)) > 50, "the middle of the frame is nearly flat: %d colours" % len(set(middle))
        self.assert_ended_cleanly(code)

    def test_published_frame_count_grows_at_the_frame_rate(self):
        self.s.put_files(stand_in_files())
        run, _ = self.frame_after_start("before_frame_count", settle=0.3)
        try:
            started = time.monotonic()
            first = self.s.renderer_frames()
            time.sleep(1.0)
            second = self.s.renderer_frames()
            elapsed = time.monotonic() - started
        finally:
            code = run.end_with_escape()
        assert first is not None and second is not None, "no frame count on the window: %r, %r" % (first, second)
        assert first >= 1, "the count was %d after the first frames were shown" % first
        # More than a few frames, and never more than the 60 a second the loop is paced to.
        grown = second - first
        assert 5 <= grown <= FRAMES_PER_SECOND * elapsed + 2, "the count grew by %d in %.2f s" % (grown, elapsed)
        self.assert_ended_cleanly(code)

    # --- close ---------------------------------------------------------------

    def test_wm_close_from_another_process_ends_the_run(self):
        self.s.put_files(stand_in_files())
        run, _ = self.frame_after_start("before_wm_close", settle=0.5)
        code, _ = self.s.probe("close", RENDERER_CAPTION)
        assert code == 0, "WM_CLOSE could not be posted"
        self.assert_ended_cleanly(run.wait_for_exit())

    def test_other_keys_do_not_end_the_run(self):
        self.s.put_files(stand_in_files())
        run, _ = self.frame_after_start("before_other_keys", settle=0.3)
        for key in ("a", "space", "Return"):
            self.s.tap_key(key)
        time.sleep(0.3)
        alive = run.process.poll() is None
        code = run.end_with_escape()
        assert alive, "a key other than Esc ended the run"
        self.assert_ended_cleanly(code)

    # --- failures ------------------------------------------------------------

    def test_missing_model_ends_without_window(self):
        files = stand_in_files()
        del files[contract.kModelCopyName]
        self.assert_refused_without_window(files, "missing model")

    def test_invalid_model_ends_without_window(self):
        self.assert_refused_without_window(stand_in_files(model=b"MS3D000001" + wf.ms3d()[10:]), "invalid model")

    def test_both_pictures_missing_ends_and_restores_mode(self):
        self.s.put_files(stand_in_files(sky=None, ground=None))
        run = RendererRun(self.s)
        self.assert_ended_cleanly(run.wait_for_exit())

    # --- malformed -----------------------------------------------------------

    def test_malformed_models_are_refused(self):
        for name, data in wf.malformed_models():
            self.assert_refused_without_window(stand_in_files(model=data), "model " + name)

    def test_malformed_sky_pictures_are_reported_and_the_run_goes_on(self):
        for name, data, message in wf.malformed_bitmaps():
            files = stand_in_files()
            files[contract.kSkyPictureName] = data
            self.s.put_files(files)
            run = RendererRun(self.s)
            try:
                text = self.dismiss_message_box(run)
                assert text == message, "%s: message %r, expected %r" % (name, text, message)
                self.fly_and_end(run)
            finally:
                run.kill()

    def test_both_pictures_malformed_end_after_two_messages(self):
        files = stand_in_files()
        files[contract.kSkyPictureName] = wf.malformed_bitmaps()[1][1]
        files[contract.kDesktopPictureName] = wf.malformed_bitmaps()[3][1]
        self.s.put_files(files)
        run = RendererRun(self.s)
        try:
            first = self.dismiss_message_box(run, shot="error_message_box")
            second = self.dismiss_message_box(run)
            code = run.wait_for_exit()
        finally:
            run.kill()
        assert (first, second) == ("Unknown DIB file format.", "Image file conversion error."), (first, second)
        self.assert_ended_cleanly(code)

    def test_malformed_material_picture_is_reported_in_both_texture_passes(self):
        # The working folder's puff, the one absolute name a model may give.
        puff = contract.kRendererWorkingFolder + "\\" + contract.kPuffPictureName
        files = stand_in_files(model=wf.ms3d(texture=puff.encode()))
        files[contract.kPuffPictureName] = wf.malformed_bitmaps()[1][1]
        self.s.put_files(files)
        run = RendererRun(self.s)
        try:
            before_window = self.dismiss_message_box(run)  # the model's own pass, no context yet
            with_window = self.dismiss_message_box(run)    # the pass InitScene makes
            assert before_window == with_window == "Unknown DIB file format.", (before_window, with_window)
            self.fly_and_end(run)
        finally:
            run.kill()

    # --- untrusted -----------------------------------------------------------

    def fly_program(self, program, name, **options):
        """Starts a renderer of the check's own choosing, flies a moment and ends it with Esc; returns
        its process."""
        process = self.s.start_program(program, name=name, **options)
        run = RendererRun(self.s, process)
        try:
            self.fly_and_end(run)
        finally:
            run.kill()
        return process

    def test_network_texture_name_is_never_opened(self):
        self.s.put_files(stand_in_files(model=wf.ms3d(texture=b"\\\\127.0.0.1\\share\\x.bmp")))
        process = self.fly_program(os.path.join(self.s.bin_dir, "Skyliner.dll"), "renderer-file-trace",
                                   debug="-all,err+all,trace+file")
        with open(process.log, encoding="utf-8", errors="replace") as f:
            trace = f.read()
        # The trace does show the files the renderer opens, so a missing name means no attempt.
        assert contract.kModelCopyName in trace, "the file trace does not show the model being opened"
        assert "127.0.0.1" not in trace, "the texture's network path was opened: %s" % [
            line for line in trace.splitlines() if "127.0.0.1" in line][:3]

    def test_planted_opengl32_beside_the_renderer_is_not_loaded(self):
        self.s.put_files(stand_in_files())
        folder = tempfile.mkdtemp(prefix="planted-", dir=self.s.work)
        shutil.copy(os.path.join(self.s.bin_dir, "Skyliner.dll"), folder)
        shutil.copy(os.path.join(self.s.bin_dir, "planted", "opengl32.dll"), folder)
        # Native first, so Wine would take a DLL it finds in the program's folder.
        overrides = self.s.env["WINEDLLOVERRIDES"] + ";opengl32=n,b"
        try:
            self.fly_program(os.path.join(folder, "Skyliner.dll"), "renderer-planted",
                             environment={"WINEDLLOVERRIDES": overrides})
        finally:  # once loaded, the planted library refuses to load, and the renderer ends without a window
            loaded = os.path.exists(os.path.join(folder, "opengl32.dll.loaded"))
            assert not loaded, "the planted opengl32.dll was loaded"

    # --- bitmap_diff ---------------------------------------------------------

    def test_gdi_reader_matches_portable_decoder(self):
        self.run_google_test("bitmap_gdi_diff_test.exe")

    # --- frame_pacer ---------------------------------------------------------

    def test_frame_pacer(self):
        self.run_google_test("frame_pacer_test.exe")

    # --- thread_tasks --------------------------------------------------------

    def test_thread_tasks(self):
        self.run_google_test("thread_tasks_test.exe")

    # --- window --------------------------------------------------------------

    def test_window_procedure_and_teardown(self):
        self.run_google_test("renderer_window_test.exe")
        mode, where = self.s.state(RENDERER_CAPTION)
        assert (mode, where) == (self.s.initial_mode, "absent"), "left behind: mode %s, window %s" % (mode, where)


GROUPS = {
    "display": ["test_frame_shows_sky_ground_and_aircraft", "test_missing_sky_picture_gives_white_sphere",
                "test_shipped_files_frame", "test_published_frame_count_grows_at_the_frame_rate"],
    "close": ["test_wm_close_from_another_process_ends_the_run", "test_other_keys_do_not_end_the_run"],
    "failures": ["test_missing_model_ends_without_window", "test_invalid_model_ends_without_window",
                 "test_both_pictures_missing_ends_and_restores_mode"],
    "malformed": ["test_malformed_models_are_refused", "test_malformed_sky_pictures_are_reported_and_the_run_goes_on",
                  "test_both_pictures_malformed_end_after_two_messages",
                  "test_malformed_material_picture_is_reported_in_both_texture_passes"],
    "untrusted": ["test_network_texture_name_is_never_opened",
                  "test_planted_opengl32_beside_the_renderer_is_not_loaded"],
    "bitmap_diff": ["test_gdi_reader_matches_portable_decoder"],
    "frame_pacer": ["test_frame_pacer"],
    "thread_tasks": ["test_thread_tasks"],
    "window": ["test_window_procedure_and_teardown"],
}


def main():
    return run_groups(GROUPS, Checks, lambda session: "display %s, prefix %s, initial mode %s" % (
        session.env["DISPLAY"], session.env["WINEPREFIX"], session.initial_mode))


if __name__ == "__main__":
    sys.exit(main())
