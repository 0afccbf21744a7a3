#!/usr/bin/env python3
"""End-to-end checks of the settings dialog (Skyliner.scr /c) under Wine in
Xvfb, driven with xdotool like a user: where it opens, its owner, its looks
(compared with the program's own pictures), the music kinds, the display
way, the file chooser, and what Set and Cancel leave in Skyliner.ini. Screenshots of the
dialog go to --shots.

usage: dialog_e2e.py --bin WINDOWS_BIN --shots DIR --group GROUP
"""

import os
import shutil
import subprocess
import sys
import time

from check_groups import CheckSet, run_groups
from wine_session import ROOT, SETTINGS_FILE, ShellRun, settings_text, wait_until, write_settings
from working_files import Bitmap

CAPTION = "<Skyliner>"
SCREEN = (1280, 1024)
TWIPS_PER_PIXEL = 15
# Places in the dialog's client area, in pixels: the panel, then the elements inside it.
PANEL = (12, 16)
MARKS = [(28, 76), (28, 56), (28, 96)]  # Img_BGM(0..2)
KIND_CAPTIONS = [(44, 76), (44, 56), (44, 96)]  # lbl_BGM(0..2)
DISPLAY_MARKS = [(264, 56), (264, 76)]  # Img_Display(0..1)
DISPLAY_CAPTIONS = [(280, 56), (280, 76)]  # lbl_Display(0..1), left of them the frame around lbl(16)
FILE_NAME = (72, 116, 381, 33)  # lbl_Fname
REPEAT = (112, 52, 41, 20)  # BGM_Repeat
ADDRESS = (12, 208)  # lbl_URL
BUTTONS = {"Cmd_Set": (316, 200, 81, 25), "Cmd_Can": (400, 200, 81, 25), "Cmd_File": (28 + 12, 112 + 16, 41, 25)}
SKINS = {look: os.path.join(ROOT, "assets", "dialog", "button-%s.bmp" % look)
         for look in ("normal", "highlight", "pressed", "selected", "disable")}
MARK_PICTURES = {chosen: os.path.join(ROOT, "assets", "dialog", "mark-%s.bmp" % ("chosen" if chosen else "empty"))
                 for chosen in (False, True)}


def picture(path):
    with open(path, "rb") as f:
        return Bitmap(f.read())


def picture_pixels(path, x, y, w, h):
    bitmap = picture(path)
    return [bitmap.pixel(x + i, y + j) for j in range(h) for i in range(w)]


class Dialog:
    """One open settings dialog: its process, its client area on the screen, and the mouse on it."""

    def __init__(self, checks, args=("/c",), program_dir=None, language="ja"):
        self.s = checks.s
        self.run = checks.shell(*args, program_dir=program_dir, language=language)
        found = wait_until(lambda: self.client() or self.run.process.poll() is not None, 20)
        assert found and self.run.process.poll() is None, "no dialog \"%s\" (exit code %s)" % (
            CAPTION, self.run.process.poll())
        self.owner, self.x, self.y, self.width, self.height = self.settled_client()
        # The first paint: every music mark shows one of its two pictures.
        wait_until(lambda: self.marks_painted(self.screen()), 5, step=0.1)

    def settled_client(self):
        """The client area once the window has stopped moving: the form may be shown before its final place."""
        previous = self.client()
        for _ in range(40):
            time.sleep(0.25)
            current = self.client()
            if current == previous:
                break
            previous = current
        assert current, "the dialog closed as it opened"
        return current

    def screen(self):
        path = os.path.join(self.s.work, "screen.png")
        subprocess.run(["import", "-window", "root", path], env=self.s.env, check=True)
        return path

    def marks_painted(self, screen):
        pictures = [picture_pixels(path, 0, 0, 12, 12) for path in MARK_PICTURES.values()]
        return all(self.pixels(screen, PANEL[0] + x, PANEL[1] + y, 12, 12) in pictures
                   for x, y in MARKS + DISPLAY_MARKS)

    def client(self):
        line = self.s.probe("client", CAPTION)[1]
        return None if line in ("", "absent") else [int(v) for v in line.split()]

    def window_rect(self):
        return [int(v) for v in self.s.probe("window", CAPTION)[1].split()[:4]]

    def xdo(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.s.env, check=True)

    def move(self, x, y):
        self.xdo("mousemove", self.x + x, self.y + y)
        time.sleep(0.3)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdo("mousedown", button)
        time.sleep(0.15)
        self.xdo("mouseup", button)
        time.sleep(0.4)

    def click_button(self, name):
        x, y, w, h = BUTTONS[name]
        self.click(x + w // 2, y + h // 2)

    def shot(self, name):
        """The dialog with its frame, as shots/dialog-NAME.png; returns the path of the whole screen."""
        full = self.screen()
        left, top, width, height = self.window_rect()
        subprocess.run(["convert", full, "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
                        os.path.join(self.s.shots_dir, "dialog-%s.png" % name)], check=True)
        return full

    def pixels(self, screen, x, y, w, h):
        return self.s.pixels(screen, self.x + x, self.y + y, w, h)

    def assert_marks(self, screen, chosen, marks=MARKS):
        for kind, (x, y) in enumerate(marks):
            want = picture_pixels(MARK_PICTURES[kind == chosen], 0, 0, 12, 12)
            got = self.pixels(screen, PANEL[0] + x, PANEL[1] + y, 12, 12)
            assert got == want, "mark %d should be %s" % (kind, "chosen" if kind == chosen else "empty")

    def file_name_ink(self, screen):
        """How many dark pixels lbl_Fname shows inside its border."""
        x, y, w, h = FILE_NAME
        return sum(max(p) < 80 for p in self.pixels(screen, PANEL[0] + x + 2, PANEL[1] + y + 2, w - 4, h - 4))

    def look(self, screen, name):
        """Which skin the button's top-left corner shows (its 4 x 4 corner is the skin's, unscaled)."""
        x, y, _, _ = BUTTONS[name]
        corner = self.pixels(screen, x, y, 4, 4)
        for look, path in SKINS.items():
            if corner == picture_pixels(path, 0, 0, 4, 4):
                return look
        return "none of the skins: %s" % corner[:6]

    def wait_closed(self, timeout=10):
        return self.run.wait_for_exit(timeout)


class Checks(CheckSet):
    def shell(self, *args, program_dir=None, language="ja"):
        run = ShellRun(self.s, args=args, program_dir=program_dir, language=language)
        self.later(run.kill)
        return run

    def program(self, kind=None, repeat=0, music="", display=None):
        folder = self.s.program_copy()
        if kind is not None:
            write_settings(folder, kind, repeat, music, display)
        return folder

    def settings_bytes(self, folder):
        path = os.path.join(folder, SETTINGS_FILE)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def assert_stored(self, folder, kind, repeat, music="", display=0):
        """Skyliner.ini holds the four keys as Set writes them."""
        want, got = settings_text(kind, repeat, music, display), self.settings_bytes(folder)
        assert got == want, "Skyliner.ini:\n%r\nnot\n%r" % (got, want)

    # --- open ------------------------------------------------------------------

    def test_opens_centred_a_third_down(self):
        # From the folder the setup program installs to: its picture goes into the README.
        folder = self.s.setup_default_folder()
        shutil.rmtree(folder, ignore_errors=True)  # as the installer checks leave it
        self.later(lambda: shutil.rmtree(folder, ignore_errors=True))
        dialog = Dialog(self, program_dir=self.s.program_copy(into=folder))
        left, top, width, height = dialog.window_rect()
        want_left = (SCREEN[0] - width) * TWIPS_PER_PIXEL // 2 // TWIPS_PER_PIXEL
        want_top = (SCREEN[1] - height) * TWIPS_PER_PIXEL // 3 // TWIPS_PER_PIXEL
        assert (left, top) == (want_left, want_top), "at %d,%d (size %dx%d), not %d,%d" % (
            left, top, width, height, want_left, want_top)
        assert (dialog.width, dialog.height) == (492, 246), "client area %dx%d" % (dialog.width, dialog.height)
        screen = dialog.shot("opened")
        dialog.assert_marks(screen, 0)
        dialog.assert_marks(screen, 0, DISPLAY_MARKS)  # no settings file: the classic way
        assert dialog.look(screen, "Cmd_Set") == "normal", dialog.look(screen, "Cmd_Set")
        assert dialog.look(screen, "Cmd_File") == "disable", dialog.look(screen, "Cmd_File")
        # The background's sine gradient: dark blue at the top row, pale lavender half-way down.
        assert dialog.pixels(screen, 2, 0, 1, 1)[0] == (0, 0, 30), dialog.pixels(screen, 2, 0, 1, 1)
        assert dialog.pixels(screen, 2, 123, 1, 1)[0] == (220, 220, 250), dialog.pixels(screen, 2, 123, 1, 1)
        print("  window %d,%d %dx%d" % (left, top, width, height))

    def test_number_after_c_gives_no_owner(self):
        dialog = Dialog(self, args=("/c:1234",), program_dir=self.program())
        assert dialog.owner == 0, "owned by window %d" % dialog.owner
        tree = self.s.probe("tree", CAPTION)[1].split()
        assert tree and tree[-1] == "1", "not visible on its own: %s" % tree

    def test_address_opens_the_program_folder(self):
        folder = self.program()
        name = os.path.basename(folder)
        dialog = Dialog(self, program_dir=folder)
        # The long folder keeps to the label's designed width (its white text), clear of Set.
        width = BUTTONS["Cmd_Set"][0] - ADDRESS[0]
        row = dialog.pixels(dialog.shot("address"), ADDRESS[0], ADDRESS[1], width, 14)
        white = [i % width for i, p in enumerate(row) if p == (255, 255, 255)]
        assert white and max(white) < 3285 // TWIPS_PER_PIXEL, "the address reaches x=%d" % max(white, default=0)
        self.later(lambda: self.s.probe("close", name))
        dialog.click(ADDRESS[0] + 20, ADDRESS[1] + 6)
        assert wait_until(lambda: self.s.x_windows(name), 20), "no window for the folder %s opened" % name
        assert dialog.run.process.poll() is None, "the dialog closed"

    # --- kinds -------------------------------------------------------------------

    def test_each_kind_from_its_mark_and_its_caption(self):
        dialog = Dialog(self, program_dir=self.program())
        steps = [("mark", 1, 1, "disable"), ("caption", 2, 1, "normal"), ("caption", 0, 3, "disable"),
                 ("mark", 2, 3, "normal"), ("caption", 1, 1, "disable")]  # (what, kind, mouse button, Cmd_File)
        for what, kind, button, file_look in steps:
            x, y = (MARKS if what == "mark" else KIND_CAPTIONS)[kind]
            dialog.click(PANEL[0] + x + 4, PANEL[1] + y + 5, button)
            screen = dialog.shot("kind%d" % kind)
            dialog.assert_marks(screen, kind)
            assert dialog.look(screen, "Cmd_File") == file_look, "kind %d: Cmd_File %s" % (
                kind, dialog.look(screen, "Cmd_File"))

    # --- buttons -------------------------------------------------------------------

    def test_button_hover_pressed_and_drag_out(self):
        dialog = Dialog(self, program_dir=self.program())
        x, y, w, h = BUTTONS["Cmd_Can"]
        dialog.move(x + w // 2, y + h // 2)
        screen = dialog.shot("cancel-hover")
        assert dialog.look(screen, "Cmd_Can") == "highlight", dialog.look(screen, "Cmd_Can")
        dialog.xdo("mousedown", 1)
        time.sleep(0.4)
        screen = dialog.shot("cancel-pressed")
        assert dialog.look(screen, "Cmd_Can") == "pressed", dialog.look(screen, "Cmd_Can")
        dialog.move(200, 100)  # dragged out: released outside, no click
        time.sleep(0.3)
        dialog.xdo("mouseup", 1)
        time.sleep(0.5)
        assert dialog.run.process.poll() is None, "the release outside the button closed the dialog"
        screen = dialog.shot("cancel-after-drag")
        # The press gave it the focus; with the pointer outside it shows the focused look.
        assert dialog.look(screen, "Cmd_Can") == "selected", dialog.look(screen, "Cmd_Can")

    # --- storing -------------------------------------------------------------------

    def test_file_chosen_then_set_writes_the_four_keys(self):
        folder = self.program()
        music = os.path.join(self.s.work, "song.mp3")
        with open(music, "wb") as f:
            f.write(b"\xff\xfb\x90\x64" + b"\0" * 413)
        windows_music = self.s.windows_path(music)
        dialog = Dialog(self, program_dir=folder)
        dialog.click(PANEL[0] + KIND_CAPTIONS[2][0] + 10, PANEL[1] + KIND_CAPTIONS[2][1] + 5)  # "MP3、WAV"
        dialog.click_button("Cmd_File")
        chooser = wait_until(lambda: self.active_title() not in ("", CAPTION) and self.active_title(), 10)
        assert chooser, "no file chooser appeared"
        time.sleep(0.5)
        self.s.screenshot("dialog-chooser", 1280, 1024)
        dialog.xdo("type", "--delay", "20", windows_music)
        dialog.xdo("key", "Return")
        assert wait_until(lambda: self.active_title() == CAPTION, 10), "the chooser did not close"
        time.sleep(0.5)
        ink = dialog.file_name_ink(dialog.shot("file-chosen"))
        assert ink > 50, "lbl_Fname shows no text (%d dark pixels)" % ink
        dialog.click_button("Cmd_Set")
        assert dialog.wait_closed() is not None, "Set did not close the dialog"
        self.assert_stored(folder, 2, 0, windows_music)

    def test_cd_track_typed_then_set_is_stored_rounded_half_even(self):
        folder = self.program(kind=0, repeat=5)
        dialog = Dialog(self, program_dir=folder)
        dialog.click(PANEL[0] + KIND_CAPTIONS[1][0] + 10, PANEL[1] + KIND_CAPTIONS[1][1] + 5)  # "音楽CD"
        x, y, w, h = REPEAT
        dialog.click(PANEL[0] + x + w - 8, PANEL[1] + y + h // 2)  # the arrow: the 31 entries drop down
        dialog.shot("repeat-list")
        dialog.xdo("key", "Escape")
        time.sleep(0.3)
        dialog.click(PANEL[0] + x + 8, PANEL[1] + y + h // 2)
        dialog.xdo("key", "End", "BackSpace", "BackSpace", "BackSpace")
        dialog.xdo("type", "2.5")
        time.sleep(0.3)
        dialog.shot("repeat-typed")
        dialog.click_button("Cmd_Set")
        assert dialog.wait_closed() is not None, "Set did not close the dialog"
        self.assert_stored(folder, 1, 2)

    def test_cancel_and_the_frame_leave_the_file_untouched(self):
        folder = self.program(kind=1, repeat=5)
        before = self.settings_bytes(folder)
        path = os.path.join(folder, SETTINGS_FILE)
        stamp = os.stat(path).st_mtime_ns
        for how in ("Cmd_Can", "frame"):
            dialog = Dialog(self, program_dir=folder)
            dialog.click(PANEL[0] + MARKS[2][0] + 4, PANEL[1] + MARKS[2][1] + 5)
            dialog.click(PANEL[0] + DISPLAY_MARKS[1][0] + 4, PANEL[1] + DISPLAY_MARKS[1][1] + 5)
            if how == "frame":
                assert self.s.probe("close", CAPTION)[0] == 0
            else:
                dialog.click_button("Cmd_Can")
            assert dialog.wait_closed() is not None, "%s did not close the dialog" % how
            assert self.settings_bytes(folder) == before and os.stat(path).st_mtime_ns == stamp, (
                "%s changed Skyliner.ini" % how)

    def test_kind_two_with_an_existing_file_shows_it(self):
        music = os.path.join(self.s.work, "tune.wav")
        with open(music, "wb") as f:
            f.write(b"RIFF")
        dialog = Dialog(self, program_dir=self.program(kind=2, music=self.s.windows_path(music)))
        screen = dialog.shot("kind2-existing-file")
        dialog.assert_marks(screen, 2)
        assert dialog.look(screen, "Cmd_File") == "normal", dialog.look(screen, "Cmd_File")
        assert dialog.file_name_ink(screen) > 50, "lbl_Fname shows no text"

    # --- language ------------------------------------------------------------------

    def test_each_ui_language_shows_its_own_face(self):
        faces = {}
        for language, chooser_title, display in (("ja", "ﾌｧｲﾙを開く", 1), ("en", "Open File", 0)):
            dialog = Dialog(self, program_dir=self.program(kind=0, display=display), language=language)
            dialog.click(PANEL[0] + MARKS[2][0] + 4, PANEL[1] + MARKS[2][1] + 5)  # the file kind
            screen = dialog.shot("face-" + language)
            faces[language] = dialog.pixels(screen, PANEL[0] + 44, PANEL[1] + 56, 300, 140)
            # The display group: its heading framed, the file's way marked, each caption whole inside the panel.
            assert set(dialog.pixels(screen, PANEL[0] + 256, PANEL[1] + 20, 113, 1)) == {(0, 0, 0)}, language
            dialog.assert_marks(screen, display, DISPLAY_MARKS)
            rows = dialog.pixels(screen, PANEL[0] + 280, PANEL[1] + 56, 189, 33)
            ink = [i % 189 for i, p in enumerate(rows) if max(p) < 80]
            assert len(ink) > 100 and max(ink) < 180, "%s: the captions' ink reaches x=%d" % (language, max(ink))
            dialog.click_button("Cmd_File")
            assert wait_until(lambda: self.active_title() == chooser_title, 10), "%s: chooser %r" % (
                language, self.active_title())
            time.sleep(0.5)
            self.s.screenshot("dialog-chooser-" + language, 1280, 1024)
            self.s.end_process(dialog.run.process)
        assert faces["ja"] != faces["en"], "the captions look the same in both languages"

    # --- keys ----------------------------------------------------------------------

    def test_tab_order_and_the_keys_of_a_dialog(self):
        folder = self.program(kind=1, repeat="07")  # Set would write "7"
        path = os.path.join(folder, SETTINGS_FILE)
        before = os.stat(path).st_mtime_ns
        dialog = Dialog(self, program_dir=folder)
        dialog.click(250, 190)  # the dialog's own background: it takes the keys, no control the focus
        # BGM_Repeat first, the display rows (Cmd_File disabled), the buttons, round again, and back.
        for number, (key, focused) in enumerate((("Tab", []), ("Tab", []), ("Tab", ["Cmd_Set"]), ("Tab", ["Cmd_Can"]),
                                                 ("Tab", []), ("shift+Tab", ["Cmd_Can"]), ("shift+Tab", ["Cmd_Set"]))):
            dialog.xdo("key", key)
            time.sleep(0.4)
            screen = dialog.shot("keys-%d" % number)
            got = [name for name in BUTTONS if dialog.look(screen, name) == "selected"]
            assert got == focused, "after %s (step %d) focused: %s, not %s" % (key, number, got, focused)
        dialog.click(PANEL[0] + 420, PANEL[1] + 20)  # the metal panel takes the focus
        assert dialog.look(dialog.shot("keys-panel"), "Cmd_Set") == "normal", "Set still looks focused"
        for key, button, stores in (("Escape", None, False), ("space", "Cmd_Can", False), ("Return", "Cmd_Set", True)):
            dialog = dialog or Dialog(self, program_dir=folder)
            dialog.click(250, 190)
            for _ in range(6):  # Tab to the button
                if not button or dialog.look(dialog.shot("keys-" + key), button) == "selected":
                    break
                dialog.xdo("key", "Tab")
                time.sleep(0.4)
            dialog.xdo("key", key)
            assert dialog.wait_closed() is not None, "%s did not close the dialog" % key
            assert (os.stat(path).st_mtime_ns != before) == stores, "%s: Skyliner.ini written: %s" % (key, not stores)
            dialog = None

    def test_display_row_from_a_click_and_the_arrow_keys_then_set_writes_it(self):
        folder = self.program(kind=0)
        dialog = Dialog(self, program_dir=folder)
        dialog.click(PANEL[0] + DISPLAY_CAPTIONS[1][0] + 4, PANEL[1] + DISPLAY_CAPTIONS[1][1] + 5, 3)  # any button
        dialog.assert_marks(dialog.shot("display-clicked"), 1, DISPLAY_MARKS)
        frame_rows = [(PANEL[0] + x - 1, PANEL[1] + y - 1, 40, 1) for x, y in DISPLAY_CAPTIONS]  # above each caption
        unframed = [dialog.pixels(dialog.screen(), *row) for row in frame_rows]
        # The click gave the panel the focus; with no music its controls are disabled, so Tab gives the rows the
        # keys, the chosen one framed.
        for number, (key, row) in enumerate((("Tab", 1), ("Up", 0), ("Down", 1), ("Right", 0), ("Left", 1))):
            dialog.xdo("key", key)
            time.sleep(0.4)
            screen = dialog.shot("display-keys-%d" % number)
            dialog.assert_marks(screen, row, DISPLAY_MARKS)
            framed = [dialog.pixels(screen, *frame_rows[r]) != unframed[r] for r in (0, 1)]
            assert framed == [r == row for r in (0, 1)], "after %s: focus frames %s" % (key, framed)
        dialog.xdo("key", "Tab")
        time.sleep(0.4)
        assert dialog.look(dialog.shot("display-keys-set"), "Cmd_Set") == "selected", "Tab did not go on to Set"
        dialog.xdo("key", "Return")
        assert dialog.wait_closed() is not None, "Set did not close the dialog"
        self.assert_stored(folder, 0, 0, display=1)

    def active_title(self):
        """The name of the window with the input focus (there is no window manager to ask)."""
        result = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], env=self.s.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        return result.stdout.decode("utf-8", "replace").strip()


GROUPS = {
    "open": ["test_opens_centred_a_third_down", "test_number_after_c_gives_no_owner",
             "test_address_opens_the_program_folder"],
    "kinds": ["test_each_kind_from_its_mark_and_its_caption", "test_kind_two_with_an_existing_file_shows_it"],
    "buttons": ["test_button_hover_pressed_and_drag_out"],
    "language": ["test_each_ui_language_shows_its_own_face"],
    "keys": ["test_tab_order_and_the_keys_of_a_dialog",
             "test_display_row_from_a_click_and_the_arrow_keys_then_set_writes_it"],
    "store": ["test_file_chosen_then_set_writes_the_four_keys", "test_cd_track_typed_then_set_is_stored_rounded_half_even",
              "test_cancel_and_the_frame_leave_the_file_untouched"],
}


def main():
    return run_groups(GROUPS, Checks)


if __name__ == "__main__":
    sys.exit(main())
