#!/usr/bin/env python3
"""End-to-end checks of Skyliner.scr under Wine in Xvfb: the working files a
saver run writes (the mirrored desktop capture among them), each the user's
alone and gone when the run ends, a run stopped by a file it cannot replace,
the renderer it starts and follows to the end, the launch modes, the single-copy rule, the
missing-file messages, the music stopped when a run ends early, an MP3
started again in a live run once it has ended, and the preview embedded in
another process's window. Screenshots go to --shots.

usage: shell_e2e.py --bin WINDOWS_BIN --shots DIR --group GROUP
"""

import os
import re
import shutil
import sys
import time
import wave

import contract
import working_files as wf
from check_groups import CheckSet, run_groups
from wine_session import RENDERER_CAPTION, SettingsFile, ShellRun, wait_until

SAVER_FORM_CAPTION = "Jetscape_Main"
PREVIEW_CAPTION = "Preview Window"
MESSAGE_CAPTION = "Skyliner (ScreenSaver)"
MISSING_RENDERER = "Skyliner.dll が同じﾌｫﾙﾀﾞに見つかりません！"
MISSING_MODEL = "Skyliner.data が同じﾌｫﾙﾀﾞに見つかりません！"
DESKTOP = (1280, 1024)
WORKING_FILES = (contract.kDesktopPictureName, contract.kPuffPictureName, contract.kSkyPictureName,
                 contract.kModelCopyName)
PREVIEW_SIZE = (152, 112)


# --- Files -----------------------------------------------------------------------


def pattern_colour(x, y):
    """A colour of its own for every column and for every band of 16 rows."""
    return x, 255 - x, (y // 16) * 16


def pattern_bitmap(width=256, height=256):
    """A picture whose columns all differ, so that a mirror shows exactly where each one lands."""
    rows = [b"".join(bytes(pattern_colour(x, y)[::-1]) for x in range(width)) for y in reversed(range(height))]
    return wf.bmp24_rows(width, rows)


def mirror_faults(capture, pattern_width=256, pattern_height=256):
    """The pattern's pixels that are not at their mirrored place in the capture: column x of the
    desktop must be column W-1-x of the capture, pixel for pixel."""
    width = capture.width
    return [(x, y) for y in range(0, pattern_height, 5) for x in range(pattern_width)
            if capture.pixel(width - 1 - x, y) != pattern_colour(x, y)]


MP3_FRAME_SECONDS = 1152 / 44100


def silent_mp3(frames=100):
    """MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, MP3_FRAME_SECONDS each) of silence."""
    return (bytes([0xFF, 0xFB, 0x90, 0x64]) + b"\0" * 413) * frames


def write_silent_wav(path, seconds=1):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(8000)
        w.writeframes(b"\0\0" * 8000 * seconds)


class Checks(CheckSet):
    # --- helpers -------------------------------------------------------------

    def shell(self, *args, **options):
        run = ShellRun(self.s, args=args, **options)
        self.later(run.kill)
        return run

    def window_process(self, *args):
        process, line = self.s.probe_window(*args)
        self.later(lambda: self.s.end_process(process))
        return process, line

    def reset_kestrel(self):
        os.makedirs(self.s.kestrel, exist_ok=True)
        self.s.put_files({})

    def kestrel_file(self, name):
        path = os.path.join(self.s.kestrel, name)
        assert os.path.exists(path), "C:\\kestrel\\%s was not written" % name
        with open(path, "rb") as f:
            return f.read()

    def assert_user_only(self, name):
        """The file's descriptor, as the system reads it back, owns it to the user and lets in the user and
        SYSTEM (SY) alone. Wine keeps no descriptor: it answers from the file's Unix mode."""
        code, text = self.s.probe("security", "C:\\kestrel\\" + name)
        sddl, user = (text.splitlines() + ["", ""])[:2]
        allowed = sorted(re.findall(r"\(A;[^;]*;[^;]*;[^;]*;[^;]*;([^)]*)\)", sddl))
        assert code == 0 and sddl.startswith("O:%sD:" % user) and allowed == sorted([user, "SY"]), (name, text)
        return sddl

    def assert_exits_within(self, run, seconds, what):
        code = run.wait_for_exit(seconds + 5)
        took = time.monotonic() - run.started
        assert code is not None, "%s: the shell still runs after %.1f s" % (what, took)
        assert took <= seconds, "%s: the shell took %.2f s to end (limit %.1f s)" % (what, took, seconds)
        return took

    def end_with_escape(self, run):
        """Esc to the renderer; returns (its window's end after Esc, the shell's end after that) in
        seconds. A key that arrives while the renderer still loads its pictures can be missed there
        (down and up seen together), so Esc is pressed again, with a note, if the renderer goes on."""
        assert run.wait_for_focus(), "the renderer's window never got the input focus"
        time.sleep(0.5)  # past the texture loading
        for attempt in range(3):
            pressed = time.monotonic()
            self.s.tap_key("Escape")
            if wait_until(lambda: not self.s.x_windows(RENDERER_CAPTION), 4):
                break
            print("  (the renderer went on after Esc; pressing it again)")
        else:
            raise AssertionError("the renderer did not end after three presses of Esc")
        window_end = time.monotonic()
        assert wait_until(lambda: not run.renderer_processes(), 5), "the renderer's process outlived its window"
        assert run.wait_for_exit(5) is not None, "the shell still runs 5 s after the renderer ended"
        return window_end - pressed, time.monotonic() - window_end

    def run_saver_to_escape(self, *args):
        self.reset_kestrel()
        run = self.shell(*args)
        assert run.wait_for_renderer_window(), "%s: no window \"%s\" (shell exit code %s)" % (
            " ".join(args) or "no argument", RENDERER_CAPTION, run.process.poll())
        window_after = time.monotonic() - run.started
        time.sleep(0.3)
        renderer_took, shell_lag = self.end_with_escape(run)
        assert shell_lag <= 1.0, "the shell ended %.2f s after the renderer" % shell_lag
        print("  %-12s window after %.1f s; it closed %.2f s after Esc, the shell ended %.2f s after that" % (
            " ".join(args) or "(none)", window_after, renderer_took, shell_lag))

    def wait_for_message_box(self, run, timeout=15):
        found = wait_until(lambda: self.s.x_windows(MESSAGE_CAPTION) or run.process.poll() is not None, timeout)
        assert found and run.process.poll() is None, "no message box \"%s\" (exit code %s)" % (
            MESSAGE_CAPTION, run.process.poll())

    def dismiss_message_box(self):
        code, text = self.s.dismiss(MESSAGE_CAPTION)
        assert code == 0, "the message box could not be found from another process"
        return text

    def host(self, width, height):
        """A probe window to hold a preview; returns (its process, its handle as text)."""
        process, handle = self.window_process("host", str(width), str(height))
        assert handle.isdigit(), "host printed %r" % handle
        return process, handle

    def preview_tree(self):
        return self.s.probe("tree", PREVIEW_CAPTION)[1]

    # --- files ---------------------------------------------------------------

    def test_saver_writes_the_working_files_and_follows_the_renderer(self):
        self.s.put_files({name: b"an earlier run's" for name in WORKING_FILES})  # readable by all: replaced
        pattern = os.path.join(self.s.work, "pattern.bmp")
        with open(pattern, "wb") as f:
            f.write(pattern_bitmap())
        picture, _ = self.window_process("picture", self.s.windows_path(pattern))
        time.sleep(0.3)
        self.s.screenshot("desktop_with_pattern", *DESKTOP)
        run = self.shell("/s")
        assert run.wait_for_renderer_window(), "no window \"%s\" (shell exit code %s)" % (
            RENDERER_CAPTION, run.process.poll())
        window_after = time.monotonic() - run.started
        self.s.end_process(picture)
        run.wait_for_focus()
        time.sleep(1.0)  # a few frames
        self.s.screenshot("saver_running")

        ground = wf.Bitmap(self.kestrel_file(contract.kDesktopPictureName))
        ground.assert_plain(*DESKTOP)
        faults = mirror_faults(ground)
        assert not faults, "%d pattern pixels are not mirrored exactly, the first at %s: %s" % (
            len(faults), faults[0], ground.pixel(DESKTOP[0] - 1 - faults[0][0], faults[0][1]))
        wf.Bitmap(self.kestrel_file(contract.kPuffPictureName)).assert_plain(32, 32)
        wf.Bitmap(self.kestrel_file(contract.kSkyPictureName)).assert_plain(512, 512)
        with open(os.path.join(run.program_dir, "Skyliner.data"), "rb") as f:
            assert self.kestrel_file(contract.kModelCopyName) == f.read(), "Jetscape.data is not a copy of Skyliner.data"
        print("  the working files' descriptors: %s" % sorted({self.assert_user_only(n) for n in WORKING_FILES}))

        renderer_took, shell_lag = self.end_with_escape(run)
        assert os.path.isdir(self.s.kestrel) and not os.listdir(self.s.kestrel), "left after the run: %s" % (
            os.listdir(self.s.kestrel))
        print("  window after %.1f s; it closed %.2f s after Esc, the shell ended %.2f s after that" % (
            window_after, renderer_took, shell_lag))
        assert shell_lag <= 1.0, "the shell ended %.2f s after the renderer" % shell_lag

    def test_ground_picture_that_cannot_be_replaced_stops_the_run(self):
        self.reset_kestrel()
        self.later(self.reset_kestrel)
        self.s.put_files({contract.kDesktopPictureName: b"left behind"})
        os.chmod(os.path.join(self.s.kestrel, contract.kDesktopPictureName), 0o444)  # read-only under Wine
        run = self.shell("/s")
        took = self.assert_exits_within(run, 5, "a read-only Jetscape1.bmp")
        assert not self.s.x_windows(RENDERER_CAPTION), "a renderer window appeared"
        assert wait_until(lambda: not run.renderer_processes(), 3), "a renderer process is left"
        assert os.listdir(self.s.kestrel) == [contract.kDesktopPictureName], os.listdir(self.s.kestrel)
        assert self.kestrel_file(contract.kDesktopPictureName) == b"left behind", "the picture was written over"
        print("  the shell ended after %.2f s without a renderer" % took)

    # --- modes ---------------------------------------------------------------

    def test_upper_case_s_dash_s_and_no_argument_start_the_saver(self):
        for args in (("/S",), ("-s",), ()):
            self.run_saver_to_escape(*args)

    def test_other_letter_makes_the_working_folder_and_ends(self):
        shutil.rmtree(self.s.kestrel, ignore_errors=True)
        self.later(self.reset_kestrel)
        run = self.shell("/a", "1234")
        took = self.assert_exits_within(run, 5, "/a 1234")
        assert os.path.isdir(self.s.kestrel), "C:\\kestrel was not created"
        assert not self.s.x_windows(RENDERER_CAPTION) and not run.renderer_processes(), "a renderer started"
        print("  /a 1234 ended after %.2f s" % took)

    # --- cursor --------------------------------------------------------------

    def test_saver_hides_the_cursor_and_gives_it_back(self):
        for args, hides in ((("/s",), True), ((), False)):
            self.reset_kestrel()
            run = self.shell(*args, trace_cursor=True)
            assert run.wait_for_renderer_window(), "no renderer window"
            self.end_with_escape(run)
            calls = run.cursor_calls()
            print("  %-6s the shell's ShowCursor calls (flag, count): %s" % (" ".join(args) or "(none)", calls))
            if hides:
                assert len(calls) == 2 and calls[0] == (0, -1), "the cursor was not hidden once: %s" % calls
                assert calls[1][0] != 0 and calls[1][1] == 0, "the cursor was not given back: %s" % calls
            else:
                assert calls == [], "the cursor was touched without /s: %s" % calls

    # --- single --------------------------------------------------------------

    def test_second_start_while_the_saver_runs_ends_at_once(self):
        self.reset_kestrel()
        _, handle = self.host(*PREVIEW_SIZE)  # first: a window made later would take the keys
        first = self.shell("/s")
        assert first.wait_for_renderer_window(), "the first saver's renderer did not appear"
        renderers = first.renderer_processes()
        for args in (("/s",), ("/p", handle)):
            second = self.shell(*args)
            took = self.assert_exits_within(second, 3, "second start with %s" % " ".join(args))
            print("  second start with %s ended after %.2f s" % (" ".join(args), took))
            assert self.preview_tree() == "absent", "a preview window appeared"
            assert len(self.s.x_windows(RENDERER_CAPTION)) == 1, "a second renderer window appeared"
            assert first.renderer_processes() == renderers, "renderer processes: %s, before: %s" % (
                first.renderer_processes(), renderers)
        self.end_with_escape(first)

    # --- missing -------------------------------------------------------------

    def missing_files_message(self, without, args=("/s",), language="ja"):
        """Starts a copy of the program folder that lacks files; returns the texts of the message boxes
        in order, after the last of which the shell must end."""
        self.reset_kestrel()
        folder = self.s.program_copy(without=without)
        run = self.shell(*args, program_dir=folder, language=language)
        self.wait_for_message_box(run)
        self.s.screenshot_showing("message_%s_without_%s" % (language, "_and_".join(without)), *DESKTOP)
        texts = []
        # Another box may follow; the shell must end instead.
        while len(texts) < 3:
            texts.append(self.dismiss_message_box())
            ended = lambda: run.process.poll() is not None  # noqa: E731
            wait_until(lambda: ended() or not self.s.x_windows(MESSAGE_CAPTION), 5)
            if not wait_until(lambda: ended() or self.s.x_windows(MESSAGE_CAPTION), 5) or ended():
                break
        assert run.wait_for_exit(3) is not None, "the shell still runs after its message"
        assert not run.renderer_processes(), "a renderer started"
        return texts

    def test_missing_files_show_their_message(self):
        """The renderer's message when both are missing; in the user's language; for another letter too."""
        for without, args, language, message in (
                (("Skyliner.dll",), ("/s",), "ja", MISSING_RENDERER),
                (("Skyliner.data",), ("/s",), "ja", MISSING_MODEL),
                (("Skyliner.dll", "Skyliner.data"), ("/s",), "ja", MISSING_RENDERER),
                (("Skyliner.data",), ("/s",), "en", "Skyliner.data was not found in the same folder!"),
                (("Skyliner.dll",), ("/a", "1234"), "ja", MISSING_RENDERER)):
            texts = self.missing_files_message(without, args, language)
            assert texts == [message], "without %s, %s, %s: messages %r" % (without, args, language, texts)

    # --- music ---------------------------------------------------------------

    def run_refused_model_with_music(self, music_name, write_music):
        """A saver run whose renderer refuses the model, with music of kind 2; returns the music calls."""
        self.reset_kestrel()
        music = os.path.join(self.s.work, music_name)
        write_music(music)
        folder = self.s.program_copy(replace={"Skyliner.data": dict(wf.malformed_models())["wrong_magic"]})
        with SettingsFile(folder, kind=2, music=self.s.windows_path(music)):
            run = self.shell("/s", trace_mci=True, program_dir=folder)
            took = self.assert_exits_within(run, 2.5, "refused model")
        assert not self.s.x_windows(RENDERER_CAPTION), "a renderer window is left"
        calls = run.mci_calls()
        print("  the shell ended after %.2f s; music calls: %s" % (took, calls))
        return self.s.windows_path(music), calls

    def test_refused_model_ends_the_run_and_closes_the_mp3(self):
        path, calls = self.run_refused_model_with_music("quiet song.mp3", lambda p: open(p, "wb").write(silent_mp3()))
        mp3 = [c for c in calls if "MP3Play" in c]
        opened = 'open "%s" type MPEGVideo Alias MP3Play' % path
        assert mp3[:2] == [opened, "play MP3Play"], "the MP3 was not opened and played first: %r" % mp3
        assert mp3[-2:] == ["stop MP3Play", "close MP3Play"], "the MP3 was not stopped and closed last: %r" % mp3

    def test_refused_model_ends_the_run_and_stops_the_wav(self):
        path, calls = self.run_refused_model_with_music("quiet.Wav", write_silent_wav)
        sounds = [c for c in calls if c.startswith("PlaySound")]
        assert sounds == ["PlaySound %s flags=9" % path, "PlaySound NULL flags=0"], "PlaySound calls: %r" % sounds
        assert not [c for c in calls if "MP3Play" in c], "MP3 commands for a WAV: %r" % calls

    def test_live_run_restarts_the_mp3_once_it_has_ended(self):
        """A 2.5 s MP3 in a run of about 6 s: the one-second check finds it playing at first, then ended,
        and starts it again from its beginning; a check while it plays restarts nothing."""
        self.reset_kestrel()
        music = os.path.join(self.s.work, "short song.mp3")
        with open(music, "wb") as f:
            f.write(silent_mp3(frames=round(2.5 / MP3_FRAME_SECONDS)))
        folder = self.s.program_copy()
        with SettingsFile(folder, kind=2, music=self.s.windows_path(music)):
            run = self.shell("/s", trace_mci=True, program_dir=folder)
            assert run.wait_for_renderer_window(), "no renderer window"
            time.sleep(max(0.0, 6.0 - (time.monotonic() - run.started)))
            self.end_with_escape(run)
        calls = [c for c in run.mci_calls() if "MP3Play" in c]
        checks = [i for i, c in enumerate(calls) if c == "status MP3Play mode"]
        restarts = [i for i, c in enumerate(calls) if c == "play MP3Play from 0"]
        print("  %d checks, restarts after checks %s; calls: %s" % (
            len(checks), [checks.index(i - 2) + 1 for i in restarts if i - 2 in checks], calls))
        assert calls[:2] == ['open "%s" type MPEGVideo Alias MP3Play' % self.s.windows_path(music),
                             "play MP3Play"], "the MP3 was not opened and played first: %r" % calls[:2]
        assert calls[-2:] == ["stop MP3Play", "close MP3Play"], "not stopped and closed last: %r" % calls[-2:]
        assert len(checks) >= 4, "only %d checks in a run of 6 s" % len(checks)
        assert calls[checks[0] + 1] == "status MP3Play mode", "the first check restarted a playing MP3: %r" % calls
        assert restarts, "the ended MP3 was never started again: %r" % calls
        assert all(calls[i - 2:i] == ["status MP3Play mode", "stop MP3Play"] for i in restarts), (
            "a restart that is not a check's stop and play: %r" % calls)
        assert len(restarts) < len(checks) - 1, "every check restarted the MP3: it never played: %r" % calls

    # --- preview -------------------------------------------------------------

    def test_preview_is_a_child_of_the_given_window(self):
        for form in ("/p {}", "/P:{}"):
            host, handle = self.host(*PREVIEW_SIZE)
            args = form.format(handle).split(" ")
            run = self.shell(*args)
            expected = "%s 0 0 %d %d 1" % (handle, *PREVIEW_SIZE)
            seen = wait_until(lambda: self.preview_tree() == expected and expected, 10)
            assert seen, "%s: preview window: %r, expected %r (shell exit code %s)" % (
                " ".join(args), self.preview_tree(), expected, run.process.poll())
            self.s.screenshot("preview_in_host", *DESKTOP)
            code, _ = self.s.probe("close", "wine_probe host")
            assert code == 0, "the host window could not be closed"
            closed = time.monotonic()
            assert run.wait_for_exit(5) is not None, "%s: the preview still runs 5 s after its window closed" % (
                " ".join(args))
            took = time.monotonic() - closed
            print("  %s: the preview ended %.2f s after its host closed" % (" ".join(args), took))
            assert took <= 2.0, "the preview took %.2f s to end" % took
            self.s.end_process(host)

    def test_preview_without_a_usable_window_ends(self):
        _, stale = self.host(*PREVIEW_SIZE)
        self.s.probe("close", "wine_probe host")
        assert wait_until(lambda: self.s.probe("window", "wine_probe host")[1] == "absent", 5), "host not closed"
        for handle in ("0", stale):
            run = self.shell("/p", handle)
            took = self.assert_exits_within(run, 3, "/p %s" % handle)
            print("  /p %s ended after %.2f s" % (handle, took))

    def test_preview_needs_no_program_files(self):
        shutil.rmtree(self.s.kestrel, ignore_errors=True)
        self.later(self.reset_kestrel)
        folder = self.s.program_copy(without=("Skyliner.dll", "Skyliner.data"))
        _, handle = self.host(*PREVIEW_SIZE)
        run = self.shell("/p", handle, program_dir=folder)
        expected = "%s 0 0 %d %d 1" % (handle, *PREVIEW_SIZE)
        assert wait_until(lambda: self.preview_tree() == expected, 10), "preview window: %r (exit code %s)" % (
            self.preview_tree(), run.process.poll())
        assert not self.s.x_windows(MESSAGE_CAPTION), "a message box appeared"
        assert not os.path.exists(self.s.kestrel), "the preview created C:\\kestrel"

    # --- win32 ---------------------------------------------------------------

    def test_saver_win32(self):
        self.run_google_test("saver_win32_test.exe")

    def test_narrowing_under_each_ansi_code_page(self):
        for language, code_page in (("ja", 932), ("en", 1252), ("utf8", 65001)):
            output = self.run_google_test("saver_win32_test.exe", "--gtest_filter=NarrowToAnsi*", language=language)
            assert "ANSI code page %d\n" % code_page in output, "%s: not code page %d" % (language, code_page)

    def test_saver_forms(self):
        self.run_google_test("saver_forms_test.exe")

    def test_command_button(self):
        self.run_google_test("command_button_test.exe")


GROUPS = {
    "files": ["test_saver_writes_the_working_files_and_follows_the_renderer",
              "test_ground_picture_that_cannot_be_replaced_stops_the_run"],
    "modes": ["test_upper_case_s_dash_s_and_no_argument_start_the_saver",
              "test_other_letter_makes_the_working_folder_and_ends"],
    "cursor": ["test_saver_hides_the_cursor_and_gives_it_back"],
    "single": ["test_second_start_while_the_saver_runs_ends_at_once"],
    "missing": ["test_missing_files_show_their_message"],
    "music": ["test_refused_model_ends_the_run_and_closes_the_mp3",
              "test_refused_model_ends_the_run_and_stops_the_wav", "test_live_run_restarts_the_mp3_once_it_has_ended"],
    "preview": ["test_preview_is_a_child_of_the_given_window", "test_preview_without_a_usable_window_ends",
                "test_preview_needs_no_program_files"],
    "win32": ["test_saver_win32", "test_saver_forms", "test_command_button",
              "test_narrowing_under_each_ansi_code_page"],
}


def main():
    return run_groups(GROUPS, Checks, lambda session: "display %s, prefix %s, program folder %s" % (
        session.env["DISPLAY"], session.env["WINEPREFIX"], session.dist_dir))


if __name__ == "__main__":
    sys.exit(main())
